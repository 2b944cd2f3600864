#include "section_list.h"

#include "lane_lengths.h"
#include "part_counts.h"

#include <cstring>

namespace lapwerk {

namespace {

/// The text of a fixed-size char field, up to its NUL or, if it has none, its whole size.
template <size_t N> std::string FieldText(const char (&field)[N]) {
    const void* nul = std::memchr(field, '\0', N);
    const size_t length =
        nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - field) : N;
    return std::string(field, length);
}

/// `text` left-aligned in at least `width` characters ("%-*s"); a longer text stays whole.
std::string PadRight(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string SectionLine(const Track& track, int section, const PartLibrary& library) {
    const int partIndex = track.partIndex[section];
    if (partIndex >= ListedPartCount(library)) {
        // A Section whose Part the library does not hold has no number or name to show.
        return "\t\t";
    }
    const Part& part = library.parts[partIndex];
    std::string line;
    if (IsCurveKind(part.kind)) {
        line += track.direction[section];
    }
    return line + '\t' + FieldText(part.number) + '\t' + FieldText(part.name);
}

} // namespace

std::vector<std::string> BuildSectionList(const Design& design, const PartLibrary& library,
                                          const Inventory& inventory, const std::string& caption,
                                          const BoardTexts& boardTexts, bool metric) {
    std::vector<std::string> lines;
    lines.push_back(caption + "     " + PadRight(boardTexts.x, 8) + " x " +
                    PadRight(boardTexts.y, 8) + " ");
    lines.emplace_back();

    const PartCountRows counts = RefreshPartCounts(design, library, inventory);
    const LaneLengthRows lengths = RefreshLaneLengths(design, metric);
    for (size_t i = 0; i < counts.used.size(); ++i) {
        const Part& part = library.parts[i];
        lines.push_back(PadRight(FieldText(part.number), 10) + " " +
                        PadRight(FieldText(part.name), 30) + "   " + PadRight(counts.used[i], 4) +
                        "  " + PadRight(counts.leftOver[i], 4));
    }
    lines.emplace_back();

    for (size_t n = 0; n < lengths.trackNumbers.size(); ++n) {
        lines.push_back("Length of track " + std::to_string(n + 1) + "\t\t" + lengths.lane1[n] +
                        "\t" + lengths.lane2[n]);
    }
    lines.emplace_back();

    int number = 1;
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            continue;
        }
        lines.push_back("\tTrack " + std::to_string(number));
        lines.emplace_back();
        const int sections = ListedSectionCount(track);
        for (int i = 0; i < sections; ++i) {
            lines.push_back(SectionLine(track, i, library));
        }
        lines.emplace_back();
        ++number;
    }
    lines.push_back("--- END ---");
    return lines;
}

} // namespace lapwerk
