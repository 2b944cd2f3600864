#include "line_reader.h"

#include "file_bytes.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

std::vector<std::string> AllLines(std::string_view text, UnterminatedLastLine rule) {
    LineReader reader(rule);
    reader.OpenText(text);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

struct LineCase {
    const char* name;
    std::string text;
    std::vector<std::string> dropped; ///< lines with the last unterminated line dropped
    std::vector<std::string> kept;    ///< lines with it kept
};

class LineReaderTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineReaderTest, SplitsLikeAnEightyCharacterBuffer) {
    const LineCase& c = GetParam();
    EXPECT_EQ(AllLines(c.text, UnterminatedLastLine::kDrop), c.dropped);
    EXPECT_EQ(AllLines(c.text, UnterminatedLastLine::kKeep), c.kept);
}

const std::string k78(78, 'a');
const std::string k79(79, 'b');

INSTANTIATE_TEST_SUITE_P(
    Lines, LineReaderTest,
    ::testing::Values(
        LineCase{"empty_file", "", {}, {}},
        LineCase{"lf", "one\ntwo\n", {"one", "two"}, {"one", "two"}},
        LineCase{"crlf", "one\r\ntwo\r\n", {"one", "two"}, {"one", "two"}},
        LineCase{"lone_cr_stays", "a\rb\n", {"a\rb"}, {"a\rb"}},
        LineCase{"cr_before_crlf", "a\r\r\n", {"a\r"}, {"a\r"}},
        LineCase{"trailing_cr_at_end", "a\nb\r", {"a"}, {"a", "b\r"}},
        LineCase{"unterminated_last_line", "one\ntwo", {"one"}, {"one", "two"}},
        LineCase{"empty_lines_are_lines", "\n\nx\n", {"", "", "x"}, {"", "", "x"}},
        LineCase{"spaces_kept", "  a b  \n", {"  a b  "}, {"  a b  "}},
        LineCase{"78_characters_fit", k78 + "\n", {k78}, {k78}},
        LineCase{"78_characters_crlf_fit", k78 + "\r\n", {k78}, {k78}},
        LineCase{"79_characters_split", k79 + "\nz\n", {k79, "", "z"}, {k79, "", "z"}},
        LineCase{"long_line_split", k79 + "tail\n", {k79, "tail"}, {k79, "tail"}},
        // The 79-character read stops before the end is met, so it is used in both modes.
        LineCase{"79_unterminated", k79, {k79}, {k79}},
        LineCase{"nul_ends_text", std::string("ab\0cd\nx\n", 8), {"ab", "x"}, {"ab", "x"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LineReader, ValueLinesSkipOnlyLinesStartingWithHash) {
    LineReader reader(UnterminatedLastLine::kDrop);
    reader.OpenText("# comment\n#\n #not a comment\n\n# x\nlast\n");
    std::string line;
    std::vector<std::string> values;
    while (reader.ReadValueLine(line)) {
        values.push_back(line);
    }
    EXPECT_EQ(values, (std::vector<std::string>{" #not a comment", "", "last"}));
}

TEST(LineReader, LongCommentTailIsAValue) {
    LineReader reader(UnterminatedLastLine::kDrop);
    const std::string text = "#" + std::string(78, '-') + "12.5\n";
    reader.OpenText(text);
    std::string line;
    ASSERT_TRUE(reader.ReadValueLine(line));
    EXPECT_EQ(line, "12.5");
}

TEST(LineReader, NumbersPhysicalLines) {
    LineReader reader(UnterminatedLastLine::kKeep);
    const std::string text = "a\r\n#\r\n" + k79 + "rest\r\nb";
    reader.OpenText(text);
    std::string line;
    std::vector<int64_t> numbers;
    while (reader.ReadValueLine(line)) {
        numbers.push_back(reader.lineNumber());
    }
    EXPECT_EQ(numbers, (std::vector<int64_t>{1, 3, 3, 4}));
}

TEST(LineReader, TellsTheRestOfACutLineFromALineOfItsOwn) {
    LineReader reader(UnterminatedLastLine::kKeep);
    const std::string text = "a\n" + k79 + "rest\n" + k79 + "\nb";
    reader.OpenText(text);
    std::string line;
    std::vector<bool> continues;
    while (reader.ReadLine(line)) {
        continues.push_back(reader.continuesLine());
    }
    EXPECT_EQ(continues, (std::vector<bool>{false, false, true, false, true, false}));
}

TEST(ReadFileBytes, ReadsAFileForTheLineReader) {
    test::TempDir dir;
    ASSERT_TRUE(dir.ok());
    const std::string path = dir.File("lines.txt");
    test::WriteBytes(path, "x\r\ny");
    const FileBytes file = ReadFileBytes(path);
    ASSERT_TRUE(file.opened());
    EXPECT_EQ(file.bytes, "x\r\ny");
    LineReader reader(UnterminatedLastLine::kKeep);
    reader.OpenText(file.bytes);
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "x");
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "y");
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_EQ(file.readError, 0);
}

TEST(ReadFileBytes, MissingFileDoesNotOpen) {
    test::TempDir dir;
    const FileBytes file = ReadFileBytes(dir.File("absent.txt"));
    EXPECT_FALSE(file.opened());
    EXPECT_EQ(file.openError, ENOENT);
    EXPECT_TRUE(file.bytes.empty());
}

TEST(ReadFileBytes, DirectoryIsAReadFailure) {
    test::TempDir dir;
    const FileBytes file = ReadFileBytes(dir.path());
    if (!file.opened()) {
        GTEST_SKIP() << "directories do not open as files here";
    }
    EXPECT_TRUE(file.bytes.empty());
    EXPECT_NE(file.readError, 0);
}

} // namespace
} // namespace lapwerk
