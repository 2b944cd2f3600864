// The lines of `lapwerk-cli summary`, which prints SummaryLines of the opened design, one per
// line, for the example designs and part library.
#include "closure.h"
#include "file_steps.h"

#include "fixtures.h"

#include "tr2_file.h"
#include "trig.h"
#include "trk_import.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

std::string Visible(const std::string& line) {
    std::string text;
    for (char c : line) {
        text += c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return "\"" + text + "\"";
}

struct SummaryCase {
    const char* name;
    const char* file;
    bool metric;
    std::vector<std::string> lines;
};

void PrintTo(const SummaryCase& row, std::ostream* out) {
    *out << row.name;
}

class ExampleSummary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(ExampleSummary, OneLinePerTrackInUse) {
    const SummaryCase& row = GetParam();
    test::Records r;
    LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
    const std::string path = std::string(LAPWERK_EXAMPLES "/") + row.file;
    MaybeMessage message;
    if (path.ends_with(".trk")) {
        message = test::ImportIntoDesign(*r.design, *r.history, *r.library, path.c_str());
    } else {
        ASSERT_TRUE(SetDesignFileName(*r.design, path.c_str()));
        message = test::LoadIntoDesign(*r.design, *r.history, *r.library);
    }
    ASSERT_FALSE(message.has_value()) << message->text;

    const std::vector<std::string> lines = SummaryLines(*r.design, *r.library, row.metric);
    ASSERT_EQ(lines.size(), row.lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], row.lines[i])
            << "line " << i + 1 << "\n  actual:   " << Visible(lines[i])
            << "\n  expected: " << Visible(row.lines[i]);
    }
}

// The oval's lane 1 runs inside all eight 45-degree curves of radius 1 (190.46 mm against
// 251.72 mm each); the figure eight changes lanes before its two loops, so its lanes match.
INSTANTIATE_TEST_SUITE_P(
    Examples, ExampleSummary,
    ::testing::Values(
        SummaryCase{"oval_metric",
                    "oval.tr2",
                    true,
                    {"Track 1\t4.32 m\t4.81 m\t+0.49 m\tclosed\t0.5 mm\t0.0\xC2\xB0"}},
        SummaryCase{"figure_eight_metric",
                    "figure-eight.tr2",
                    true,
                    {"Track 1\t5.87 m\t5.87 m\t+0.00 m\tclosed\t1.4 mm\t0.0\xC2\xB0"}},
        SummaryCase{"figure_eight_imperial",
                    "figure-eight.tr2",
                    false,
                    {"Track 1\t231.19 '\t231.19 '\t+0.00 '\tclosed\t0.1 in\t0.0\xC2\xB0"}},
        SummaryCase{"grouped_two_tracks",
                    "grouped.tr2",
                    true,
                    {"Track 1\t4.32 m\t4.81 m\t+0.49 m\tclosed\t0.5 mm\t0.0\xC2\xB0",
                     "Track 2\t5.30 m\t5.79 m\t+0.49 m\tclosed\t0.5 mm\t0.0\xC2\xB0"}},
        SummaryCase{"imported_trk",
                    "example.trk",
                    true,
                    {"Track 1\t2.92 m\t3.41 m\t+0.49 m\tclosed\t0.5 mm\t0.0\xC2\xB0",
                     "Track 2\t3.90 m\t4.39 m\t+0.49 m\tclosed\t0.5 mm\t0.0\xC2\xB0"}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lapwerk
