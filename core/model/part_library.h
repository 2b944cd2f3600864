#pragma once

#include <cstdint>

namespace lapwerk {

/// Number of Parts the library can hold; a part index fits one byte.
inline constexpr int kMaxParts = 256;

/// Geometry kinds that the rest of the program distinguishes.
enum PartKind : int32_t {
    kKindStraight = 1,
    kKindCurve = 2,
    kKindLaneChange = 3, ///< a straight after which the two lanes swap positions
    kKindCurve6 = 6,
    kKindBorderCurve = 7, ///< a curve whose outer edge is drawn as a border
};

/// One track piece of the library. Lengths in model units (1/256 inch), arc in quarter degrees.
struct Part {
    char number[16];     ///< catalogue code, NUL-terminated, at most 15 characters
    char name[40];       ///< descriptive name, NUL-terminated, at most 39 characters
    int32_t kind;        ///< geometry kind, see PartKind
    int32_t width;       ///< width across both lanes
    int32_t length;      ///< length of a straight along the travel direction
    int32_t arc;         ///< angle turned by a curve, quarter degrees
    int32_t radius;      ///< outer radius of a curve
    int32_t laneLength1; ///< curve lane length: first position turning 'L', second turning 'R'
    int32_t laneLength2; ///< curve lane length: second position turning 'L', first turning 'R'
};

/// The table of Parts read from parts.def; a Part is referred to by its index everywhere.
struct PartLibrary {
    /// The path the library was loaded from, cut to 39 characters: a record of the load. The
    /// window and the command line keep the whole path with the inventory beside it.
    char fileName[40];
    int32_t count; ///< Parts loaded, 0..256
    Part parts[kMaxParts];
};

/// True for the curve kinds 2, 6 and 7, the only kinds whose direction letter matters.
bool IsCurveKind(int32_t kind);

/// True for the kinds the walk lays as straights: 1, 3, 4, 5, 8, 9, 10 and 11.
bool IsStraightKind(int32_t kind);

/// Whether two Parts lay alike and are run alike: both lane changes, both other straight kinds
/// or both curve kinds, of equal width, length, radius, arc and lane lengths. A decorated
/// straight has the shape of a plain one; a lane change never has.
bool SameShape(const Part& a, const Part& b);

/// The plain kinds, straight (1) and curve (2), before the decorated ones.
inline bool IsPlainKind(int32_t kind) {
    return kind == kKindStraight || kind == kKindCurve;
}

/// Number of Parts of the library that the reports list: `count`, kept within 0..256.
int ListedPartCount(const PartLibrary& library);

/// Index of the first Part whose number equals `number` exactly, or -1.
int FindPartByNumber(const PartLibrary& library, const char* number);

} // namespace lapwerk
