#include "part_facts.h"

#include "number_text.h"

#include <string_view>

namespace lapwerk {

namespace {

constexpr double kInchesPerUnit = 0.00390625;
constexpr double kMillimetresPerInch = 25.4;
constexpr const char* kDegreeSign = "\xC2\xB0";

std::string_view KindName(int32_t kind) {
    switch (kind) {
    case kKindStraight:
        return "straight";
    case kKindLaneChange:
        return "lane change";
    case kKindCurve:
    case kKindCurve6:
        return "curve";
    case kKindBorderCurve:
        return "border curve";
    default:
        return IsStraightKind(kind) ? "straight with markings" : "draws nothing";
    }
}

std::string Size(int32_t units, bool metric) {
    const double inches = units * kInchesPerUnit;
    return metric ? FormatFixed(inches * kMillimetresPerInch, 1) + " mm"
                  : FormatFixed(inches, 2) + " in";
}

/// Quarter degrees as degrees, with no more decimals than the quarter needs: "45", "22.5".
std::string Degrees(int32_t quarterDegrees) {
    std::string text = FormatFixed(quarterDegrees / 4.0, quarterDegrees % 4 == 0 ? 0 : 2);
    if (quarterDegrees % 2 == 0 && quarterDegrees % 4 != 0) {
        text.pop_back(); // a half degree: "22.50" reads "22.5"
    }
    return text + kDegreeSign;
}

std::string LaneLengths(int32_t lane1, int32_t lane2, bool metric) {
    return "Lane lengths " + Size(lane1, metric) + " and " + Size(lane2, metric);
}

} // namespace

PartFacts DescribePart(const Part& part, bool metric) {
    PartFacts facts;
    facts.kind = "Kind " + std::to_string(part.kind) + ": " + std::string(KindName(part.kind));
    if (IsCurveKind(part.kind)) {
        facts.sizes = {"Width " + Size(part.width, metric),
                       "Radius " + Size(part.radius, metric) + ", arc " + Degrees(part.arc),
                       LaneLengths(part.laneLength1, part.laneLength2, metric)};
    } else if (IsStraightKind(part.kind)) {
        facts.sizes = {"Width " + Size(part.width, metric), "Length " + Size(part.length, metric),
                       LaneLengths(part.length, part.length, metric)};
    }
    return facts;
}

} // namespace lapwerk
