#include "inventory_file.h"

#include "line_reader.h"
#include "number_text.h"

#include <cstring>
#include <string>
#include <string_view>

namespace lapwerk {

void ParseInventory(std::string_view bytes, const PartLibrary& library, Inventory& inventory) {
    std::memset(&inventory, 0, sizeof inventory);

    LineReader reader(UnterminatedLastLine::kDrop);
    reader.OpenText(bytes);
    std::string line;
    while (reader.ReadValueLine(line)) {
        // A part number (the first run of non-blank characters), then the owned count.
        const auto [token, rest] = SplitFirstToken(line);
        const std::string number(token);
        const ScannedInteger count = ScanInteger(rest);
        if (number.empty() || !count.hasDigits) {
            continue;
        }
        // A number longer than a Part's field can hold matches no Part.
        if (number.size() >= sizeof(Part::number)) {
            continue;
        }
        const int index = FindPartByNumber(library, number.c_str());
        if (index < 0) {
            continue;
        }
        inventory.owned[index] = count.value;
    }
}

} // namespace lapwerk
