#pragma once

#include "design.h"
#include "inventory.h"
#include "inventory_file.h"
#include "part_library.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lapwerk {

/// The rows of the used and left-over columns of the part usage panel, one per Part.
struct PartCountRows {
    std::vector<std::string> used;      ///< "%d" used count
    std::vector<std::string> leftOver;  ///< "%d" owned - used, or "" when neither owned nor used
    std::vector<int64_t> leftOverCount; ///< owned - used, as a number (owned may be any int32)
};

/// Counts the Sections of every track in use per Part and compares them with the inventory.
PartCountRows RefreshPartCounts(const Design& design, const PartLibrary& library,
                                const Inventory& inventory);

/// The Sections of every track in use counted per part index.
std::array<int, kMaxParts> CountUsedPieces(const Design& design);

/// The owned counts once the pieces the design uses are added to the inventory: one for each
/// Part the design uses (within the library), saturated to the int32 limit.
std::vector<OwnedCount> OwnedCountsWithDesign(const Design& design, const PartLibrary& library,
                                              const Inventory& inventory);

} // namespace lapwerk
