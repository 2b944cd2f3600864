#pragma once

#include "design.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lapwerk {

/// A lane length in model units as "%-4.2f m" (metres) or "%-4.2f '" (inches).
std::string FormatLaneLength(int32_t length, bool metric);

/// The rows of the lane-length window, one per track in use.
struct LaneLengthRows {
    std::vector<std::string> trackNumbers; ///< "Track n"
    std::vector<std::string> lane1;
    std::vector<std::string> lane2;
};

/// Builds the rows from the lengths stored by the last drawing pass.
LaneLengthRows RefreshLaneLengths(const Design& design, bool metric);

} // namespace lapwerk
