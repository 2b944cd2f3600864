#include "harness.h"

#include "canvas.h"
#include "design.h"
#include "design_view.h"
#include "hit_test.h"
#include "inventory.h"
#include "inventory_file.h"
#include "number_text.h"
#include "part_library.h"
#include "part_library_file.h"
#include "print_pass.h"
#include "section_list.h"
#include "tr2_file.h"
#include "trk_import.h"
#include "undo.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

namespace lapwerk::fuzz {

namespace {

using Problems = std::vector<std::string>;

/// A canvas that reads every argument it is given, so that garbage reaching the drawing
/// calls (an unterminated text, an uninitialised corner) shows up under the sanitizers.
class TouchingCanvas final : public Canvas {
public:
    void setPen(Rgb colour, int width) override { mix(colour.r, colour.g, colour.b, width); }
    void setBrush(Rgb colour) override { mix(colour.r, colour.g, colour.b); }
    void moveTo(int32_t x, int32_t y) override { mix(x, y); }
    void lineTo(int32_t x, int32_t y) override { mix(x, y); }
    void polygon(const PixelPoint (&corners)[4]) override {
        for (const PixelPoint& corner : corners) {
            mix(corner.x, corner.y);
        }
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        mix(left, top, right, bottom);
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        mix(left, top, right, bottom);
    }
    void textOut(int32_t x, int32_t y, const char* text) override {
        mix(x, y);
        for (const char* p = text; *p != '\0'; ++p) {
            mix(*p);
        }
    }
    uint64_t sum() const { return sum_; }

private:
    template <typename... Values> void mix(Values... values) {
        ((sum_ = sum_ * 1099511628211u + static_cast<uint64_t>(values)), ...);
    }
    uint64_t sum_ = 1469598103934665603u;
};

/// The records of one run. They are large (the undo ring holds ten Designs), so they live on
/// the heap, and they are reused from input to input.
struct Records {
    std::unique_ptr<Design> design = std::make_unique<Design>();
    std::unique_ptr<Design> reread = std::make_unique<Design>();
    std::unique_ptr<UndoRing> history = std::make_unique<UndoRing>();
    std::unique_ptr<PartLibrary> library = std::make_unique<PartLibrary>();
    std::unique_ptr<PartLibrary> reloadedLibrary = std::make_unique<PartLibrary>();
    std::unique_ptr<PartLibrary> fixedLibrary = std::make_unique<PartLibrary>();
    std::unique_ptr<PartLibrary> partialLibrary = std::make_unique<PartLibrary>();
    std::unique_ptr<Inventory> inventory = std::make_unique<Inventory>();
    uint32_t pickSeed = 0; ///< where the pick lands, taken from the input
};

struct FixedPart {
    const char* number;
    const char* name;
    int32_t kind, width, length, arc, radius, lane1, lane2;
};

// Ordinary geometry, every kind the walk knows and some it skips. The import numbers are not
// at the indexes of their codes, and two numbers repeat, so that lookups are really made.
constexpr FixedPart kFixedParts[] = {
    {"X100", "Start straight", 1, 1600, 3527, 0, 0, 0, 0},
    {"C151", "Standard straight", 1, 1600, 3527, 0, 0, 0, 0},
    {"C152", "Half straight", 1, 1600, 1764, 0, 0, 0, 0},
    {"C153", "Quarter straight", 1, 1600, 882, 0, 0, 0, 0},
    {"C154", "Standard curve 45", 2, 1600, 0, 180, 5000, 3000, 3400},
    {"C156", "Curve 22.5", 2, 1600, 0, 90, 6600, 2300, 2500},
    {"C179", "Wide curve 90", 6, 1600, 0, 360, 9000, 11000, 12000},
    {"C187", "Border curve 11.25", 7, 1600, 0, 45, 9000, 1500, 1600},
    {"C157", "Lane change", 3, 1600, 3527, 0, 0, 0, 0},
    {"C158", "Chicane", 4, 1600, 3527, 0, 0, 0, 0},
    {"C159", "Crossing", 5, 1600, 3527, 0, 0, 0, 0},
    {"C160", "Narrowing", 8, 1600, 3527, 0, 0, 0, 0},
    {"C168", "Widening", 9, 1600, 3527, 0, 0, 0, 0},
    {"C174a", "Start grid", 10, 1600, 3527, 0, 0, 0, 0},
    {"C176", "Chevrons", 11, 1600, 3527, 0, 0, 0, 0},
    {"C178", "Kind 0", 0, 1600, 3527, 0, 0, 0, 0},
    {"C182", "Kind 12", 12, 1600, 3527, 0, 0, 0, 0},
    {"C277", "Negative kind", -3, 1600, 3527, 180, 5000, 0, 0},
    {"K7B", "Border curve 5", 7, 1600, 0, 20, 4000, 700, 800},
    {"K2X", "Near full turn", 2, 1600, 0, 1439, 3000, 30000, 32000},
    {"K6Z", "Curve 25", 6, 1600, 0, 100, 6000, 2600, 2800},
    {"Z99", "Kind 99", 99, 1600, 3527, 0, 0, 0, 0},
    {"C151", "Second C151", 2, 1600, 0, 360, 5000, 0, 0},
    {"c151", "Lower-case c151", 1, 1600, 3527, 0, 0, 0, 0},
};

void AddFixedPart(PartLibrary& library, const FixedPart& source) {
    Part& part = library.parts[library.count++];
    std::strncpy(part.number, source.number, sizeof part.number - 1);
    std::strncpy(part.name, source.name, sizeof part.name - 1);
    part.kind = source.kind;
    part.width = source.width;
    part.length = source.length;
    part.arc = source.arc;
    part.radius = source.radius;
    part.laneLength1 = source.lane1;
    part.laneLength2 = source.lane2;
}

/// The full fixed library, or with `omitted` left out (nullptr keeps everything).
void BuildFixedLibrary(PartLibrary& library, const char* omitted) {
    std::memset(&library, 0, sizeof library);
    std::strcpy(library.fileName, "fixed.def");
    for (const FixedPart& part : kFixedParts) {
        if (omitted == nullptr || std::strcmp(part.number, omitted) != 0) {
            AddFixedPart(library, part);
        }
    }
}

Records& TheRecords() {
    static Records* records = [] {
        auto* made = new Records;
        std::memset(made->design.get(), 0, sizeof(Design));
        std::memset(made->reread.get(), 0, sizeof(Design));
        std::memset(made->library.get(), 0, sizeof(PartLibrary));
        BuildFixedLibrary(*made->fixedLibrary, nullptr);
        BuildFixedLibrary(*made->partialLibrary, "C151");
        NewDesign(*made->design, *made->history);
        return made;
    }();
    return *records;
}

bool Terminated(const char* text, size_t capacity) {
    return std::memchr(text, '\0', capacity) != nullptr;
}

/// A part number that a design file can carry: a part line is split at white space, a line
/// starting with '#' is a comment and a file with a control character is no text.
bool WritableNumber(const char* number) {
    if (number[0] == '\0' || number[0] == '#') {
        return false;
    }
    for (const char* p = number; *p != '\0'; ++p) {
        if (std::isspace(static_cast<unsigned char>(*p)) != 0 || IsControlByte(*p)) {
            return false;
        }
    }
    return true;
}

std::string SlotText(int slot) {
    return "track slot " + std::to_string(slot);
}

void CheckNewDesignState(const Design& design, const char* what, Problems& problems) {
    const std::string prefix = std::string(what) + " rejected: ";
    const Track& first = design.tracks[0];
    if (first.inUse != 1 || first.sectionCount != 0 || first.selectedSection != kNoSelection ||
        first.angle != kHeadingNorth || first.beginX != 0 || first.beginY != 0 ||
        first.group != 0) {
        problems.push_back(prefix + "slot 0 is not one empty new track");
    }
    for (int slot = 1; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0) {
            problems.push_back(prefix + SlotText(slot) + " is still in use");
        }
    }
    if (design.currentTrack != 0) {
        problems.push_back(prefix + "current track is " + std::to_string(design.currentTrack));
    }
    if (design.changed != 0) {
        problems.push_back(prefix + "design is marked changed");
    }
}

/// What every design a reader produces must satisfy, whatever the file held.
void CheckModelLimits(const Design& design, const PartLibrary& library, Problems& problems) {
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        const Track& track = design.tracks[slot];
        if (track.inUse == 0) {
            continue;
        }
        const std::string where = SlotText(slot);
        if (track.sectionCount < 0 || track.sectionCount > kMaxSections) {
            problems.push_back(where + " holds " + std::to_string(track.sectionCount) +
                               " sections");
            continue;
        }
        if (track.angle < 0 || track.angle >= kFullTurn) {
            problems.push_back(where + " has angle " + std::to_string(track.angle));
        }
        if (track.selectedSection != kNoSelection) {
            problems.push_back(where + " has a selected section after reading");
        }
        for (int i = 0; i < track.sectionCount; ++i) {
            if (track.partIndex[i] >= library.count) {
                problems.push_back(where + " section " + std::to_string(i) +
                                   " refers to part index " + std::to_string(track.partIndex[i]));
                break;
            }
        }
    }
}

/// Slots in use, in order; a reader fills them from slot 0 without gaps.
std::vector<int> SlotsInUse(const Design& design) {
    std::vector<int> slots;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0) {
            slots.push_back(slot);
        }
    }
    return slots;
}

bool SameFloat(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

/// The board size a "%5.2f" line carries back.
bool BoardSurvives(float written, float read) {
    char text[512];
    std::snprintf(text, sizeof text, "%5.2f", static_cast<double>(written));
    return SameFloat(read, std::strtof(text, nullptr)) ||
           SameFloat(read, static_cast<float>(std::strtod(text, nullptr)));
}

/// Whether every Section of the design names a part number a file can carry.
bool DesignIsWritable(const Design& design, const PartLibrary& library) {
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            continue;
        }
        for (int i = 0; i < track.sectionCount && i < kMaxSections; ++i) {
            if (!WritableNumber(library.parts[track.partIndex[i]].number)) {
                return false;
            }
            const char letter = track.direction[i];
            if (letter == '\0' || std::isspace(static_cast<unsigned char>(letter)) != 0 ||
                IsControlByte(letter)) {
                return false;
            }
        }
    }
    return true;
}

void CompareRoundTrip(const Design& before, const Design& after, const PartLibrary& library,
                      Problems& problems) {
    if (!BoardSurvives(before.boardX, after.boardX) ||
        !BoardSurvives(before.boardY, after.boardY)) {
        problems.push_back("round trip: board size " + std::to_string(before.boardX) + " x " +
                           std::to_string(before.boardY) + " read back as " +
                           std::to_string(after.boardX) + " x " + std::to_string(after.boardY));
    }
    const std::vector<int> written = SlotsInUse(before);
    const std::vector<int> read = SlotsInUse(after);
    if (written.size() != read.size()) {
        problems.push_back("round trip: " + std::to_string(written.size()) + " tracks written, " +
                           std::to_string(read.size()) + " read");
        return;
    }
    // With duplicate numbers a Section reads back as the first Part of its number.
    int firstOfNumber[kMaxParts];
    std::fill(std::begin(firstOfNumber), std::end(firstOfNumber), -1);
    for (int i = 0; i < library.count && i < kMaxParts; ++i) {
        firstOfNumber[i] = FindPartByNumber(library, library.parts[i].number);
    }
    for (size_t n = 0; n < written.size(); ++n) {
        const Track& a = before.tracks[written[n]];
        const Track& b = after.tracks[read[n]];
        const std::string where = "round trip: track " + std::to_string(n + 1);
        if (read[n] != static_cast<int>(n)) {
            problems.push_back(where + " landed in slot " + std::to_string(read[n]));
        }
        if (a.angle != b.angle || a.beginX != b.beginX || a.beginY != b.beginY ||
            a.group != b.group || a.sectionCount != b.sectionCount) {
            problems.push_back(where + " header differs");
            continue;
        }
        for (int i = 0; i < a.sectionCount; ++i) {
            if (b.partIndex[i] != firstOfNumber[a.partIndex[i]] ||
                b.direction[i] != a.direction[i]) {
                problems.push_back(where + " section " + std::to_string(i) + " differs");
                break;
            }
        }
    }
    if (!written.empty() && after.currentTrack != read.back()) {
        problems.push_back("round trip: the last track read is not current");
    }
}

/// Formats the design, parses the bytes again and formats that: the parse must give the same
/// design and the second formatting the same bytes.
void CheckRoundTrip(Records& records, const Design& design, const PartLibrary& library,
                    Problems& problems) {
    std::string written;
    if (!DesignIsWritable(design, library)) {
        // Such a file would not load again, so formatting must refuse with a message.
        if (!FormatDesign(design, library, written)) {
            problems.push_back("a design whose part numbers cannot be read back was formatted");
        }
        return;
    }
    if (MaybeMessage failed = FormatDesign(design, library, written)) {
        problems.push_back("formatting the design failed: " + failed->text);
        return;
    }
    Design& reread = *records.reread;
    InitTrack(reread.tracks[0]);
    reread.boardX = -1.0f;
    reread.boardY = -1.0f;
    if (std::optional<ReadError> failed = ParseDesign(written, library, reread)) {
        problems.push_back("reading a formatted design failed: " + failed->text);
        return;
    }
    CompareRoundTrip(design, reread, library, problems);
    std::string rewritten;
    if (MaybeMessage failed = FormatDesign(reread, library, rewritten)) {
        problems.push_back("formatting the design again failed: " + failed->text);
        return;
    }
    if (written != rewritten) {
        problems.push_back("a design read back from its bytes is formatted with other bytes");
    }
}

/// Two screen passes (every toggle on at the largest zoom, every toggle off at the smallest),
/// a printer pass, the section list and a pick in the middle of the drawing area.
void RunPasses(Design& design, const PartLibrary& library, const Inventory& inventory,
               uint32_t pickSeed, Problems& problems) {
    TouchingCanvas screen;
    DesignView view;
    view.library = &library;
    view.areaWidth = 801;
    view.areaHeight = 600;

    view.zoom = 24;
    view.metric = true;
    design.segments = design.filledIn = design.ruler = design.grid = 1;
    RedrawDesign(design, view, &screen);

    view.zoom = 1;
    view.metric = false;
    design.segments = design.filledIn = design.ruler = design.grid = 0;
    RedrawDesign(design, view, &screen);

    design.segments = 1;
    TouchingCanvas printer;
    const int current = design.currentTrack;
    const std::string caption = DesignCaption(design);
    (void)PrintDesignPage(design, view, printer, PageSize{4960, 7016}, caption);
    if (design.currentTrack != current) {
        problems.push_back("printing changed the current track");
    }

    const std::vector<std::string> lines =
        BuildSectionList(design, library, inventory, caption, view.boardTexts, view.metric);
    if (lines.empty() || lines.back() != "--- END ---") {
        problems.push_back("the section list does not end with its end line");
    }
    for (const std::string& line : lines) {
        if (line.find('\n') != std::string::npos) {
            problems.push_back("a section list line holds a line break");
            break;
        }
    }

    PickAt(design, view, static_cast<int32_t>(pickSeed % 1000u) - 100,
           static_cast<int32_t>(pickSeed / 1000u % 800u) - 100);
    volatile uint64_t sink = screen.sum() ^ printer.sum();
    (void)sink;
}

/// A design that uses every Part of the library, turning both ways, over three tracks with
/// different headings, one of them a group of two.
void BuildDesignUsingAll(Records& records, const PartLibrary& library) {
    Design& design = *records.design;
    design.boardX = 78.74016f;
    design.boardY = 59.05512f;
    NewDesign(design, *records.history);
    const int count =
        library.count < 0 ? 0 : (library.count > kMaxParts ? kMaxParts : library.count);
    Track& both = design.tracks[0];
    for (int i = 0; i < count; ++i) {
        for (char letter : {'L', 'R'}) {
            both.partIndex[both.sectionCount] = static_cast<uint8_t>(i);
            both.direction[both.sectionCount] = letter;
            ++both.sectionCount;
        }
    }
    both.selectedSection = both.sectionCount - 1;

    const int reversedSlot = AllocateTrack(design);
    Track& reversed = design.tracks[reversedSlot];
    reversed.angle = kFullTurn - 1;
    reversed.beginX = -5000;
    reversed.beginY = 3000;
    reversed.group = 7;
    for (int i = count - 1; i >= 0; --i) {
        reversed.partIndex[reversed.sectionCount] = static_cast<uint8_t>(i);
        reversed.direction[reversed.sectionCount] = 'R';
        ++reversed.sectionCount;
    }

    const int southSlot = AllocateTrack(design);
    Track& south = design.tracks[southSlot];
    south.angle = 0;
    south.beginX = 20000;
    south.beginY = -12000;
    south.group = 7;
    for (int i = 0; i < count; ++i) {
        south.partIndex[south.sectionCount] = static_cast<uint8_t>(i);
        south.direction[south.sectionCount] = i % 3 == 0 ? 'R' : 'L';
        ++south.sectionCount;
    }
    south.selectedSection = count / 2 - 1;

    // The begin point at the corner of the coordinate range, heading East.
    const int farSlot = AllocateTrack(design);
    Track& far = design.tracks[farSlot];
    far.angle = 1080;
    far.beginX = INT32_MAX;
    far.beginY = INT32_MIN;
    for (int i = 0; i < count; ++i) {
        far.partIndex[far.sectionCount] = static_cast<uint8_t>(count - 1 - i);
        far.direction[far.sectionCount] = i % 2 == 0 ? 'L' : 'R';
        ++far.sectionCount;
    }
    design.currentTrack = 0;
}

bool SameParts(const PartLibrary& a, const PartLibrary& b) {
    if (a.count != b.count) {
        return false;
    }
    for (int i = 0; i < a.count; ++i) {
        const Part& p = a.parts[i];
        const Part& q = b.parts[i];
        if (std::strcmp(p.number, q.number) != 0 || std::strcmp(p.name, q.name) != 0 ||
            p.kind != q.kind || p.width != q.width || p.length != q.length || p.arc != q.arc ||
            p.radius != q.radius || p.laneLength1 != q.laneLength1 ||
            p.laneLength2 != q.laneLength2) {
            return false;
        }
    }
    return true;
}

void CheckLibrary(const PartLibrary& library, Problems& problems) {
    if (library.count < 0 || library.count > kMaxParts) {
        problems.push_back("library count " + std::to_string(library.count));
        return;
    }
    if (!Terminated(library.fileName, sizeof library.fileName)) {
        problems.push_back("library file name is not terminated");
    }
    for (int i = 0; i < library.count; ++i) {
        const Part& part = library.parts[i];
        if (!Terminated(part.number, sizeof part.number) ||
            !Terminated(part.name, sizeof part.name)) {
            problems.push_back("part " + std::to_string(i) + " holds an unterminated text");
            return;
        }
        const int found = FindPartByNumber(library, part.number);
        if (found < 0 || found > i || std::strcmp(library.parts[found].number, part.number) != 0) {
            problems.push_back("part " + std::to_string(i) + " is not found by its number");
        }
    }
}

Problems RunPartsDef(Records& records, std::string_view bytes) {
    Problems problems;
    PartLibrary& library = *records.library;
    // Stale Parts from an earlier input must not make a finding irreproducible.
    std::memset(&library, 0x5a, sizeof library);
    ParsePartLibrary(bytes, library);
    CheckLibrary(library, problems);
    if (!problems.empty()) {
        return problems;
    }
    // Loading again over other leftovers must give the same Parts.
    PartLibrary& again = *records.reloadedLibrary;
    std::memset(&again, 0xa5, sizeof again);
    ParsePartLibrary(bytes, again);
    if (!SameParts(library, again)) {
        problems.push_back("loading the same library twice gives different Parts");
        return problems;
    }
    std::memset(records.inventory.get(), 0, sizeof(Inventory));
    BuildDesignUsingAll(records, library);
    RunPasses(*records.design, library, *records.inventory, records.pickSeed, problems);
    BuildDesignUsingAll(records, library);
    CheckRoundTrip(records, *records.design, library, problems);
    return problems;
}

Problems RunSectionsOwn(Records& records, std::string_view bytes) {
    Problems problems;
    const PartLibrary& library = *records.fixedLibrary;
    Inventory& inventory = *records.inventory;
    std::memset(&inventory, 0x5a, sizeof inventory);
    ParseInventory(bytes, library, inventory);
    auto again = std::make_unique<Inventory>();
    std::memset(again.get(), 0xa5, sizeof(Inventory));
    ParseInventory(bytes, library, *again);
    if (std::memcmp(again.get(), &inventory, sizeof(Inventory)) != 0) {
        problems.push_back("loading the same inventory twice gives different counts");
    }
    for (int i = library.count; i < kMaxParts; ++i) {
        if (inventory.owned[i] != 0) {
            problems.push_back("owned count for part index " + std::to_string(i) +
                               " beyond the library");
            break;
        }
    }
    BuildDesignUsingAll(records, library);
    RunPasses(*records.design, library, inventory, records.pickSeed, problems);
    return problems;
}

/// Leaves edits in the design, as a user would have before opening or importing a file.
void DirtyDesign(Records& records) {
    Design& design = *records.design;
    design.boardX = 12.5f;
    design.boardY = 7.25f;
    NewDesign(design, *records.history);
    const int slot = AllocateTrack(design);
    design.tracks[slot].sectionCount = 3;
    design.tracks[slot].group = 4;
    design.currentTrack = slot;
    TakeSnapshot(*records.history, design);
}

Problems RunTr2(Records& records, std::string_view bytes) {
    Problems problems;
    const PartLibrary& library = *records.fixedLibrary;
    Design& design = *records.design;
    DirtyDesign(records);
    if (std::optional<ReadError> rejected = ParseDesign(bytes, library, design)) {
        if (rejected->text.empty()) {
            problems.push_back("a rejected design file gives no error message");
        }
        if (rejected->notADesign && rejected->line < 1) {
            problems.push_back("a file refused as no design names no line");
        }
        CheckNewDesignState(design, "design file", problems);
        RunPasses(design, library, *records.inventory, records.pickSeed, problems);
        return problems;
    }
    CheckModelLimits(design, library, problems);
    if (std::any_of(bytes.begin(), bytes.end(), IsControlByte)) {
        problems.push_back("a design file with bytes that are not text was read");
    }
    const std::vector<int> slots = SlotsInUse(design);
    for (size_t n = 0; n < slots.size(); ++n) {
        if (slots[n] != static_cast<int>(n)) {
            problems.push_back("tracks read are not in slots 0, 1, 2, ...");
            break;
        }
    }
    const int expectedCurrent = slots.empty() ? 0 : slots.back();
    if (design.currentTrack != expectedCurrent) {
        problems.push_back("the last track read is not current");
    }
    if (!problems.empty()) {
        return problems;
    }
    RunPasses(design, library, *records.inventory, records.pickSeed, problems);
    CheckRoundTrip(records, design, library, problems);
    return problems;
}

bool IsImportNumber(const char* number) {
    for (const char* known : TrkPartNumbers) {
        if (std::strcmp(known, number) == 0) {
            return true;
        }
    }
    return false;
}

/// How many values an import of `design` read: seven before track 1's count, its codes, one
/// value and track 2's count, then track 2's codes.
int TrkValueCount(const Design& design) {
    const int secondCount = design.tracks[1].inUse != 0 ? design.tracks[1].sectionCount : 0;
    return 7 + 1 + design.tracks[0].sectionCount + 2 + secondCount;
}

/// True when the first `count` values of a .trk file, split at white space, hold no control
/// byte. What follows the last value is never read, so it may hold anything.
bool ValuesReadAreText(std::string_view bytes, int count) {
    size_t at = 0;
    for (int value = 0; value < count; ++value) {
        while (at < bytes.size() && IsBlank(bytes[at])) {
            ++at;
        }
        for (; at < bytes.size() && !IsBlank(bytes[at]); ++at) {
            if (IsControlByte(bytes[at])) {
                return false;
            }
        }
    }
    return true;
}

void RunTrkWith(Records& records, const PartLibrary& library, std::string_view bytes,
                Problems& problems) {
    Design& design = *records.design;
    DirtyDesign(records);
    if (std::optional<ReadError> rejected = ParseTrk(bytes, library, design)) {
        if (rejected->text.empty()) {
            problems.push_back("a rejected import gives no error message");
        }
        CheckNewDesignState(design, "import", problems);
        RunPasses(design, library, *records.inventory, records.pickSeed, problems);
        return;
    }
    CheckModelLimits(design, library, problems);
    if (!ValuesReadAreText(bytes, TrkValueCount(design))) {
        problems.push_back("an import read a value holding bytes that are not text");
    }
    const std::vector<int> slots = SlotsInUse(design);
    if (slots.empty() || slots.size() > 2 || slots[0] != 0 ||
        (slots.size() == 2 && slots[1] != 1)) {
        problems.push_back("an import gives " + std::to_string(slots.size()) + " tracks");
        return;
    }
    for (int slot : slots) {
        const Track& track = design.tracks[slot];
        if (track.angle != kHeadingNorth || track.beginY != 0 ||
            track.beginX != (slot == 0 ? 0 : -1568) || track.group != 0) {
            problems.push_back("imported " + SlotText(slot) + " has the wrong begin");
        }
        for (int i = 0; i < track.sectionCount && i < kMaxSections; ++i) {
            if ((track.direction[i] != 'L' && track.direction[i] != 'R') ||
                (track.partIndex[i] < library.count &&
                 !IsImportNumber(library.parts[track.partIndex[i]].number))) {
                problems.push_back("imported " + SlotText(slot) + " section " + std::to_string(i) +
                                   " is no import part");
                break;
            }
        }
    }
    if (design.currentTrack != 0) {
        problems.push_back("an import leaves track " + std::to_string(design.currentTrack) +
                           " current");
    }
    if (design.changed != 1) {
        problems.push_back("an imported design is not marked changed");
    }
    if (!problems.empty()) {
        return;
    }
    RunPasses(design, library, *records.inventory, records.pickSeed, problems);
    CheckRoundTrip(records, design, library, problems);
}

Problems RunTrk(Records& records, std::string_view bytes) {
    Problems problems;
    RunTrkWith(records, *records.fixedLibrary, bytes, problems);
    if (problems.empty()) {
        RunTrkWith(records, *records.partialLibrary, bytes, problems);
    }
    return problems;
}

} // namespace

const char* CorpusFolder(Reader reader) {
    switch (reader) {
    case Reader::PartsDef:
        return "parts_def";
    case Reader::SectionsOwn:
        return "sections_own";
    case Reader::Tr2:
        return "tr2";
    case Reader::Trk:
        return "trk";
    }
    return "";
}

std::vector<std::string> RunInput(Reader reader, const uint8_t* data, size_t size) {
    Records& records = TheRecords();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::memset(records.inventory.get(), 0, sizeof(Inventory));
    records.pickSeed = 2166136261u;
    for (size_t i = 0; i < size; ++i) {
        records.pickSeed = (records.pickSeed ^ data[i]) * 16777619u;
    }
    switch (reader) {
    case Reader::PartsDef:
        return RunPartsDef(records, bytes);
    case Reader::SectionsOwn:
        return RunSectionsOwn(records, bytes);
    case Reader::Tr2:
        return RunTr2(records, bytes);
    case Reader::Trk:
        return RunTrk(records, bytes);
    }
    return {};
}

} // namespace lapwerk::fuzz
