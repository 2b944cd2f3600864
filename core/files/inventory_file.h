#pragma once

#include "inventory.h"
#include "part_library.h"

#include <string_view>

namespace lapwerk {

/// Zeroes the inventory and reads the owned counts of the inventory file `bytes`
/// (sections.own): a part number and a count per line, numbers matched in `library`.
/// Unusable lines are skipped.
void ParseInventory(std::string_view bytes, const PartLibrary& library, Inventory& inventory);

} // namespace lapwerk
