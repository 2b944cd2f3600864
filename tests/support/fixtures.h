#pragma once

#include "design.h"
#include "inventory.h"
#include "part_library.h"
#include "undo.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace lapwerk::test {

/// The records are large (an undo ring holds ten Designs), so tests keep them on the heap.
struct Records {
    std::unique_ptr<Design> design = std::make_unique<Design>();
    std::unique_ptr<UndoRing> history = std::make_unique<UndoRing>();
    std::unique_ptr<PartLibrary> library = std::make_unique<PartLibrary>();
    std::unique_ptr<Inventory> inventory = std::make_unique<Inventory>();

    Records() {
        std::memset(design.get(), 0, sizeof(Design));
        std::memset(library.get(), 0, sizeof(PartLibrary));
        std::memset(inventory.get(), 0, sizeof(Inventory));
        design->boardX = 78.74016f;
        design->boardY = 78.74016f;
        SetDesignFileName(*design, kUntitledName);
        NewDesign(*design, *history);
    }
};

/// Copies `text` into a fixed-size field, cut to fit and always NUL-terminated.
template <size_t N> void CopyText(char (&field)[N], const char* text) {
    const size_t length = std::min(std::strlen(text), N - 1);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

/// Appends a Part to `library` and returns its index.
inline int AddPart(PartLibrary& library, const char* number, const char* name, int kind, int width,
                   int length, int arc = 0, int radius = 0, int lane1 = 0, int lane2 = 0) {
    Part& part = library.parts[library.count];
    std::memset(&part, 0, sizeof part);
    CopyText(part.number, number);
    CopyText(part.name, name);
    part.kind = kind;
    part.width = width;
    part.length = length;
    part.arc = arc;
    part.radius = radius;
    part.laneLength1 = lane1;
    part.laneLength2 = lane2;
    return library.count++;
}

} // namespace lapwerk::test
