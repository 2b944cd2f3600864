#pragma once

#include "inventory.h"
#include "part_library.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lapwerk {

/// The text of a new inventory file: a comment line that says what the lines hold.
inline constexpr std::string_view kNewInventoryText =
    "# Owned pieces: a part number and how many you own, one part a line\n";

/// Zeroes the inventory and reads the owned counts of the inventory file `bytes` (sections.own):
/// a part number and a count per line, numbers matched in `library`. Unusable lines are
/// skipped.
void ParseInventory(std::string_view bytes, const PartLibrary& library, Inventory& inventory);

/// A new owned count for the part of a number.
struct OwnedCount {
    std::string number;
    int32_t count = 0;
};

/// The inventory file `bytes` with these counts set, in order, as ParseInventory then reads
/// them. The user's lines stay, comments and order included: the count changes on the last line
/// that sets the number, and a number no line sets gets a line at the end (before a last line
/// without a line break, which is not read) unless its count is 0. A line that the reader takes
/// in pieces is left alone, and the count is set on a line at the end instead. Refused (none)
/// when a number would not read back as itself (PartNumberReadsBack).
std::optional<std::string> SetOwnedCountsInText(std::string_view bytes,
                                                const std::vector<OwnedCount>& counts);

/// Whether ParseInventory reads a line of `number` and a count back as that number: not empty,
/// no blank in it, not starting a comment, and short enough for a Part's number.
bool PartNumberReadsBack(std::string_view number);

/// An owned count as a user types it: a whole number of 0 or more, white space around it aside.
std::optional<int32_t> ReadOwnedCount(std::string_view text);

} // namespace lapwerk
