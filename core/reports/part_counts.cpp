#include "part_counts.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace lapwerk {

std::array<int, kMaxParts> CountUsedPieces(const Design& design) {
    // At most 64 x 2000 Sections, so an int counter cannot overflow.
    std::array<int, kMaxParts> usedCount{};
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            continue;
        }
        const int sections = ListedSectionCount(track);
        for (int i = 0; i < sections; ++i) {
            ++usedCount[track.partIndex[i]];
        }
    }
    return usedCount;
}

std::vector<OwnedCount> OwnedCountsWithDesign(const Design& design, const PartLibrary& library,
                                              const Inventory& inventory) {
    const std::array<int, kMaxParts> usedCount = CountUsedPieces(design);
    std::vector<OwnedCount> counts;
    for (int i = 0; i < ListedPartCount(library); ++i) {
        if (usedCount[i] > 0) {
            const int64_t owned = int64_t{inventory.owned[i]} + usedCount[i];
            counts.push_back({library.parts[i].number,
                              static_cast<int32_t>(std::min<int64_t>(owned, INT32_MAX))});
        }
    }
    return counts;
}

PartCountRows RefreshPartCounts(const Design& design, const PartLibrary& library,
                                const Inventory& inventory) {
    const std::array<int, kMaxParts> usedCount = CountUsedPieces(design);

    PartCountRows rows;
    const int parts = ListedPartCount(library);
    rows.used.reserve(parts);
    rows.leftOver.reserve(parts);
    rows.leftOverCount.reserve(parts);
    for (int i = 0; i < parts; ++i) {
        const int64_t owned = inventory.owned[i];
        const int64_t leftOver = owned - usedCount[i];
        rows.used.push_back(std::to_string(usedCount[i]));
        rows.leftOver.push_back(leftOver != 0 || owned != 0 ? std::to_string(leftOver)
                                                            : std::string());
        rows.leftOverCount.push_back(leftOver);
    }
    return rows;
}

} // namespace lapwerk
