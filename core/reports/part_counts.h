#pragma once

#include "model/design.h"
#include "model/inventory.h"
#include "model/part_library.h"

#include <string>
#include <vector>

namespace lapwerk {

/// The rows of the used and left-over columns of the part usage panel, one per Part.
struct PartCountRows {
    std::vector<std::string> used;     ///< "%d" used count
    std::vector<std::string> leftOver; ///< "%d" owned - used, or "" when neither owned nor used
    std::vector<int> leftOverCount;    ///< owned - used, as a number
};

/// Counts the Sections of every track in use per Part and compares them with the inventory.
PartCountRows RefreshPartCounts(const Design& design, const PartLibrary& library,
                                const Inventory& inventory);

} // namespace lapwerk
