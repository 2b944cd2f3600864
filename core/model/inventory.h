#pragma once

#include "part_library.h"

#include <cstdint>

namespace lapwerk {

/// How many pieces of each Part the user owns, by part index.
struct Inventory {
    int32_t owned[kMaxParts];
};

} // namespace lapwerk
