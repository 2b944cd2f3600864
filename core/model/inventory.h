#pragma once

#include "model/part_library.h"

#include <cstdint>

namespace lapwerk {

/// How many pieces of each Part the user owns, by part index.
struct Inventory {
    int32_t owned[kMaxParts];
};

/// Zeroes the inventory and reads `path` ("sections.own"), matching numbers in `library`.
/// A missing file leaves every count 0; unusable lines are skipped.
void LoadInventory(Inventory& inventory, const PartLibrary& library, const char* path);

} // namespace lapwerk
