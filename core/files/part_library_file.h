#pragma once

#include "part_library.h"

#include <string_view>

namespace lapwerk {

/// Clears the library and reads the Parts of the part library file `bytes` (parts.def): a unit
/// line ("METRIC..." for millimetres, otherwise inches), then nine value lines per Part. A Part
/// cut off by the end of the bytes is not counted; Parts after the 256th are ignored.
/// fileName stays empty.
void ParsePartLibrary(std::string_view bytes, PartLibrary& library);

/// Stores `path` as the library's fileName, truncated to what the field holds.
void SetLibraryFileName(PartLibrary& library, std::string_view path);

} // namespace lapwerk
