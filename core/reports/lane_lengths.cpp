#include "reports/lane_lengths.h"

#include <charconv>

namespace lapwerk {

namespace {

constexpr double kInchesPerUnit = 0.00390625;
constexpr double kMetresPerInch = 0.0254;

/// The number with two decimals, left-aligned in at least four characters ("%-4.2f"), with
/// a full stop whatever the process locale is.
std::string FixedTwoDecimals(double value) {
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    if (text.size() < 4) {
        text.append(4 - text.size(), ' ');
    }
    return text;
}

} // namespace

std::string FormatLaneLength(int32_t length, bool metric) {
    const double inches = length * kInchesPerUnit;
    if (metric) {
        return FixedTwoDecimals(inches * kMetresPerInch) + " m";
    }
    return FixedTwoDecimals(inches) + " '";
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
