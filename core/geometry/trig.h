#pragma once

#include <cstdint>

namespace lapwerk {

/// 32768 x cos and x sin of each quarter degree 0..1439 (pi rounded to single precision).
extern int32_t CosTable[1440];
extern int32_t SinTable[1440];

/// Fills CosTable and SinTable; call once before the first drawing pass.
void BuildTrigTables();

} // namespace lapwerk
