#include "part_library.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace lapwerk {

bool IsCurveKind(int32_t kind) {
    return kind == kKindCurve || kind == kKindCurve6 || kind == kKindBorderCurve;
}

namespace {

/// The kinds that lay and run alike: 0 lane change, 1 other straights, 2 curves, 3 the rest.
int ShapeClass(int32_t kind) {
    return kind == kKindLaneChange ? 0 : IsStraightKind(kind) ? 1 : IsCurveKind(kind) ? 2 : 3;
}

} // namespace

int ListedPartCount(const PartLibrary& library) {
    return std::clamp(library.count, int32_t{0}, int32_t{kMaxParts});
}

bool SameShape(const Part& a, const Part& b) {
    return ShapeClass(a.kind) == ShapeClass(b.kind) && a.width == b.width && a.length == b.length &&
           a.radius == b.radius && a.arc == b.arc && a.laneLength1 == b.laneLength1 &&
           a.laneLength2 == b.laneLength2;
}

bool IsStraightKind(int32_t kind) {
    switch (kind) {
    case 1:
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 10:
    case 11:
        return true;
    default:
        return false;
    }
}

int FindPartByNumber(const PartLibrary& library, const char* number) {
    if (number == nullptr) {
        return -1;
    }
    const std::string_view wanted(number);
    const int count =
        library.count < 0 ? 0 : (library.count > kMaxParts ? kMaxParts : library.count);
    for (int i = 0; i < count; ++i) {
        const Part& part = library.parts[i];
        const std::string_view have(part.number, strnlen(part.number, sizeof part.number));
        if (have == wanted) {
            return i;
        }
    }
    return -1;
}

} // namespace lapwerk
