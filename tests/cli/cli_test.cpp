// Runs the built lapwerk-cli as a user does and compares what it prints and writes byte for
// byte. The tiny design's numbers were worked out by hand from the fixed-point rules.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

const QString kCli = QStringLiteral(LAPWERK_CLI);
const QString kData = QStringLiteral(LAPWERK_TEST_DATA "/cli");
const QString kExamples = QStringLiteral(LAPWERK_EXAMPLES);

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs `program` in `workingDirectory` with the user folders (XDG_DATA_HOME, XDG_CONFIG_HOME)
/// inside `userFolders`: empty ones, no library chosen and no user copy, unless given.
Result RunProgram(const QString& program, const QStringList& arguments,
                  const QString& workingDirectory, const QString& userFolders = {}) {
    QTemporaryDir freshFolders;
    const QDir home(userFolders.isEmpty() ? freshFolders.path() : userFolders);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

Result RunCli(const QStringList& arguments, const QString& workingDirectory,
              const QString& userFolders = {}) {
    return RunProgram(kCli, arguments, workingDirectory, userFolders);
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<cannot read " + path.toStdString() + ">";
    }
    return file.readAll().toStdString();
}

// Compares line by line, so that a mismatch shows the whole differing line.
void ExpectSameLines(const std::string& actual, const std::string& expected) {
    const auto split = [](const std::string& text) {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = text.find('\n', start);
            lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
        return lines;
    };
    const auto a = split(actual);
    const auto e = split(expected);
    for (size_t i = 0; i < std::max(a.size(), e.size()); ++i) {
        EXPECT_EQ(i < a.size() ? a[i] : "<missing>", i < e.size() ? e[i] : "<missing>")
            << "line " << i + 1;
    }
}

// --- exit codes -------------------------------------------------------------------------

struct UsageRow {
    const char* name;
    QStringList arguments;
    const char* messagePart;
};

void PrintTo(const UsageRow& row, std::ostream* out) {
    *out << row.name;
}

class UsageErrorTest : public testing::TestWithParam<UsageRow> {};

TEST_P(UsageErrorTest, ExitsWithTwoAndExplains) {
    const Result result = RunCli(GetParam().arguments, kExamples);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(GetParam().messagePart), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("Usage: lapwerk-cli"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, UsageErrorTest,
    testing::Values(
        UsageRow{"NoVerb", {}, "no verb"},
        UsageRow{"UnknownVerb", {"draw", "oval.tr2"}, "unknown verb draw"},
        UsageRow{"UnknownOption", {"lengths", "oval.tr2", "--metric"}, "--metric"},
        UsageRow{"MissingFileName", {"convert", "oval.tr2"}, "expected 2"},
        UsageRow{"ExtraFileName", {"report", "oval.tr2", "x"}, "expected 1"},
        UsageRow{"OptionWithoutValue", {"walk", "oval.tr2", "--zoom"}, "needs a value"},
        UsageRow{"ZoomOutOfRange", {"walk", "oval.tr2", "--zoom", "25"}, "1 to 24"},
        UsageRow{"ZoomNotANumber", {"render", "oval.tr2", "o.png", "--zoom", "13x"}, "1 to 24"},
        UsageRow{"ZoomAndScale", {"walk", "oval.tr2", "--zoom", "3", "--scale", "256"}, "not both"},
        UsageRow{"BadSize", {"walk", "oval.tr2", "--size", "100"}, "WxH"},
        UsageRow{"ZeroSize", {"render", "oval.tr2", "o.png", "--size", "0x10"}, "WxH"},
        UsageRow{"UnknownImageType", {"render", "oval.tr2", "o.bmp"}, ".png"},
        UsageRow{
            "CloseMaxPiecesOutOfRange", {"close", "oval.tr2", "--max-pieces", "11"}, "1 to 10"},
        UsageRow{"CloseNoProposals", {"close", "oval.tr2", "--proposals", "0"}, "1 to 100"},
        UsageRow{"CloseNoSuchTrack", {"close", "oval.tr2", "--track", "2"}, "has no track 2"},
        UsageRow{"FullSizeImage", {"render", "oval.tr2", "o.png", "--full-size"}, ".pdf"},
        UsageRow{
            "PageWithoutFullSize", {"render", "oval.tr2", "o.pdf", "--page", "a4"}, "--full-size"},
        UsageRow{"UnknownPage",
                 {"render", "oval.tr2", "o.pdf", "--full-size", "--page", "a5"},
                 "a4 or letter"},
        UsageRow{"PartsWithoutDesign", {"parts"}, "expected 1"},
        UsageRow{"PixelRatioZero", {"render", "oval.tr2", "o.png", "--pixel-ratio", "0"}, "1 to 4"},
        UsageRow{"PixelRatioFive", {"render", "oval.tr2", "o.png", "--pixel-ratio", "5"}, "1 to 4"},
        UsageRow{"ImageTooLarge",
                 {"render", "oval.tr2", "o.png", "--size", "5000x10", "--pixel-ratio", "2"},
                 "at most 8192"},
        UsageRow{"FitOnPaper", {"render", "oval.tr2", "o.pdf", "--fit"}, ".png and .svg only"},
        UsageRow{"SmoothOnPaper", {"render", "oval.tr2", "o.pdf", "--smooth"}, ".svg only"}),
    [](const testing::TestParamInfo<UsageRow>& row) { return row.param.name; });

TEST(Cli, HelpListsEveryVerb) {
    const Result result = RunCli({"--help"}, kExamples);
    EXPECT_EQ(result.exitCode, 0);
    for (const char* verb :
         {"lengths", "summary", "close", "convert", "walk", "render", "report", "parts"}) {
        EXPECT_NE(result.out.find(std::string("  ") + verb + " "), std::string::npos) << verb;
    }
}

TEST(Cli, MissingDesignFailsWithOne) {
    const Result result = RunCli({"lengths", "no-such-design.tr2"}, kExamples);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Cannot open no-such-design.tr2\n");
}

TEST(Cli, UnknownPartShowsTheReadersMessageAndWritesNothing) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("never.tr2");
    const Result result = RunCli({"convert", "unknown-part.tr2", target}, kData);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Part number P9 is unknown in PARTS.DEF . I think you used a PARTS.DEF "
                          "file that does not match the .TR2 file!\n");
    EXPECT_FALSE(QFile::exists(target));
}

TEST(Cli, FilesThatAreNoDesignsFailWithOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::pair<const char*, QByteArray> files[] = {
        {"letter.tr2", "# My notes\nthis is a letter\n"},
        {"picture.tr2", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)},
    };
    const char* expected[] = {
        "letter.tr2 is not a design file: line 2 holds \"this is a letter\" where the board's X "
        "size belongs.\n",
        "picture.tr2 is not a design file: line 2 holds the byte 0x1A, which is not text.\n",
    };
    for (size_t i = 0; i < std::size(files); ++i) {
        QFile file(dir.filePath(files[i].first));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(files[i].second);
        file.close();
        const Result result =
            RunCli({"lengths", files[i].first, "--parts", kData + "/parts.def"}, dir.path());
        EXPECT_EQ(result.exitCode, 1) << files[i].first;
        EXPECT_EQ(result.out, "") << files[i].first;
        EXPECT_EQ(result.err, expected[i]);
    }
}

// From an empty folder the shipped library is copied into the user data folder with an empty
// inventory; `own --set` edits that inventory, and a wrong --set writes nothing.
TEST(Cli, OwnKeepsTheCollectionInTheUserDataFolder) {
    QTemporaryDir empty;
    QTemporaryDir user;
    const QString library = user.filePath("data/lapwerk/parts.def");
    const QString inventory = user.filePath("data/lapwerk/sections.own");
    const Result lengths = RunCli({"lengths", kExamples + "/oval.tr2"}, empty.path(), user.path());
    EXPECT_EQ(lengths.exitCode, 0) << lengths.err;
    EXPECT_EQ(ReadFile(library), ReadFile(kExamples + "/parts.def"));
    const std::string fresh = ReadFile(inventory);
    EXPECT_EQ(fresh.front(), '#');

    const Result set = RunCli({"own", "--set", "C174a=3", "--set", "C153=2", "--set", "C153=0"},
                              empty.path(), user.path());
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(ReadFile(inventory), fresh + "C174a 3\nC153 0\n");
    const std::string listing = set.out;
    EXPECT_EQ(listing.substr(0, listing.find('\n')), "Library\t" + library.toStdString());
    EXPECT_NE(listing.find("\nC174a\t"), std::string::npos);
    EXPECT_NE(listing.find("\t3\n"), std::string::npos);
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 22); // the header and 21 parts

    for (const QStringList& wrong : {QStringList{"--set", "NOPE=1"},
                                     {"--set", "C174a=-1"},
                                     {"--set", "C174a=x"},
                                     {"--set", "C174a"}}) {
        const Result refused = RunCli(QStringList{"own"} + wrong, empty.path(), user.path());
        EXPECT_EQ(refused.exitCode, 2) << wrong.join(' ').toStdString();
    }
    EXPECT_EQ(ReadFile(inventory), fresh + "C174a 3\nC153 0\n");
    EXPECT_EQ(RunCli({"own"}, empty.path(), user.path()).out, listing);
}

TEST(Cli, PartsAndOwnOptionsNameTheTables) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    const Result result = RunCli({"lengths", kData + "/tiny.tr2", "--parts", kData + "/parts.def",
                                  "--own", kData + "/sections.own"},
                                 empty.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Track 1\t0.17 m\t0.18 m\nTrack 2\t0.00 m\t0.00 m\n");
}

// --- lengths ----------------------------------------------------------------------------

struct LengthsRow {
    const char* name;
    QStringList arguments;
    const char* expected;
};

void PrintTo(const LengthsRow& row, std::ostream* out) {
    *out << row.name;
}

class LengthsTest : public testing::TestWithParam<LengthsRow> {};

TEST_P(LengthsTest, PrintsOneLinePerTrack) {
    const Result result = RunCli(GetParam().arguments, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, GetParam().expected);
}

// Oval: eight 350 mm straights (3527 units each) and eight radius-1 curves turning right,
// so lane 1 gains the inner lane figure (190.46 mm, 1919 units) and lane 2 the outer one
// (251.72 mm, 2537 units): 43568 and 48512 units, 4.32 m and 4.81 m, 170.19 and 189.50 inches.
INSTANTIATE_TEST_SUITE_P(
    Cli, LengthsTest,
    testing::Values(LengthsRow{"OvalMetric", {"lengths", "oval.tr2"}, "Track 1\t4.32 m\t4.81 m\n"},
                    LengthsRow{"OvalImperial",
                               {"lengths", "oval.tr2", "--imperial"},
                               "Track 1\t170.19 '\t189.50 '\n"},
                    LengthsRow{"FigureEightLanesEvenOutAfterTheLaneChange",
                               {"lengths", "figure-eight.tr2"},
                               "Track 1\t5.87 m\t5.87 m\n"},
                    LengthsRow{"GroupedTracksInSlotOrder",
                               {"lengths", "grouped.tr2"},
                               "Track 1\t4.32 m\t4.81 m\nTrack 2\t5.30 m\t5.79 m\n"},
                    LengthsRow{"ImportedTrk",
                               {"lengths", "example.trk"},
                               "Track 1\t2.92 m\t3.41 m\nTrack 2\t3.90 m\t4.39 m\n"}),
    [](const testing::TestParamInfo<LengthsRow>& row) { return row.param.name; });

// --- check ------------------------------------------------------------------------------

// The figure eight crosses itself once; the grouped ovals nest, but the outer one reaches
// beyond the board at both ends (two curves at each); a design that cannot be read; no design.
TEST(CliCheck, ListsFindingsThenTheSummaryAndFailsWhatCannotBeBuilt) {
    struct Row {
        QStringList arguments;
        int exitCode;
        std::string outEnd;
    };
    for (const Row& row : {Row{{"check", "figure-eight.tr2"},
                               0,
                               "Crossing\tTrack 1 section 2\tTrack 1 section 11\n"
                               "Summary\t1 crossings\t0 collisions\t0 sections off the board\n"},
                           Row{{"check", "grouped.tr2", "--imperial"},
                               1,
                               "Off board\tTrack 2 section 15\n"
                               "Summary\t0 crossings\t0 collisions\t4 sections off the board\n"},
                           Row{{"check", "missing.tr2"}, 1, ""}, Row{{"check"}, 2, ""}}) {
        const Result result = RunCli(row.arguments, kExamples);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_TRUE(result.out.ends_with(row.outEnd) && (result.out.empty() == row.outEnd.empty()))
            << result.out;
    }
}

// --- laps -------------------------------------------------------------------------------

TEST(CliLaps, PrintsBothLanesOfEveryTrackAndRefusesABadCar) {
    struct Row {
        QStringList arguments;
        int exitCode;
        std::string out;
    };
    for (const Row& row :
         {Row{{"laps", "grouped.tr2"},
              0,
              "Track 1\t1.443 s\t1.473 s\t+0.030 s\nTrack 2\t1.506 s\t1.540 s\t+0.034 s\n"},
          Row{{"laps", "oval.tr2", "--grip", "0"}, 2, ""},
          Row{{"laps", "oval.tr2", "--top-speed", "fast"}, 2, ""},
          Row{{"laps", "missing.tr2"}, 1, ""}}) {
        const Result result = RunCli(row.arguments, kExamples);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_EQ(result.out, row.out);
    }
}

// --- suggest ----------------------------------------------------------------------------

// Two straights and eight curves make one layout, an oval, written to a folder as a design
// that the check passes; six curves make none.
TEST(CliSuggest, ListsWritesAndExplains) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString own = folder.filePath("sections.own");
    auto suggest = [&](const char* owned, QStringList arguments) {
        QFile file(own);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(owned);
        file.close();
        return RunCli(QStringList{"suggest", "--own", own} + arguments, kExamples);
    };
    // The folder is made, with the folders above it.
    const QString out = folder.filePath("new/layouts");
    const Result oval = suggest("C151 2\nC154 8\n", {"--use-all", "--out", out});
    EXPECT_EQ(oval.exitCode, 0) << oval.err;
    EXPECT_EQ(oval.out, "Layout 1\tC151 L, C154 R, C154 R, C154 R, C154 R, C151 L, C154 R, "
                        "C154 R, C154 R, C154 R\t2.22 m\t2.71 m\t0\n");
    const Result check = RunCli({"check", QDir(out).filePath("layout-1.tr2")}, kExamples);
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;

    // Every layout of all the pieces is listed, more than ten; --count takes any number.
    const Result many = suggest("C151 4\nC152 2\nC154 8\n", {"--use-all", "--board", "4x4"});
    EXPECT_GT(std::count(many.out.begin(), many.out.end(), '\n'), 10) << many.out << many.err;
    const Result counted =
        suggest("C151 4\nC152 2\nC154 8\n", {"--use-all", "--board", "4x4", "--count", "100000"});
    EXPECT_EQ(counted.out, many.out);

    const Result none = suggest("C154 6\n", {"--board", "1x1", "--seconds", "1"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("No layout found"), std::string::npos) << none.err;
    EXPECT_EQ(suggest("C154 8\n", {"--count", "0"}).exitCode, 2);
    EXPECT_EQ(suggest("C154 8\n", {"--board", "3"}).exitCode, 2);
}

// --- walk -------------------------------------------------------------------------------

TEST(CliWalk, TinyDesignAtOneFinePixelPerModelUnit) {
    const Result result = RunCli({"walk", "tiny.tr2", "--scale", "256"}, kData);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ExpectSameLines(
        result.out,
        "{\"zoomScale\":256,\"centre\":[0,0],\"tracks\":[\n"
        "{\"slot\":0,\"number\":1,\"begin\":[0,0],\"angle\":720,\"lane1Length\":1664,"
        "\"lane2Length\":1792,\"sections\":[\n"
        "{\"index\":0,\"part\":\"P1\",\"direction\":\"L\",\"start\":[0,0,720],"
        "\"marker\":[-128,-512],\"end\":[0,-1024,720]},\n"
        "{\"index\":1,\"part\":\"P2\",\"direction\":\"R\",\"start\":[0,-1024,720],"
        "\"marker\":[-128,-1808],\"end\":[256,-1279,1080]},\n"
        "{\"index\":2,\"part\":\"K\\\"0\\\\\",\"direction\":\"L\",\"start\":[256,-1279,1080],"
        "\"marker\":null,\"end\":[256,-1279,1080]}\n"
        "]},\n"
        "{\"slot\":1,\"number\":2,\"begin\":[512,256],\"angle\":0,\"lane1Length\":0,"
        "\"lane2Length\":0,\"sections\":[]}\n"
        "]}\n");
}

TEST(CliWalk, SizePutsModelOriginAtTheAreaCentre) {
    const Result result = RunCli({"walk", "tiny.tr2", "--zoom", "2", "--size", "101x51"}, kData);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    // zoomScale 64 x 2 + 128; centre (50, 25); track 2's begin (512, 256) model units is
    // (50 x 256 + 512, 25 x 256 + 256) fine pixels.
    EXPECT_EQ(result.out.rfind("{\"zoomScale\":256,\"centre\":[50,25],", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("\"begin\":[13312,6656]"), std::string::npos) << result.out;
}

// The oval and the figure eight close: the last section ends within a few model units of
// the begin point, at the start heading.
struct ClosureRow {
    const char* name;
    const char* design;
    const char* begin;
    const char* lastEnd;
};

void PrintTo(const ClosureRow& row, std::ostream* out) {
    *out << row.name;
}

class ClosureTest : public testing::TestWithParam<ClosureRow> {};

TEST_P(ClosureTest, LastSectionEndsAtTheBeginPoint) {
    const Result result = RunCli({"walk", GetParam().design, "--scale", "256"}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find(std::string("\"begin\":") + GetParam().begin), std::string::npos);
    const size_t last = result.out.rfind("\"end\":");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(result.out.substr(last, result.out.find('}', last) - last),
              std::string("\"end\":") + GetParam().lastEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, ClosureTest,
    testing::Values(ClosureRow{"Oval", "oval.tr2", "[-2051,7055]", "[-2050,7050,720]"},
                    ClosureRow{"FigureEight", "figure-eight.tr2", "[-2562,3674]",
                               "[-2559,3660,900]"}),
    [](const testing::TestParamInfo<ClosureRow>& row) { return row.param.name; });

// --- report -----------------------------------------------------------------------------

TEST(CliReport, TinyDesignAsTheListWindowBuildsIt) {
    const Result result = RunCli({"report", "tiny.tr2"}, kData);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ExpectSameLines(result.out, "tiny.tr2 - Lapwerk V2.1      1.02    x  0.76    \n"
                                "\n"
                                "P1         Straight                         1     4   \n"
                                "P2         Curve                            1     -1  \n"
                                "K\"0\\       Nothing                          1     -1  \n"
                                "\n"
                                "Length of track 1\t\t0.17 m\t0.18 m\n"
                                "Length of track 2\t\t0.00 m\t0.00 m\n"
                                "\n"
                                "\tTrack 1\n"
                                "\n"
                                "\tP1\tStraight\n"
                                "R\tP2\tCurve\n"
                                "\tK\"0\\\tNothing\n"
                                "\n"
                                "\tTrack 2\n"
                                "\n"
                                "\n"
                                "--- END ---\n");
}

TEST(CliReport, CaptionIsTheFileNamePartAndInchesOnRequest) {
    const Result result = RunCli({"report", kData + "/tiny.tr2", "--imperial"}, kData);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
              "tiny.tr2 - Lapwerk V2.1     40.00    x 30.00    ");
    EXPECT_NE(result.out.find("Length of track 1\t\t6.50 '\t7.00 '\n"), std::string::npos);
}

TEST(CliReport, ImportedDesignIsUntitled) {
    const Result result = RunCli({"report", "example.trk"}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\n')),
              "untitled.tr2 - Lapwerk V2.1      1.60    x  2.40    ");
    EXPECT_EQ(result.out.substr(result.out.size() - 12), "--- END ---\n");
}

// --- convert ----------------------------------------------------------------------------

TEST(CliConvert, RoundTripGivesTheSameBytes) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    for (const char* name : {"oval.tr2", "figure-eight.tr2", "grouped.tr2"}) {
        const QString target = out.filePath(name);
        const Result result = RunCli({"convert", name, target}, kExamples);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadFile(target), ReadFile(kExamples + "/" + name)) << name;
    }
}

TEST(CliConvert, ImportedTrkKeepsItsTracks) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("example.tr2");
    ASSERT_EQ(RunCli({"convert", "EXAMPLE.TRK", target}, kExamples).exitCode, 1)
        << "the examples hold example.trk only in lower case";
    const Result result = RunCli({"convert", "example.trk", target}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const Result lengths = RunCli({"lengths", target}, kExamples);
    EXPECT_EQ(lengths.out, "Track 1\t2.92 m\t3.41 m\nTrack 2\t3.90 m\t4.39 m\n");
    // Track 2 of a version-1 file starts 6.125 inches to the left of track 1.
    EXPECT_NE(ReadFile(target).find("# Begin X position\r\n-1568\r\n"), std::string::npos);
}

TEST(CliConvert, UnwritableTargetFailsWithOne) {
    const Result result = RunCli({"convert", "oval.tr2", "/no-such-dir/oval.tr2"}, kExamples);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err, "");
}

// --- render -----------------------------------------------------------------------------

TEST(CliRender, PngHasTheAreaSizeAndTheViewColours) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("oval.png");
    const Result result = RunCli({"render", "oval.tr2", target, "--size", "320x240"}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    QImage image(target);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(320, 240));
    EXPECT_EQ(image.pixel(3, 120), qRgb(255, 255, 200)) << "ruler strip";
    bool blue = false;
    bool green = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            blue = blue || image.pixel(x, y) == qRgb(0, 0, 255);
            green = green || image.pixel(x, y) == qRgb(0, 255, 0);
        }
    }
    EXPECT_TRUE(blue) << "the current track";
    EXPECT_TRUE(green) << "its insertion marker";
}

TEST(CliRender, WithoutRulerTheCornerStaysWhite) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("oval.png");
    const Result result = RunCli(
        {"render", "oval.tr2", target, "--size", "200x100", "--no-ruler", "--no-grid"}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const QImage image(target);
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(3, 50), qRgb(255, 255, 255));
}

/// The box of the pixels that are not white, in image coordinates.
QRect DrawnBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST(CliRender, FitShowsTheWholeDesignInTheMiddle) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString plain = out.filePath("plain.png");
    const QString fitted = out.filePath("fitted.png");
    // At zoom 24 the figure eight runs off a 300 x 200 area; fitted it lies inside, centred.
    const QStringList common = {"--size", "300x200", "--zoom", "24", "--no-ruler", "--no-grid"};
    ASSERT_EQ(RunCli(QStringList{"render", "figure-eight.tr2", plain} + common, kExamples).exitCode,
              0);
    const Result result =
        RunCli(QStringList{"render", "figure-eight.tr2", fitted, "--fit"} + common, kExamples);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QRect overflowing = DrawnBox(QImage(plain));
    EXPECT_EQ(overflowing.top(), 0);
    EXPECT_EQ(overflowing.bottom(), 199);
    const QRect drawn = DrawnBox(QImage(fitted));
    EXPECT_GE(drawn.top(), 8);
    EXPECT_LE(drawn.bottom(), 200 - 8);
    EXPECT_GE(drawn.left(), 8);
    EXPECT_LE(drawn.right(), 300 - 8);
    EXPECT_NEAR(drawn.center().x(), 150, 2);
    EXPECT_NEAR(drawn.center().y(), 100, 2);
    EXPECT_GT(drawn.height(), 150) << "as large as fits";
}

TEST(CliRender, PixelRatioDrawsALargerImageAndOneIsAsBefore) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString plain = out.filePath("plain.png");
    const QString one = out.filePath("one.png");
    const QString three = out.filePath("three.png");
    const QStringList common = {"--size", "200x150"};
    ASSERT_EQ(RunCli(QStringList{"render", "oval.tr2", plain} + common, kExamples).exitCode, 0);
    ASSERT_EQ(
        RunCli(QStringList{"render", "oval.tr2", one, "--pixel-ratio", "1"} + common, kExamples)
            .exitCode,
        0);
    const Result result =
        RunCli(QStringList{"render", "oval.tr2", three, "--pixel-ratio", "3"} + common, kExamples);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadFile(one), ReadFile(plain));
    const QImage image(three);
    ASSERT_EQ(image.size(), QSize(600, 450));
    EXPECT_EQ(image.pixel(44, 300), qRgb(255, 255, 200)) << "a ruler strip 45 pixels wide";
    EXPECT_NE(image.pixel(45, 300), qRgb(255, 255, 200));
}

TEST(CliRender, SmoothBlendsColours) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("smooth.png");
    const Result result = RunCli(
        {"render", "oval.tr2", target, "--size", "200x150", "--smooth", "--no-ruler", "--no-grid"},
        kExamples);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const QImage image(target);
    bool blended = false;
    for (int y = 0; y < image.height() && !blended; ++y) {
        for (int x = 0; x < image.width() && !blended; ++x) {
            const QRgb pixel = image.pixel(x, y);
            blended = qBlue(pixel) == 255 && qRed(pixel) > 0 && qRed(pixel) < 255;
        }
    }
    EXPECT_TRUE(blended) << "blue edges fade into white";
}

struct FileRow {
    const char* name;
    const char* design;
    const char* target;
    const char* magic;
};

void PrintTo(const FileRow& row, std::ostream* out) {
    *out << row.name;
}

class RenderFileTest : public testing::TestWithParam<FileRow> {};

TEST_P(RenderFileTest, WritesANonEmptyFileOfItsType) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath(GetParam().target);
    const Result result = RunCli({"render", GetParam().design, target}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string bytes = ReadFile(target);
    EXPECT_GT(bytes.size(), 100u);
    EXPECT_NE(bytes.substr(0, 64).find(GetParam().magic), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, RenderFileTest,
    testing::Values(FileRow{"Svg", "grouped.tr2", "grouped.svg", "<?xml"},
                    FileRow{"SvgUpperCaseExtension", "oval.tr2", "oval.SVG", "<?xml"},
                    FileRow{"Pdf", "figure-eight.tr2", "eight.pdf", "%PDF"},
                    FileRow{"PdfOfImport", "example.trk", "example.pdf", "%PDF"}),
    [](const testing::TestParamInfo<FileRow>& row) { return row.param.name; });

TEST(CliRender, PdfOfABoardOfZeroIsRefusedAndWritesNothing) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("zero.pdf");
    const Result result = RunCli({"render", "zero-board.tr2", target}, kData);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err, "");
    EXPECT_FALSE(QFile::exists(target));
}

TEST(CliRender, UnwritableImageFailsWithOne) {
    const Result result = RunCli({"render", "oval.tr2", "/no-such-dir/oval.png"}, kExamples);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Cannot write /no-such-dir/oval.png"), std::string::npos)
        << result.err;
}

// --- close ----------------------------------------------------------------------------

// The grouped example's two ovals, track 1 without its last three sections (three C154 R) and
// track 2 without its last six (two C151 L and four C179 R); track 2, the last read, is current.
const QString kOpenOvals = kData + "/open-ovals.tr2";

struct CloseRow {
    const char* name;
    QStringList arguments;
    int exitCode;
    const char* out;
    const char* err;
};

void PrintTo(const CloseRow& row, std::ostream* out) {
    *out << row.name;
}

class CloseTest : public testing::TestWithParam<CloseRow> {};

TEST_P(CloseTest, PrintsTheProposalsOrSaysWhyNone) {
    const Result result = RunCli(GetParam().arguments, kExamples);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
    ExpectSameLines(result.out, GetParam().out);
    EXPECT_EQ(result.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, CloseTest,
    testing::Values(
        CloseRow{
            "CurrentTrack",
            {"close", kOpenOvals},
            0,
            "Proposal 1\tC151 L, C151 L, C179 R, C179 R, C179 R, C179 R\t0.5 mm\t0.0\xC2\xB0\t0\n",
            ""},
        CloseRow{"FirstTrackTwoProposalsInInches",
                 {"close", kOpenOvals, "--track", "1", "--proposals", "2", "--imperial"},
                 0,
                 "Proposal 1\tC154 R, C154 R, C154 R\t0.0 in\t0.0\xC2\xB0\t0\n"
                 "Proposal 2\tC154 R, C154 R, C156 R, C156 R\t0.0 in\t0.0\xC2\xB0\t0\n",
                 ""},
        CloseRow{"TooFewPieces",
                 {"close", kOpenOvals, "--max-pieces", "5"},
                 1,
                 "",
                 "No sequence of at most 5 pieces closes track 2; try more pieces.\n"},
        CloseRow{"OwnedOnlyWithoutInventory",
                 {"close", kOpenOvals, "--owned-only", "--own", "no-such-file.own"},
                 1,
                 "",
                 "No sequence of at most 6 pieces closes track 2; try more pieces or include "
                 "pieces you do not own.\n"},
        CloseRow{"ClosedTrack", {"close", "oval.tr2"}, 0, "", "Track 1 already closes.\n"}),
    [](const testing::TestParamInfo<CloseRow>& row) { return row.param.name; });

TEST(CliClose, ApplyAppendsTheBestProposalToThatTrackOnly) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("closed.tr2");
    const Result result =
        RunCli({"close", kOpenOvals, "--track", "1", "--apply", target}, kExamples);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, result.out.find('\t')), "Proposal 1");

    const std::string before = RunCli({"summary", kOpenOvals}, kExamples).out;
    const std::string after = RunCli({"summary", target}, kExamples).out;
    EXPECT_EQ(after.substr(0, after.find('\n')),
              "Track 1\t4.32 m\t4.81 m\t+0.49 m\tclosed\t0.5 mm\t0.0\xC2\xB0");
    EXPECT_EQ(after.substr(after.find('\n')), before.substr(before.find('\n')));
    EXPECT_NE(ReadFile(target).find("C154 R\r\nC154 R\r\nC154 R\r\nC154 R\r\n#"),
              std::string::npos);
}

TEST(CliClose, NothingClosingWritesNothing) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString target = out.filePath("never.tr2");
    const Result result =
        RunCli({"close", kOpenOvals, "--max-pieces", "5", "--apply", target}, kExamples);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(QFile::exists(target));
}

// --- parts ----------------------------------------------------------------------------

TEST(CliParts, TinyDesignInColumns) {
    const Result result = RunCli({"parts", "tiny.tr2"}, kData);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ExpectSameLines(result.out, "Part  Name      Used  Owned  Left over  To buy\n"
                                "P1    Straight     1      5          4       0\n"
                                "P2    Curve        1      0         -1       1\n"
                                "K\"0\\  Nothing      1      0         -1       1\n");
}

TEST(CliParts, TinyDesignAsCsv) {
    const Result result = RunCli({"parts", "tiny.tr2", "--csv"}, kData);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Part,Name,Used,Owned,Left over,To buy\r\n"
                          "P1,Straight,1,5,4,0\r\n"
                          "P2,Curve,1,0,-1,1\r\n"
                          "\"K\"\"0\\\",Nothing,1,0,-1,1\r\n");
}

/// The fields of one CSV record of plain fields and fields in double quotes.
std::vector<std::string> CsvFields(const std::string& record) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        if (quoted && c == '"' && i + 1 < record.size() && record[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t stop = text.find(end, start);
        lines.push_back(text.substr(start, stop - start));
        start = stop == std::string::npos ? text.size() : stop + end.size();
    }
    return lines;
}

class PartsOfExampleTest : public testing::TestWithParam<const char*> {};

// The section list's part lines show the panel's used and left-over counts; the CSV holds one
// record for every part line with a left-over count, with the same counts.
TEST_P(PartsOfExampleTest, CsvMatchesTheSectionListsCounts) {
    const Result report = RunCli({"report", GetParam()}, kExamples);
    const Result csv = RunCli({"parts", GetParam(), "--csv"}, kExamples);
    ASSERT_EQ(report.exitCode, 0) << report.err;
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    std::vector<std::vector<std::string>> expected;
    const std::vector<std::string> lines = SplitLines(report.out, "\n");
    for (size_t i = 2; i < lines.size() && !lines[i].empty(); ++i) {
        // "%-10s %-30s   %-4s  %-4s": number, name, used, left over (the examples' texts and
        // counts fit their widths).
        const std::string& line = lines[i];
        const auto field = [&](size_t from, size_t width) {
            const std::string text = line.substr(from, width);
            const size_t last = text.find_last_not_of(' ');
            return last == std::string::npos ? std::string() : text.substr(0, last + 1);
        };
        const std::string leftOver = field(50, 4);
        if (!leftOver.empty()) {
            expected.push_back({field(0, 10), field(11, 30), field(44, 4), leftOver});
        }
    }
    const std::vector<std::string> records = SplitLines(csv.out, "\r\n");
    ASSERT_EQ(records.size(), expected.size() + 1) << csv.out;
    EXPECT_EQ(records[0], "Part,Name,Used,Owned,Left over,To buy");
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::vector<std::string> fields = CsvFields(records[i + 1]);
        ASSERT_EQ(fields.size(), 6u) << records[i + 1];
        EXPECT_EQ((std::vector<std::string>{fields[0], fields[1], fields[2], fields[4]}),
                  expected[i])
            << records[i + 1];
        EXPECT_EQ(std::stoll(fields[3]) - std::stoll(fields[2]), std::stoll(fields[4]));
        EXPECT_EQ(std::stoll(fields[5]), std::max(0LL, -std::stoll(fields[4])));
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, PartsOfExampleTest,
                         testing::Values("oval.tr2", "figure-eight.tr2", "grouped.tr2",
                                         "example.trk"),
                         [](const testing::TestParamInfo<const char*>& row) {
                             std::string name = row.param;
                             name = name.substr(0, name.find('.'));
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

// --- render --full-size -----------------------------------------------------------------

bool PopplerInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

/// Page `page` of `pdf` at 254 dots per inch, so that a pixel is 0.1 mm.
QImage PageAtTenthMillimetres(const QString& pdf, int page, const QString& stem) {
    const QString number = QString::number(page);
    RunProgram(QStringLiteral("pdftoppm"),
               {"-r", "254", "-png", "-singlefile", "-f", number, "-l", number, pdf, stem},
               QDir::tempPath());
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

bool IsBlack(QRgb pixel) {
    return qRed(pixel) < 80 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
}

/// Length in pixels of the longest run of black pixels down a column (or along a row) of
/// `image`, among the rows from `firstRow` down.
int LongestBlackRun(const QImage& image, bool downColumns, int firstRow = 0) {
    int longest = 0;
    const int outer = downColumns ? image.width() : image.height();
    const int inner = downColumns ? image.height() : image.width();
    for (int a = downColumns ? 0 : firstRow; a < outer; ++a) {
        int run = 0;
        for (int b = downColumns ? firstRow : 0; b < inner; ++b) {
            run = IsBlack(downColumns ? image.pixel(a, b) : image.pixel(b, a)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

TEST(CliRenderFullSize, PagesOfTheExtentOverviewFirstAndTrueLengths) {
    if (!PopplerInstalled()) {
        GTEST_SKIP() << "poppler-utils is not installed: the pages are not looked at";
    }
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString pdf = out.filePath("full-size.pdf");
    const Result result = RunCli({"render", "full-size.tr2", pdf, "--full-size", "--every-page",
                                  "--parts", kExamples + "/parts.def"},
                                 kData);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    // The overview, then the 11 pages of the 4 x 3 cells over the 600 mm board but B2.
    const std::vector<std::string> labels = {"A1", "A2", "A3", "A4", "B1", "B3",
                                             "B4", "C1", "C2", "C3", "C4"};
    const Result info = RunProgram("pdfinfo", {pdf}, out.path());
    EXPECT_NE(info.out.find("Pages:           12\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;
    const Result overview = RunProgram("pdftotext", {"-f", "1", "-l", "1", pdf, "-"}, out.path());
    EXPECT_EQ(overview.out.rfind("full-size.tr2 at full size: 11 pages of 190 x 277 mm, rows A "
                                 "to C, columns 1 to 4\n",
                                 0),
              0u)
        << overview.out;
    for (size_t i = 0; i < labels.size(); ++i) {
        const QString page = QString::number(i + 2);
        const Result text = RunProgram("pdftotext", {"-f", page, "-l", page, pdf, "-"}, out.path());
        EXPECT_EQ(text.out.rfind(labels[i] + " full-size.tr2\n", 0), 0u) << text.out;
        EXPECT_NE(overview.out.find(labels[i] + "\n"), std::string::npos) << labels[i];
    }

    // On B3 the 175 mm straight, drawn filled, runs 175 mm down the paper; on A1 the scale bar
    // is 100 mm long. Both within 0.5 mm.
    const QImage b3 = PageAtTenthMillimetres(pdf, 7, out.filePath("b3"));
    ASSERT_FALSE(b3.isNull());
    EXPECT_NEAR(LongestBlackRun(b3, true), 1750, 5);
    const QImage a1 = PageAtTenthMillimetres(pdf, 2, out.filePath("a1"));
    ASSERT_FALSE(a1.isNull());
    EXPECT_NEAR(LongestBlackRun(a1, false), 1000, 5);
}

// The figure eight at full size is a template: every page holds a section and names the parts
// on it as text, and no page is more than a third ink.
TEST(CliRenderFullSize, PagesAreTemplatesOfTheSections) {
    if (!PopplerInstalled()) {
        GTEST_SKIP() << "poppler-utils is not installed: the pages are not looked at";
    }
    QTemporaryDir out;
    const QString pdf = out.filePath("eight.pdf");
    ASSERT_EQ(RunCli({"render", "figure-eight.tr2", pdf, "--full-size"}, kExamples).exitCode, 0);
    const Result info = RunProgram("pdfinfo", {pdf}, out.path());
    const size_t at = info.out.find("Pages:");
    ASSERT_NE(at, std::string::npos);
    const int pages = std::stoi(info.out.substr(at + 6));
    RunProgram("pdftoppm", {"-r", "20", "-gray", pdf, out.filePath("page")}, out.path());
    for (int page = 2; page <= pages; ++page) {
        const QString number = QString::number(page);
        const Result text =
            RunProgram("pdftotext", {"-f", number, "-l", number, pdf, "-"}, out.path());
        EXPECT_NE(text.out.find("\nC1"), std::string::npos) << "page " << page << ":\n" << text.out;
        const QString name =
            out.filePath(QStringLiteral("page-%1.pgm").arg(page, 2, 10, QChar('0')));
        const QImage image(name);
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        int ink = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        EXPECT_LT(ink * 3, image.width() * image.height()) << "page " << page;
    }
}

TEST(CliRenderFullSize, LetterPagesOnRequest) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString pdf = out.filePath("oval.pdf");
    const Result result =
        RunCli({"render", "oval.tr2", pdf, "--full-size", "--page", "letter"}, kExamples);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    if (!PopplerInstalled()) {
        GTEST_SKIP() << "poppler-utils is not installed: the pages are not looked at";
    }
    const Result info = RunProgram("pdfinfo", {pdf}, out.path());
    EXPECT_NE(info.out.find("612 x 792 pts (letter)"), std::string::npos) << info.out;
}

TEST(CliRenderFullSize, TrackTooFarAwayIsRefusedAndWritesNothing) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QFile design(out.filePath("far.tr2"));
    ASSERT_TRUE(design.open(QIODevice::WriteOnly));
    design.write("# Lapwerk V2 format\n20\n20\n0\n0\n720\n40000\n0\n0\n");
    design.close();
    const QString target = out.filePath("far.pdf");
    const Result result = RunCli({"render", design.fileName(), target, "--full-size"}, kData);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("too far"), std::string::npos) << result.err;
    EXPECT_FALSE(QFile::exists(target));
}

} // namespace
