#pragma once

#include "design.h"
#include "part_library.h"
#include "read_error.h"

#include <optional>
#include <string_view>

namespace lapwerk {

/// The 17 part numbers that version-1 section codes (0..16, +1000 for right) stand for.
extern const char* const TrkPartNumbers[17];

/// Empties `design` as New design does and reads the version-1 .trk file `bytes` into it,
/// finding part numbers in `library`. On success track 1 is in slot 0 and current, track 2 (if
/// any) in slot 1, and `changed` is 1. A part missing from the library or a file that cannot
/// be described (a value that is no 32-bit whole number, a code without a part, a section count
/// outside 0..2000, a file that ends too early) gives the error; the design is then as New
/// design leaves it, keeping only the board size values read before the fault. `readFailed`
/// says the bytes end where reading the file failed: running out of them is then reported as
/// a file that could not be read.
std::optional<ReadError> ParseTrk(std::string_view bytes, const PartLibrary& library,
                                  Design& design, bool readFailed = false);

} // namespace lapwerk
