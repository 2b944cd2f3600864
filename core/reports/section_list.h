#pragma once

#include "design.h"
#include "design_view.h"
#include "inventory.h"
#include "part_library.h"

#include <string>
#include <vector>

namespace lapwerk {

/// The track section list, line by line (no line ends). `caption` is the main window caption,
/// `boardTexts` the texts of the board boxes; lane lengths are those of the last pass.
std::vector<std::string> BuildSectionList(const Design& design, const PartLibrary& library,
                                          const Inventory& inventory, const std::string& caption,
                                          const BoardTexts& boardTexts, bool metric);

} // namespace lapwerk
