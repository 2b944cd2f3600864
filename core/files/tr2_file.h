#pragma once

#include "design.h"
#include "message.h"
#include "part_library.h"
#include "read_error.h"

#include <optional>
#include <string>
#include <string_view>

namespace lapwerk {

/// Formats the design as the bytes of a .tr2 file into `bytes` (CR LF line ends, the same
/// bytes in every locale). A design whose part lines could not be read back (a part number
/// that is empty, holds blanks or begins with '#', a part index outside the library, a blank
/// direction letter) or whose section count no file can hold is refused with a message
/// (caption "Error").
MaybeMessage FormatDesign(const Design& design, const PartLibrary& library, std::string& bytes);

/// Empties `design` as New design does (board size, fileName and the toggle copies stay) and
/// reads the Tracks and board size of the .tr2 file `bytes` into it, finding part numbers in
/// `library`. On success the last Track read is current, bytes without a track leave no Track
/// in use and `changed` is as taking the Tracks left it (1 when a Track was read). An unknown part
/// number or a file the model cannot hold gives the error; so do bytes that are not text (a
/// control character other than tab, CR and LF) and a value line that holds no number where the
/// layout needs one (an empty line still reads as 0), which mark the error as no design at all.
/// The design is then as New design leaves it, with the board size read before the fault.
std::optional<ReadError> ParseDesign(std::string_view bytes, const PartLibrary& library,
                                     Design& design);

} // namespace lapwerk
