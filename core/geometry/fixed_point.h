#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Wrapping 32-bit arithmetic for the walk. In range the results are those of plain int32
// arithmetic; a hostile part library or design file (lengths of 256 inches and more, arcs of a
// full turn and more, huge coordinates) wraps in two's complement instead of overflowing.
namespace lapwerk::fx {

/// `value` reduced to 32 bits, two's complement.
constexpr int32_t Wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

constexpr int32_t Add(int32_t a, int32_t b) {
    return Wrap(int64_t{a} + b);
}
constexpr int32_t Sub(int32_t a, int32_t b) {
    return Wrap(int64_t{a} - b);
}
constexpr int32_t Mul(int32_t a, int32_t b) {
    return Wrap(int64_t{a} * b);
}
constexpr int32_t Neg(int32_t a) {
    return Wrap(-int64_t{a});
}

/// Arithmetic shift right: rounds towards minus infinity.
constexpr int32_t Shr(int32_t a, int bits) {
    return a >> bits;
}

/// Pixels to fine pixels (x 256), wrapping.
constexpr int32_t Shl8(int32_t a) {
    return Wrap(int64_t{a} * 256);
}

/// `value` clamped into the int32 range.
constexpr int32_t Clamp32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

/// trunc(value) clamped into the int32 range; NaN gives 0.
inline int32_t TruncToInt32(long double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0L) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= -2147483648.0L) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

/// A table index for any angle in quarter degrees: the angle modulo a full turn, 0..1439.
constexpr int TrigIndex(int64_t angle) {
    if (angle >= 0 && angle < 1440) {
        return static_cast<int>(angle); // the usual case, without a division
    }
    const int64_t r = angle % 1440;
    return static_cast<int>(r < 0 ? r + 1440 : r);
}

} // namespace lapwerk::fx
