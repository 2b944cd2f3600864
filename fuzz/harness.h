#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lapwerk::fuzz {

/// The four kinds of file the program reads from users.
enum class Reader {
    PartsDef,    ///< the part library, parts.def
    SectionsOwn, ///< the inventory, sections.own
    Tr2,         ///< a design file
    Trk,         ///< a version-1 design for import
};

/// Folder name of a reader's seed corpus under tests/data/corpus/.
const char* CorpusFolder(Reader reader);

/// Feeds `data` as bytes to the reader's parser, then draws what it read on a screen canvas and
/// on a printer page, builds the section list, and formats the resulting design and parses it
/// back.
/// Returns the broken properties, one text each; an empty list means the input was handled
/// soundly. Crashes and undefined behaviour are left to the sanitizers.
std::vector<std::string> RunInput(Reader reader, const uint8_t* data, size_t size);

} // namespace lapwerk::fuzz
