#pragma once

#include "design.h"
#include "inventory.h"
#include "part_library.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lapwerk {

/// One row of the parts list: a Part that the design uses or the user owns.
struct PartsListRow {
    std::string number; ///< the Part's number, UTF-8
    std::string name;   ///< the Part's name, UTF-8
    int64_t used;       ///< sections of the Part over all tracks in use
    int64_t owned;      ///< the inventory's count
    int64_t leftOver;   ///< owned - used, negative when the design needs more
    int64_t toBuy;      ///< the shortfall: -leftOver when negative, else 0
};

/// The parts list: one row per Part of the library, in library order, whose left-over count
/// the part panel shows (used or owned not 0), with the panel's counts.
std::vector<PartsListRow> BuildPartsList(const Design& design, const PartLibrary& library,
                                         const Inventory& inventory);

/// The parts list as a CSV file (RFC 4180, UTF-8): the header row
/// "Part,Name,Used,Owned,Left over,To buy" and one record per row, each ended by CR LF; a field
/// holding a comma, a double quote, CR or LF is quoted, its double quotes doubled.
std::string PartsListCsv(const std::vector<PartsListRow>& rows);

/// The parts list as aligned text lines (no line ends): the header, then one line per row;
/// texts left-aligned and counts right-aligned in columns two blanks apart, widths counted in
/// characters.
std::vector<std::string> PartsListTable(const std::vector<PartsListRow>& rows);

} // namespace lapwerk
