#include "file_steps.h"
#include "part_library.h"

#include "fixtures.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

namespace lapwerk {
namespace {

/// Loads `text` as a parts.def file.
class LibraryFile {
public:
    explicit LibraryFile(const std::string& text) {
        path_ = dir_.File("parts.def");
        test::WriteBytes(path_, text);
        LoadPartLibrary(*library_, path_.c_str());
    }
    const PartLibrary& operator*() const { return *library_; }
    const PartLibrary* operator->() const { return library_.get(); }

private:
    test::TempDir dir_;
    std::string path_;
    std::unique_ptr<PartLibrary> library_ = std::make_unique<PartLibrary>();
};

/// The nine lines of one Part.
std::string PartLines(const std::string& number, const std::string& kind = "1",
                      const std::string& width = "2", const std::string& length = "9",
                      const std::string& arc = "0", const std::string& radius = "0",
                      const std::string& lane1 = "0", const std::string& lane2 = "0") {
    return number + "\nname of " + number + "\n" + kind + "\n" + width + "\n" + length + "\n" +
           arc + "\n" + radius + "\n" + lane1 + "\n" + lane2 + "\n";
}

// ---------------------------------------------------------------- conversions

struct ConversionCase {
    const char* name;
    const char* unitLine;
    const char* value; ///< the text of the width line
    int32_t units;
};

class LengthConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(LengthConversionTest, ConvertsToModelUnits) {
    const ConversionCase& c = GetParam();
    LibraryFile library(std::string(c.unitLine) + "\n" + PartLines("P1", "1", c.value));
    ASSERT_EQ(library->count, 1);
    EXPECT_EQ(library->parts[0].width, c.units);
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Values, LengthConversionTest,
    ::testing::Values(ConversionCase{"metric_63_5mm", "METRIC", "63.5", 640},
                      ConversionCase{"metric_one_inch", "METRIC", "25.4", 256},
                      ConversionCase{"metric_254mm", "METRIC", "254", 2560},
                      ConversionCase{"metric_followed_by_text", "METRICS", "25.4", 256},
                      ConversionCase{"lower_case_is_inches", "metric", "25.4", 6502},
                      ConversionCase{"empty_unit_line_is_inches", "", "1", 256},
                      ConversionCase{"inch_nine", "INCH", "9", 2304},
                      ConversionCase{"inch_negative", "INCH", "-1.5", -384},
                      ConversionCase{"negative_truncates_toward_zero", "INCH", "-0.0039", 0},
                      ConversionCase{"inch_fraction_truncates", "INCH", "0.0039", 0},
                      ConversionCase{"trailing_blanks", "INCH", "2.5  ", 640},
                      ConversionCase{"saturates_high", "INCH", "1e10", kMax},
                      ConversionCase{"saturates_low", "METRIC", "-1e300", kMin},
                      ConversionCase{"beyond_long_double", "INCH", "1e99999", kMax}),
    [](const auto& row) { return std::string(row.param.name); });

struct ArcCase {
    const char* name;
    const char* unitLine;
    const char* degrees;
    int32_t quarterDegrees;
};

class ArcConversionTest : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcConversionTest, ConvertsDegreesWithoutScale) {
    const ArcCase& c = GetParam();
    LibraryFile library(std::string(c.unitLine) + "\n" +
                        PartLines("C1", "2", "2", "0", c.degrees, "10", "5", "6"));
    ASSERT_EQ(library->count, 1);
    EXPECT_EQ(library->parts[0].arc, c.quarterDegrees);
}

INSTANTIATE_TEST_SUITE_P(Values, ArcConversionTest,
                         ::testing::Values(ArcCase{"quarter_eighth", "METRIC", "22.5", 90},
                                           ArcCase{"forty_five", "INCH", "45", 180},
                                           ArcCase{"truncated", "INCH", "22.6", 90},
                                           ArcCase{"negative", "INCH", "-30.1", -120},
                                           ArcCase{"full_turn_stored", "INCH", "360", 1440},
                                           ArcCase{"saturates", "INCH", "1e12", kMax}),
                         [](const auto& row) { return std::string(row.param.name); });

struct KindCase {
    const char* name;
    const char* text;
    int32_t kind;
};

class KindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(KindTest, ReadsADecimalInteger) {
    LibraryFile library("METRIC\n" + PartLines("K", GetParam().text));
    ASSERT_EQ(library->count, 1);
    EXPECT_EQ(library->parts[0].kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Texts, KindTest,
                         ::testing::Values(KindCase{"empty_line", "", 0}, KindCase{"plain", "7", 7},
                                           KindCase{"saturates", "99999999999", kMax}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------- file structure

TEST(LoadPartLibrary, ReadsEveryFieldOfAStraightAndACurve) {
    LibraryFile library("# parts\nMETRIC\n" + PartLines("S1", "1", "63.5", "254") +
                        PartLines("C1", "2", "63.5", "0", "45", "254", "200", "150"));
    ASSERT_EQ(library->count, 2);
    const Part& straight = library->parts[0];
    EXPECT_STREQ(straight.number, "S1");
    EXPECT_STREQ(straight.name, "name of S1");
    EXPECT_EQ(straight.kind, 1);
    EXPECT_EQ(straight.width, 640);
    EXPECT_EQ(straight.length, 2560);
    const Part& curve = library->parts[1];
    EXPECT_EQ(curve.kind, 2);
    EXPECT_EQ(curve.arc, 180);
    EXPECT_EQ(curve.radius, 2560);
    EXPECT_EQ(curve.laneLength1, 2015); // 200 mm = 2015.7 units
    EXPECT_EQ(curve.laneLength2, 1511); // 150 mm = 1511.8 units
}

TEST(LoadPartLibrary, SkipsCommentsBetweenTheLinesOfAPart) {
    LibraryFile library("METRIC\nP1\nname\n# the kind follows\n#\n2\n10\n0\n# arc\n45\n5\n6\n7\n");
    ASSERT_EQ(library->count, 1);
    EXPECT_STREQ(library->parts[0].name, "name");
    EXPECT_EQ(library->parts[0].kind, 2);
    EXPECT_EQ(library->parts[0].arc, 180);
}

TEST(LoadPartLibrary, KeepsTrailingBlanksOfTheNumber) {
    LibraryFile library("METRIC\n" + PartLines("C151 "));
    ASSERT_EQ(library->count, 1);
    EXPECT_STREQ(library->parts[0].number, "C151 ");
    EXPECT_EQ(FindPartByNumber(*library, "C151"), -1);
    EXPECT_EQ(FindPartByNumber(*library, "C151 "), 0);
}

TEST(LoadPartLibrary, DropsALastLineWithoutLineBreakAndItsPart) {
    std::string text = "METRIC\n" + PartLines("A") + PartLines("B");
    text.pop_back();
    LibraryFile library(text);
    EXPECT_EQ(library->count, 1);
    EXPECT_STREQ(library->parts[0].number, "A");
}

TEST(LoadPartLibrary, DoesNotCountAPartCutOffByTheEnd) {
    LibraryFile library("METRIC\n" + PartLines("A") + "B\nname\n1\n");
    EXPECT_EQ(library->count, 1);
    EXPECT_STREQ(library->parts[1].number, "");
}

TEST(LoadPartLibrary, UnitLineIsNeverAPartNumber) {
    LibraryFile library("P0\n" + PartLines("P1"));
    ASSERT_EQ(library->count, 1);
    EXPECT_STREQ(library->parts[0].number, "P1");
    EXPECT_EQ(library->parts[0].width, 512); // inches
}

TEST(LoadPartLibrary, LongPhysicalLineShiftsTheValues) {
    // A 79-character name is read as the name and an empty kind line.
    const std::string name(79, 'n');
    LibraryFile library("INCH\nP1\n" + name + "\n3\n1\n0\n0\n0\n0\n9\n");
    ASSERT_EQ(library->count, 1);
    EXPECT_EQ(std::string(library->parts[0].name), std::string(39, 'n'));
    EXPECT_EQ(library->parts[0].kind, 0);
    EXPECT_EQ(library->parts[0].width, 3 * 256);
}

TEST(LoadPartLibrary, TruncatesLongNumbersAndNames) {
    const std::string number(20, '7');
    const std::string name(60, 'x');
    LibraryFile library("INCH\n" + number + "\n" + name + "\n1\n1\n1\n0\n0\n0\n0\n");
    ASSERT_EQ(library->count, 1);
    EXPECT_EQ(std::string(library->parts[0].number), std::string(15, '7'));
    EXPECT_EQ(std::string(library->parts[0].name), std::string(39, 'x'));
}

TEST(LoadPartLibrary, IgnoresPartsAfterTheTwoHundredFiftySixth) {
    std::string text = "METRIC\n";
    for (int i = 0; i < 260; ++i) {
        text += PartLines("N" + std::to_string(i));
    }
    LibraryFile library(text);
    EXPECT_EQ(library->count, kMaxParts);
    EXPECT_STREQ(library->parts[255].number, "N255");
    EXPECT_EQ(FindPartByNumber(*library, "N256"), -1);
}

TEST(LoadPartLibrary, MissingFileLeavesItEmptyAndRecordsThePath) {
    auto library = std::make_unique<PartLibrary>();
    library->count = 5;
    test::TempDir dir;
    LoadPartLibrary(*library, dir.File("none").c_str());
    EXPECT_EQ(library->count, 0);
    EXPECT_EQ(std::string(library->fileName), dir.File("none").substr(0, 39));
}

// ---------------------------------------------------------------- lookup

TEST(FindPartByNumber, ReturnsTheFirstOfDuplicatesAndIsExact) {
    LibraryFile library("METRIC\n" + PartLines("C151") + PartLines("c151") + PartLines("C151"));
    ASSERT_EQ(library->count, 3);
    EXPECT_EQ(FindPartByNumber(*library, "C151"), 0);
    EXPECT_EQ(FindPartByNumber(*library, "c151"), 1);
    EXPECT_EQ(FindPartByNumber(*library, "C15"), -1);
    EXPECT_EQ(FindPartByNumber(*library, "C1511"), -1);
    EXPECT_EQ(FindPartByNumber(*library, ""), -1);
    EXPECT_EQ(FindPartByNumber(*library, nullptr), -1);
}

TEST(IsCurveKind, OnlyTwoSixAndSeven) {
    for (int kind = -1; kind <= 13; ++kind) {
        EXPECT_EQ(IsCurveKind(kind), kind == 2 || kind == 6 || kind == 7) << "kind " << kind;
    }
}

// Parts of one shape lay and run alike: a decorated straight is a plain one, a border curve a
// plain curve, but a lane change is never a straight, and any other measure tells them apart.
TEST(SameShape, KindClassAndEveryMeasure) {
    const Part straight{"S", "Straight", kKindStraight, 1536, 3072, 0, 0, 0, 0};
    const Part curve{"C", "Curve", kKindCurve, 1536, 0, 360, 3840, 5429, 4222};
    auto with = [](Part part, int32_t Part::*field, int32_t value) {
        part.*field = value;
        return part;
    };
    const std::tuple<const char*, Part, Part, bool> rows[] = {
        {"decorated straight", straight, with(straight, &Part::kind, 5), true},
        {"border curve", curve, with(curve, &Part::kind, kKindBorderCurve), true},
        {"lane change", straight, with(straight, &Part::kind, kKindLaneChange), false},
        {"straight and curve", straight, with(straight, &Part::kind, kKindCurve), false},
        {"width", straight, with(straight, &Part::width, 1500), false},
        {"length", straight, with(straight, &Part::length, 3073), false},
        {"radius", curve, with(curve, &Part::radius, 3841), false},
        {"arc", curve, with(curve, &Part::arc, 180), false},
        {"lane 1", curve, with(curve, &Part::laneLength1, 5430), false},
        {"lane 2", curve, with(curve, &Part::laneLength2, 4221), false},
    };
    for (const auto& [name, a, b, same] : rows) {
        EXPECT_EQ(SameShape(a, b), same) << name;
        EXPECT_EQ(SameShape(b, a), same) << name;
    }
}

} // namespace
} // namespace lapwerk
