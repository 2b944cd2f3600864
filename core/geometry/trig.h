#pragma once

#include <cstdint>

namespace lapwerk {

/// 32768 x cos and 32768 x sin of each quarter degree 0..1439, computed with pi rounded to
/// single precision.
struct TrigTables {
    int32_t cos[1440];
    int32_t sin[1440];
};

/// Computes the tables; Trig() keeps the one copy.
TrigTables BuildTrigTables();

/// The tables, built on first use. Inline, so that the walk's many look-ups cost no call.
inline const TrigTables& Trig() {
    static const TrigTables tables = BuildTrigTables();
    return tables;
}

} // namespace lapwerk
