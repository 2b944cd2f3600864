#include "lane_lengths.h"

#include "number_text.h"

namespace lapwerk {

namespace {

constexpr double kInchesPerUnit = 0.00390625;
constexpr double kMetresPerInch = 0.0254;

} // namespace

std::string FormatLaneLength(int32_t length, bool metric) {
    const double inches = length * kInchesPerUnit;
    if (metric) {
        return FormatFixed(inches * kMetresPerInch, 2, 4, FixedAlign::kLeft) + " m";
    }
    return FormatFixed(inches, 2, 4, FixedAlign::kLeft) + " '";
}

LaneLengthRows RefreshLaneLengths(const Design& design, bool metric) {
    LaneLengthRows rows;
    int number = 1;
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            continue;
        }
        rows.trackNumbers.push_back("Track " + std::to_string(number));
        rows.lane1.push_back(FormatLaneLength(track.lane1Length, metric));
        rows.lane2.push_back(FormatLaneLength(track.lane2Length, metric));
        ++number;
    }
    return rows;
}

} // namespace lapwerk
