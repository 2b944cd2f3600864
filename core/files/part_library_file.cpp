#include "part_library_file.h"

#include "line_reader.h"
#include "number_text.h"

#include <cstring>
#include <string>
#include <string_view>

namespace lapwerk {

namespace {

/// Millimetres per inch as the single-precision value the library has always divided by.
constexpr long double kMillimetresPerInch = 25.3999996185302734375L;
constexpr long double kUnitsPerInch = 256.0L;
constexpr long double kQuarterDegreesPerDegree = 4.0L;

/// Lines of one Part after the unit line.
enum PartLine { kNumber, kName, kKind, kWidth, kLength, kArc, kRadius, kLane1, kLane2, kLines };

/// Copies `text` into a fixed field, truncated so that the terminating NUL fits.
template <size_t N> void CopyField(char (&field)[N], std::string_view text) {
    const size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

int32_t LengthUnits(const std::string& text, long double scale) {
    return TruncateToInt32(ScanDecimal(text) / scale * kUnitsPerInch);
}

} // namespace

void ParsePartLibrary(std::string_view bytes, PartLibrary& library) {
    std::memset(&library, 0, sizeof library);

    LineReader reader(UnterminatedLastLine::kDrop);
    reader.OpenText(bytes);
    std::string unitLine;
    if (!reader.ReadValueLine(unitLine)) {
        return;
    }
    const long double scale = unitLine.compare(0, 6, "METRIC") == 0 ? kMillimetresPerInch : 1.0L;

    // The table holds 256 Parts; anything after the 256th is ignored.
    while (library.count < kMaxParts) {
        std::string lines[kLines];
        for (std::string& line : lines) {
            if (!reader.ReadValueLine(line)) {
                return; // a Part cut off by the end of the file is not counted
            }
        }
        Part& part = library.parts[library.count];
        CopyField(part.number, lines[kNumber]);
        CopyField(part.name, lines[kName]);
        part.kind = ScanInteger(lines[kKind]).value;
        part.width = LengthUnits(lines[kWidth], scale);
        part.length = LengthUnits(lines[kLength], scale);
        part.arc = TruncateToInt32(ScanDecimal(lines[kArc]) * kQuarterDegreesPerDegree);
        part.radius = LengthUnits(lines[kRadius], scale);
        part.laneLength1 = LengthUnits(lines[kLane1], scale);
        part.laneLength2 = LengthUnits(lines[kLane2], scale);
        ++library.count;
    }
}

void SetLibraryFileName(PartLibrary& library, std::string_view path) {
    CopyField(library.fileName, path);
}

} // namespace lapwerk
