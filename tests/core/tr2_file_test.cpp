#include "file_steps.h"
#include "open_counter.h"
#include "tr2_file.h"

#include "fixtures.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace lapwerk {
namespace {

/// Records with a small library and the design file placed in a temporary directory.
struct Tr2Fixture {
    test::Records r;
    test::TempDir dir;
    std::string path;

    Tr2Fixture() {
        test::AddPart(*r.library, "C151", "Straight", 1, 640, 2560);
        test::AddPart(*r.library, "C152", "Curve", 2, 640, 0, 180, 3840, 3000, 2500);
        test::AddPart(*r.library, "C153", "Lane change", 3, 640, 3000);
        path = dir.File("design.tr2");
        SetDesignFileName(*r.design, path.c_str());
    }

    /// Adds a Track in `slot` with the given sections, e.g. {{0, 'L'}, {1, 'R'}}.
    Track& AddTrack(int slot, std::vector<std::pair<int, char>> sections, int angle = 720,
                    int x = 0, int y = 0, int group = 0) {
        Track& t = r.design->tracks[slot];
        InitTrack(t);
        t.inUse = 1;
        t.angle = angle;
        t.beginX = x;
        t.beginY = y;
        t.group = group;
        t.sectionCount = static_cast<int32_t>(sections.size());
        for (size_t i = 0; i < sections.size(); ++i) {
            t.partIndex[i] = static_cast<uint8_t>(sections[i].first);
            t.direction[i] = sections[i].second;
        }
        return t;
    }

    MaybeMessage Write() { return test::SaveToFileName(*r.design, *r.history, *r.library); }
    MaybeMessage Read() { return test::LoadIntoDesign(*r.design, *r.history, *r.library); }
    MaybeMessage ReadText(const std::string& text) {
        test::WriteBytes(path, text);
        return Read();
    }
};

/// The tracks in use, one line each: "slot count angle x y group | parts", parts as "index+letter".
std::string Describe(const Design& d) {
    std::ostringstream out;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        const Track& t = d.tracks[slot];
        if (t.inUse == 0) {
            continue;
        }
        out << slot << ' ' << t.sectionCount << ' ' << t.angle << ' ' << t.beginX << ' ' << t.beginY
            << ' ' << t.group << " |";
        for (int i = 0; i < t.sectionCount && i < kMaxSections; ++i) {
            out << ' ' << int{t.partIndex[i]} << t.direction[i];
        }
        out << '\n';
    }
    return out.str();
}

/// The header a design of the given board sizes is written with, lines ended by CR LF.
std::string Header(const char* boardX, const char* boardY) {
    return std::string("# Lapwerk V2 format\r\n#\r\n"
                       "# Written by Lapwerk V2.1, a slot-car track designer\r\n#\r\n"
                       "# Sizes in inches, positions in 1/256 inch, angles in quarter degrees\r\n"
                       "#\r\n# Board X size\r\n") +
           boardX + "\r\n# Board Y size\r\n" + boardY + "\r\n#\r\n# Number of lines\r\n0\r\n";
}

std::string Block(int number, int count, int angle, long x, long y, int group,
                  const std::vector<std::string>& parts) {
    std::string s = "#\r\n# Track " + std::to_string(number) + "\r\n#\r\n# Length in parts\r\n" +
                    std::to_string(count) + "\r\n# Angle\r\n" + std::to_string(angle) +
                    "\r\n# Begin X position\r\n" + std::to_string(x) +
                    "\r\n# Begin Y position\r\n" + std::to_string(y) + "\r\n# In Group\r\n" +
                    std::to_string(group) + "\r\n# Track parts\r\n#\r\n";
    for (const std::string& p : parts) {
        s += p + "\r\n";
    }
    return s;
}

/// Shows the first differing line of two file texts.
std::string FirstDifference(const std::string& got, const std::string& want) {
    std::istringstream a(got);
    std::istringstream b(want);
    std::string la;
    std::string lb;
    for (int line = 1;; ++line) {
        const bool ha = static_cast<bool>(std::getline(a, la));
        const bool hb = static_cast<bool>(std::getline(b, lb));
        if (!ha && !hb) {
            return "";
        }
        if (la != lb || ha != hb) {
            return "line " + std::to_string(line) + ": got \"" + la + "\", want \"" + lb + "\"";
        }
    }
}

// ---------------------------------------------------------------- writing

TEST(SaveDesignFile, WritesTheTwoTrackExampleByteForByte) {
    Tr2Fixture f;
    f.r.design->boardX = 2.0f / 0.0254f;
    f.r.design->boardY = 1.5f / 0.0254f;
    f.AddTrack(0, {{0, 'L'}, {1, 'R'}});
    f.AddTrack(1, {{0, 'L'}}, 0, 5120, -2560);

    ASSERT_FALSE(f.Write());

    const std::string want = Header("78.74", "59.06") +
                             Block(1, 2, 720, 0, 0, 0, {"C151 L", "C152 R"}) +
                             Block(2, 1, 0, 5120, -2560, 0, {"C151 L"});
    const std::string got = test::ReadBytes(f.path);
    EXPECT_EQ(got, want) << FirstDifference(got, want);
}

struct BoardCase {
    const char* name;
    float inches;
    const char* written;
};

class BoardSizeTest : public ::testing::TestWithParam<BoardCase> {};

TEST_P(BoardSizeTest, WritesTwoDecimalsInFiveColumns) {
    Tr2Fixture f;
    f.r.design->boardX = GetParam().inches;
    ASSERT_FALSE(f.Write());
    const std::string text = test::ReadBytes(f.path);
    const std::string line = std::string("# Board X size\r\n") + GetParam().written + "\r\n";
    EXPECT_NE(text.find(line), std::string::npos) << text.substr(0, 300);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BoardSizeTest,
    ::testing::Values(BoardCase{"two_metres", 78.74016f, "78.74"},
                      BoardCase{"below_ten", 9.5f, " 9.50"}, BoardCase{"zero", 0.0f, " 0.00"},
                      BoardCase{"rounds_up", 1.999f, " 2.00"},
                      BoardCase{"negative", -1.5f, "-1.50"},
                      BoardCase{"hundreds", 118.11f, "118.11"},
                      BoardCase{"largest", FLT_MAX, "340282346638528859811704183484516925440.00"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SaveDesignFile, WritesOnlyTracksInUseNumberedInOrder) {
    Tr2Fixture f;
    f.AddTrack(0, {{0, 'L'}});
    f.AddTrack(3, {}, 100, -7, 9, 2);
    f.AddTrack(7, {{1, 'R'}}, 1439, 2147483647, -2147483647 - 1, 2);
    ASSERT_FALSE(f.Write());
    const std::string want = Header("78.74", "78.74") + Block(1, 1, 720, 0, 0, 0, {"C151 L"}) +
                             Block(2, 0, 100, -7, 9, 2, {}) +
                             Block(3, 1, 1439, 2147483647, -2147483648L, 2, {"C152 R"});
    const std::string got = test::ReadBytes(f.path);
    EXPECT_EQ(got, want) << FirstDifference(got, want);
}

TEST(SaveDesignFile, ClearsTheFlagAndTheHistory) {
    Tr2Fixture f;
    f.AddTrack(0, {{0, 'L'}});
    f.r.design->changed = 1;
    TakeSnapshot(*f.r.history, *f.r.design);
    TakeSnapshot(*f.r.history, *f.r.design);
    ASSERT_TRUE(CanUndo(*f.r.history));

    ASSERT_FALSE(f.Write());

    EXPECT_EQ(f.r.design->changed, 0);
    EXPECT_FALSE(CanUndo(*f.r.history));
    EXPECT_FALSE(CanRedo(*f.r.history));
    EXPECT_EQ(f.r.history->slots[f.r.history->position].changed, 0);
    EXPECT_EQ(f.r.history->slots[f.r.history->position].tracks[0].sectionCount, 1);
}

TEST(SaveDesignFile, ReplacesAnOldFileAndLeavesNoTemporaryFile) {
    Tr2Fixture f;
    test::WriteBytes(f.path, std::string(5000, 'x'));
    ASSERT_FALSE(f.Write());
    EXPECT_EQ(test::ReadBytes(f.path).substr(0, 19), "# Lapwerk V2 format");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(SaveDesignFile, KeepsThePermissionsOfTheOldFile) {
    Tr2Fixture f;
    test::WriteBytes(f.path, "old");
    namespace fs = std::filesystem;
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(f.path, perms);
    ASSERT_FALSE(f.Write());
    EXPECT_EQ(fs::status(f.path).permissions(), perms);
}

TEST(SaveDesignFile, WritesAPathWithoutDirectory) {
    Tr2Fixture f;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(f.dir.path());
    SetDesignFileName(*f.r.design, "plain.tr2");
    const MaybeMessage m = f.Write();
    std::filesystem::current_path(cwd);
    ASSERT_FALSE(m) << m->text;
    EXPECT_EQ(test::ReadBytes(f.dir.File("plain.tr2")).substr(0, 19), "# Lapwerk V2 format");
}

// ---------------------------------------------------------------- failed writes

/// A design with unsaved edits and an old file whose content must survive a failed save.
struct FailedSave : Tr2Fixture {
    const std::string oldContent = "old design\r\n";

    FailedSave() {
        AddTrack(0, {{0, 'L'}, {2, 'R'}});
        r.design->changed = 1;
        TakeSnapshot(*r.history, *r.design);
    }

    void ExpectNothingChanged(const MaybeMessage& m, const std::string& target) {
        ASSERT_TRUE(m);
        EXPECT_EQ(m->caption, "Error");
        EXPECT_NE(m->text.find(target), std::string::npos) << m->text;
        EXPECT_EQ(r.design->changed, 1);
        EXPECT_TRUE(CanUndo(*r.history));
        EXPECT_EQ(r.design->tracks[0].sectionCount, 2);
    }
};

TEST(SaveDesignFile, ReportsAMissingDirectory) {
    FailedSave f;
    const std::string target = f.dir.File("missing/design.tr2");
    SetDesignFileName(*f.r.design, target.c_str());
    const MaybeMessage m = f.Write();
    f.ExpectNothingChanged(m, target);
    EXPECT_NE(m->text.find(std::strerror(ENOENT)), std::string::npos) << m->text;
}

TEST(SaveDesignFile, ReportsAFileInPlaceOfTheDirectory) {
    FailedSave f;
    test::WriteBytes(f.dir.File("plain"), f.oldContent);
    const std::string target = f.dir.File("plain/design.tr2");
    SetDesignFileName(*f.r.design, target.c_str());
    f.ExpectNothingChanged(f.Write(), target);
    EXPECT_EQ(test::ReadBytes(f.dir.File("plain")), f.oldContent);
}

TEST(SaveDesignFile, ReportsADirectoryInPlaceOfTheFile) {
    FailedSave f;
    std::filesystem::create_directory(f.path);
    f.ExpectNothingChanged(f.Write(), f.path);
    EXPECT_TRUE(std::filesystem::is_directory(f.path));
}

TEST(SaveDesignFile, ReadOnlyDirectoryLeavesTheOldFileWhole) {
    FailedSave f;
    test::WriteBytes(f.path, f.oldContent);
    std::filesystem::permissions(f.dir.path(), std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::owner_exec);
    if (access(f.dir.path().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "permissions do not stop this user";
    }
    f.ExpectNothingChanged(f.Write(), f.path);
    EXPECT_EQ(test::ReadBytes(f.path), f.oldContent);
}

TEST(SaveDesignFile, ReadOnlyFileIsNotReplaced) {
    FailedSave f;
    test::WriteBytes(f.path, f.oldContent);
    std::filesystem::permissions(f.path, std::filesystem::perms::owner_read);
    if (access(f.path.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "permissions do not stop this user";
    }
    f.ExpectNothingChanged(f.Write(), f.path);
    EXPECT_EQ(test::ReadBytes(f.path), f.oldContent);
}

TEST(SaveDesignFile, WriteErrorLeavesTheOldFileWhole) {
    FailedSave f;
    test::WriteBytes(f.path, f.oldContent);
    // A file size limit makes the writes fail part way, as a full disk would.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 100;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const MaybeMessage m = f.Write();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    f.ExpectNothingChanged(m, f.path);
    EXPECT_EQ(test::ReadBytes(f.path), f.oldContent);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1) << "the temporary file is removed";
}

struct RefusedCase {
    const char* name;
    const char* number; ///< number of a Part added as index 3, or nullptr for none
    char letter;
    const char* message; ///< a part of the message text
};

class RefusedSaveTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedSaveTest, RefusesASectionThatCouldNotBeReadBack) {
    FailedSave f;
    if (GetParam().number != nullptr) {
        const int index = test::AddPart(*f.r.library, "X", "unusual number", 1, 640, 2560);
        std::strcpy(f.r.library->parts[index].number, GetParam().number);
    }
    f.r.design->tracks[0].partIndex[1] = 3;
    f.r.design->tracks[0].direction[1] = GetParam().letter;
    test::WriteBytes(f.path, f.oldContent);

    const MaybeMessage m = f.Write();

    ASSERT_TRUE(m);
    EXPECT_EQ(m->caption, "Error");
    EXPECT_NE(m->text.find("Section 2 of track 1"), std::string::npos) << m->text;
    EXPECT_NE(m->text.find(GetParam().message), std::string::npos) << m->text;
    EXPECT_EQ(f.r.design->changed, 1);
    EXPECT_TRUE(CanUndo(*f.r.history));
    EXPECT_EQ(test::ReadBytes(f.path), f.oldContent);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, RefusedSaveTest,
    ::testing::Values(RefusedCase{"blank_inside", "C 154", 'L', "\"C 154\""},
                      RefusedCase{"trailing_blank", "C154 ", 'L', "\"C154 \""},
                      RefusedCase{"empty_number", "", 'L', "\"\""},
                      RefusedCase{"comment_number", "#154", 'R', "\"#154\""},
                      RefusedCase{"index_outside_library", nullptr, 'L', "no part"},
                      RefusedCase{"blank_letter", "C154", ' ', "no direction letter"},
                      RefusedCase{"nul_letter", "C154", '\0', "no direction letter"},
                      RefusedCase{"control_in_number",
                                  "C\x01"
                                  "54",
                                  'L',
                                  "\"C\x01"
                                  "54\""},
                      RefusedCase{"control_letter", "C154", '\x1b', "no direction letter"}),
    [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------- reading

TEST(LoadDesignFile, ReadsBackWhatWasWritten) {
    Tr2Fixture f;
    f.r.design->boardX = 78.74016f;
    f.r.design->boardY = 9.5f;
    f.AddTrack(0, {{0, 'L'}, {1, 'R'}, {2, 'L'}}, 300, -5120, 2560, 4);
    f.AddTrack(1, {{1, 'L'}}, 0, 5120, -2560, 4);
    ASSERT_FALSE(f.Write());
    const std::string before = Describe(*f.r.design);

    ASSERT_FALSE(f.Read());

    EXPECT_EQ(Describe(*f.r.design), before);
    EXPECT_EQ(f.r.design->boardX, 78.74f);
    EXPECT_EQ(f.r.design->boardY, 9.5f);
    EXPECT_EQ(f.r.design->currentTrack, 1);
    EXPECT_EQ(f.r.design->changed, 0);
    EXPECT_EQ(f.r.design->tracks[0].selectedSection, -1);
}

TEST(LoadDesignFile, SlotsZeroThreeSevenComeBackAsZeroOneTwo) {
    Tr2Fixture f;
    f.AddTrack(0, {{0, 'L'}}, 720, 0, 0, 0);
    f.AddTrack(3, {{1, 'R'}}, 10, 1, 2, 5);
    f.AddTrack(7, {}, 20, 3, 4, 5);
    ASSERT_FALSE(f.Write());
    ASSERT_FALSE(f.Read());
    EXPECT_EQ(Describe(*f.r.design), "0 1 720 0 0 0 | 0L\n"
                                     "1 1 10 1 2 5 | 1R\n"
                                     "2 0 20 3 4 5 |\n");
    EXPECT_EQ(f.r.design->currentTrack, 2);
}

TEST(LoadDesignFile, EmptyTrackRoundTrips) {
    Tr2Fixture f;
    ASSERT_FALSE(f.Write()); // New design: one empty track in slot 0
    EXPECT_NE(test::ReadBytes(f.path).find("# Length in parts\r\n0\r\n# Angle"), std::string::npos);
    ASSERT_FALSE(f.Read());
    EXPECT_EQ(Describe(*f.r.design), "0 0 720 0 0 0 |\n");
}

TEST(LoadDesignFile, ResetsTheHistoryThenClearsTheFlag) {
    Tr2Fixture f;
    f.AddTrack(0, {{0, 'L'}});
    ASSERT_FALSE(f.Write());
    AllocateTrack(*f.r.design);
    TakeSnapshot(*f.r.history, *f.r.design);
    ASSERT_FALSE(f.Read());
    EXPECT_EQ(f.r.design->changed, 0);
    EXPECT_FALSE(CanUndo(*f.r.history));
    EXPECT_FALSE(CanRedo(*f.r.history));
    // The base state was taken while the allocations had the flag set.
    EXPECT_EQ(f.r.history->slots[f.r.history->position].changed, 1);
    EXPECT_EQ(Describe(f.r.history->slots[f.r.history->position]), Describe(*f.r.design));
}

struct ReadCase {
    const char* name;
    std::string text;
    std::string tracks; ///< Describe() of the design read
    float boardX;
    int currentTrack;
};

class ReadDesignTextTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadDesignTextTest, ReadsTheValueLinesInOrder) {
    Tr2Fixture f;
    const MaybeMessage m = f.ReadText(GetParam().text);
    ASSERT_FALSE(m) << m->text;
    EXPECT_EQ(Describe(*f.r.design), GetParam().tracks);
    EXPECT_EQ(f.r.design->boardX, GetParam().boardX);
    EXPECT_EQ(f.r.design->currentTrack, GetParam().currentTrack);
    EXPECT_EQ(f.r.design->changed, 0);
    EXPECT_FALSE(CanUndo(*f.r.history));
}

const std::string kLongComment = "#" + std::string(100, '=');

INSTANTIATE_TEST_SUITE_P(
    Files, ReadDesignTextTest,
    ::testing::Values(
        ReadCase{"values_only_lf", "10\n20\n0\n2\n720\n0\n0\n0\nC151 L\nC152 R\n",
                 "0 2 720 0 0 0 | 0L 1R\n", 10.0f, 0},
        ReadCase{"crlf", "10\r\n20\r\n0\r\n1\r\n4\r\n5\r\n6\r\n7\r\nC153 R\r\n",
                 "0 1 4 5 6 7 | 2R\n", 10.0f, 0},
        ReadCase{
            "comments_anywhere",
            "# any\n#\n10\n# text\n20\n#\n#\n0\n#\n1\n#x\n4\n#\n5\n##\n6\n#\n7\n#\nC151 L\n#\n",
            "0 1 4 5 6 7 | 0L\n", 10.0f, 0},
        ReadCase{"last_line_without_break", "10\n20\n0\n1\n0\n0\n0\n0\nC152 R",
                 "0 1 0 0 0 0 | 1R\n", 10.0f, 0},
        ReadCase{"empty_lines_read_as_zero", "\n20\n\n\n\n\n\n\n", "0 0 0 0 0 0 |\n", 0.0f, 0},
        ReadCase{"header_only", "# Lapwerk V2 format\n78.74\n59.06\n0\n", "", 78.74f, 0},
        ReadCase{"blank_line", "\n", "", 0.0f, 0}, ReadCase{"board_only", "12.5\n", "", 12.5f, 0},
        ReadCase{"negative_positions", "1\n2\n0\n0\n360\n-5120\n-2147483648\n-3\n",
                 "0 0 360 -5120 -2147483648 -3 |\n", 1.0f, 0},
        ReadCase{"long_comment_tail_is_a_value",
                 kLongComment + "\n12.5\n0\n1\n0\n0\n0\n0\nC151 L\n", "0 1 0 0 0 0 | 0L\n", 0.0f,
                 0},
        ReadCase{"part_line_blanks_and_extra_text",
                 "1\n2\n0\n2\n0\n0\n0\n0\n  C151\t R more\nC152  L\n", "0 2 0 0 0 0 | 0R 1L\n",
                 1.0f, 0},
        ReadCase{"other_direction_letter_kept", "1\n2\n0\n1\n0\n0\n0\n0\nC152 x\n",
                 "0 1 0 0 0 0 | 1x\n", 1.0f, 0},
        ReadCase{"values_with_trailing_text",
                 "3.25in\n2\n0\n1 parts\n720 deg\n 12 \n+7\n2x\nC151 L\n", "0 1 720 12 7 2 | 0L\n",
                 3.25f, 0},
        ReadCase{"block_without_parts_cut_short", "1\n2\n0\n1\n0\n0\n0\n0\nC151 L\n0\n90\n",
                 "0 1 0 0 0 0 | 0L\n1 0 90 0 0 0 |\n", 1.0f, 1},
        ReadCase{"trailing_empty_line_is_an_empty_track", "1\n2\n0\n0\n0\n0\n0\n0\n\n",
                 "0 0 0 0 0 0 |\n1 0 720 0 0 0 |\n", 1.0f, 1},
        ReadCase{"board_nan_reads_zero", "nan\ninf\n0\n", "", 0.0f, 0},
        ReadCase{"blank_lines_read_as_zero", "  \t\n\r\n \n \n\t\n0\n0\n0\n", "0 0 0 0 0 0 |\n",
                 0.0f, 0},
        ReadCase{"numbers_without_integer_digits", "+.5\n-.25e1\n0\n", "", 0.5f, 0},
        ReadCase{"text_beyond_ascii", "# Gr\xc3\xb6\xc3\x9f\xe9\n12 Zoll \xe9\n2\n0\n", "", 12.0f,
                 0},
        ReadCase{"board_beyond_float_clamped", "1e39\n-1e39\n0\n", "", FLT_MAX, 0},
        ReadCase{"angle_limits", "1\n2\n0\n0\n0\n0\n0\n0\n0\n1439\n0\n0\n0\n",
                 "0 0 0 0 0 0 |\n1 0 1439 0 0 0 |\n", 1.0f, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LoadDesignFile, ReadsSixtyFourTracksOfTwoThousandSections) {
    Tr2Fixture f;
    std::string text = "1\n2\n0\n";
    for (int t = 0; t < kMaxTracks; ++t) {
        text += "2000\n0\n0\n0\n0\n";
        for (int i = 0; i < kMaxSections; ++i) {
            text += i % 2 == 0 ? "C151 L\n" : "C152 R\n";
        }
    }
    const MaybeMessage m = f.ReadText(text);
    ASSERT_FALSE(m) << m->text;
    EXPECT_EQ(f.r.design->currentTrack, 63);
    EXPECT_EQ(f.r.design->tracks[63].sectionCount, 2000);
    EXPECT_EQ(f.r.design->tracks[63].partIndex[1999], 1);
    EXPECT_EQ(f.r.design->tracks[63].direction[1999], 'R');
}

TEST(LoadDesignFile, MissingFileLeavesNoTrackWithoutMessage) {
    Tr2Fixture f;
    f.r.design->boardX = 33.0f;
    f.AddTrack(2, {{0, 'L'}});
    SetDesignFileName(*f.r.design, f.dir.File("absent.tr2").c_str());
    EXPECT_FALSE(f.Read());
    EXPECT_EQ(Describe(*f.r.design), "");
    EXPECT_EQ(f.r.design->currentTrack, 0);
    EXPECT_EQ(f.r.design->changed, 0);
    EXPECT_EQ(f.r.design->boardX, 33.0f);
    EXPECT_EQ(std::string(f.r.design->fileName), f.dir.File("absent.tr2"));
    EXPECT_FALSE(CanUndo(*f.r.history));
    EXPECT_EQ(Describe(f.r.history->slots[f.r.history->position]), "");
}

TEST(LoadDesignFile, UnknownPartShowsTheMessageAndLeavesANewDesign) {
    Tr2Fixture f;
    const MaybeMessage m =
        f.ReadText("10\n20\n0\n1\n0\n0\n0\n0\nC151 L\n2\n0\n0\n0\n0\nC151 L\nX99 R\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->caption, "Error");
    EXPECT_EQ(m->text, "Part number X99 is unknown in PARTS.DEF . I think you used a PARTS.DEF "
                       "file that does not match the .TR2 file!");
    EXPECT_EQ(Describe(*f.r.design), "0 0 720 0 0 0 |\n");
    EXPECT_EQ(f.r.design->boardX, 10.0f);
    EXPECT_EQ(f.r.design->boardY, 20.0f);
}

struct RejectCase {
    const char* name;
    std::string text;
    std::string message; ///< a part of the message text
};

class RejectDesignTest : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RejectDesignTest, RejectsWhatTheModelCannotHold) {
    Tr2Fixture f;
    f.AddTrack(5, {{0, 'L'}});
    f.r.design->changed = 1;
    TakeSnapshot(*f.r.history, *f.r.design);
    const MaybeMessage m = f.ReadText(GetParam().text);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->caption, "Error");
    EXPECT_NE(m->text.find(GetParam().message), std::string::npos) << m->text;
    EXPECT_EQ(Describe(*f.r.design), "0 0 720 0 0 0 |\n");
    EXPECT_EQ(f.r.design->currentTrack, 0);
    EXPECT_EQ(f.r.design->changed, 0);
    EXPECT_FALSE(CanUndo(*f.r.history));
    EXPECT_EQ(Describe(f.r.history->slots[f.r.history->position]), "0 0 720 0 0 0 |\n");
}

std::string ManyTracks(int count) {
    std::string text = "1\n2\n0\n";
    for (int t = 0; t < count; ++t) {
        text += "0\n0\n0\n0\n0\n";
    }
    return text;
}

const std::string kHeader = "1\n2\n0\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RejectDesignTest,
    ::testing::Values(
        RejectCase{"negative_count", kHeader + "-1\n0\n0\n0\n0\n", "Line 4 "},
        RejectCase{"count_above_2000", kHeader + "2001\n0\n0\n0\n0\n", "2001"},
        RejectCase{"count_beyond_32_bits", kHeader + "4294967296\n0\n0\n0\n0\n", "Line 4 "},
        RejectCase{"sixty_five_tracks", ManyTracks(65), "64 tracks"},
        RejectCase{"angle_1440", kHeader + "0\n1440\n0\n0\n0\n", "Line 5 "},
        RejectCase{"angle_negative", kHeader + "0\n-1\n0\n0\n0\n", "-1"},
        RejectCase{"begin_x_beyond_32_bits", kHeader + "0\n0\n2147483648\n0\n0\n", "Line 6 "},
        RejectCase{"begin_y_beyond_32_bits", kHeader + "0\n0\n0\n-2147483649\n0\n", "Line 7 "},
        RejectCase{"group_beyond_32_bits", kHeader + "0\n0\n0\n0\n99999999999\n", "Line 8 "},
        RejectCase{"no_direction_letter", kHeader + "1\n0\n0\n0\n0\nC151\n", "Line 9 "},
        RejectCase{"no_direction_after_blanks", kHeader + "1\n0\n0\n0\n0\nC151   \n", "direction"},
        RejectCase{"empty_part_line", kHeader + "1\n0\n0\n0\n0\n\n", "direction"},
        RejectCase{"part_number_too_long", kHeader + "1\n0\n0\n0\n0\nABCDEFGHIJKLMNOP L\n",
                   "ABCDEFGHIJKLMNOP"},
        RejectCase{"ends_before_part_lines", kHeader + "3\n0\n0\n0\n0\nC151 L\n",
                   "after 1 of them"},
        RejectCase{"ends_inside_block_header", kHeader + "2\n0\n0\n", "Line 4 "},
        RejectCase{"comment_lines_do_not_count_as_parts",
                   kHeader + "2\n0\n0\n0\n0\nC151 L\n# C151 L\n", "after 1 of them"},
        RejectCase{"word_for_board_y", "1\nwide\n0\n", "\"wide\" where the board's Y size"},
        RejectCase{"word_for_count", kHeader + "many\n0\n0\n0\n0\n",
                   "line 4 holds \"many\" where the section count of track 1 belongs"},
        RejectCase{"lone_sign_for_count", kHeader + "-\n0\n0\n0\n0\n", "line 4 holds \"-\""},
        RejectCase{"word_for_angle", kHeader + "0\nnorth\n0\n0\n0\n", "the angle of track 1"},
        RejectCase{"word_for_begin_x", kHeader + "0\n0\nleft\n0\n0\n",
                   "the begin X position of track 1"},
        RejectCase{"point_for_begin_y", kHeader + "0\n0\n0\n.5\n0\n",
                   "the begin Y position of track 1"},
        RejectCase{"word_for_group", kHeader + "0\n0\n0\n0\nnone\n", "the group number of track 1"},
        RejectCase{"word_in_second_track", kHeader + "0\n0\n0\n0\n0\n0\nx\n", "track 2"},
        RejectCase{"nul_in_a_comment", kHeader + std::string("#a\0b\n", 5),
                   "line 4 holds the byte 0x00"},
        RejectCase{"escape_after_the_last_track", kHeader + "0\n0\n0\n0\n0\n\x1b", "0x1B"},
        RejectCase{"delete_byte", "1\x7f\n", "line 1 holds the byte 0x7F"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LoadDesignFile, LineNumbersCountPhysicalLines) {
    Tr2Fixture f;
    const MaybeMessage m = f.ReadText("# a\r\n# b\r\n1\r\n2\r\n#\r\n0\r\n#\r\n7000\r\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text.substr(0, 7), "Line 8 ") << m->text;
}

TEST(LoadDesignFile, NamesTheFileThatIsNoDesign) {
    Tr2Fixture f;
    f.path = f.dir.File("notes.tr2");
    SetDesignFileName(*f.r.design, f.path.c_str());
    const MaybeMessage letter = f.ReadText("# My notes\nthis is a letter\nto a friend\n");
    ASSERT_TRUE(letter);
    EXPECT_EQ(letter->caption, "Error");
    EXPECT_EQ(letter->text, "notes.tr2 is not a design file: line 2 holds \"this is a letter\" "
                            "where the board's X size belongs.");
    const MaybeMessage binary = f.ReadText(std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->text, "notes.tr2 is not a design file: line 2 holds the byte 0x1A, which is "
                            "not text.");
}

TEST(LoadDesignFile, DirectoryIsReportedAsUnreadable) {
    Tr2Fixture f;
    SetDesignFileName(*f.r.design, f.dir.path().c_str());
    const MaybeMessage m = f.Read();
    if (!m) {
        GTEST_SKIP() << "directories do not open as files here";
    }
    EXPECT_EQ(m->caption, "Error");
    EXPECT_EQ(Describe(*f.r.design), "0 0 720 0 0 0 |\n");
}

TEST(LoadDesignFile, OpensTheFileOnceAndLeavesTheShownDesignAlone) {
    Tr2Fixture f;
    f.AddTrack(0, {{0, 'L'}, {1, 'R'}});
    ASSERT_FALSE(f.Write());
    f.AddTrack(5, {{2, 'L'}});
    const std::string shown = Describe(*f.r.design);
    test::OpenCounter counter(f.path);
    ASSERT_TRUE(counter.ok());
    const auto load =
        std::make_unique<DesignLoad>(LoadDesignFile(f.path, *f.r.library, *f.r.design));
    EXPECT_EQ(counter.opens(), 1);
    EXPECT_TRUE(load->loaded());
    EXPECT_TRUE(load->markUnchanged);
    EXPECT_EQ(Describe(load->design), "0 2 720 0 0 0 | 0L 1R\n");
    EXPECT_EQ(Describe(*f.r.design), shown) << "parsed first, replaced by the caller";
}

TEST(LoadDesignFile, ReportsWhyTheFileDidNotOpen) {
    Tr2Fixture f;
    const auto load = std::make_unique<DesignLoad>(
        LoadDesignFile(f.dir.File("absent.tr2"), *f.r.library, *f.r.design));
    ASSERT_TRUE(load->openFailure.has_value());
    EXPECT_EQ(*load->openFailure, std::strerror(ENOENT));
    EXPECT_FALSE(load->problem.has_value());
    EXPECT_FALSE(load->loaded());
}

TEST(ParseDesign, GivesTheLineOfTheFault) {
    Tr2Fixture f;
    const std::optional<ReadError> unknown =
        ParseDesign("10\n20\n0\n1\n0\n0\n0\n0\nX99 R\n", *f.r.library, *f.r.design);
    ASSERT_TRUE(unknown.has_value());
    EXPECT_EQ(unknown->line, 9);
    const std::optional<ReadError> count =
        ParseDesign("# a\r\n1\r\n2\r\n0\r\n7000\r\n", *f.r.library, *f.r.design);
    ASSERT_TRUE(count.has_value());
    EXPECT_EQ(count->line, 5);
    EXPECT_EQ(count->text.substr(0, 7), "Line 5 ");
}

} // namespace
} // namespace lapwerk
