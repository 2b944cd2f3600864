#pragma once

#include "design.h"

#include <string>

namespace lapwerk::test {

/// Fills `track` with Sections written as part-index digit and letter pairs, "0L1R2L", and
/// marks it in use with the last Section selected.
inline void SetSections(Track& track, const std::string& text) {
    InitTrack(track);
    track.inUse = 1;
    int count = 0;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        track.partIndex[count] = static_cast<uint8_t>(text[i] - '0');
        track.direction[count] = text[i + 1];
        ++count;
    }
    track.sectionCount = count;
    track.selectedSection = count - 1;
}

/// The Sections of `track` in the same notation, e.g. "0L1R2L".
inline std::string SectionText(const Track& track) {
    std::string text;
    for (int i = 0; i < track.sectionCount; ++i) {
        text += static_cast<char>('0' + track.partIndex[i]);
        text += track.direction[i];
    }
    return text;
}

/// True when every position from sectionCount on holds the values of a fresh Track.
inline bool TailIsClear(const Track& track) {
    for (int i = track.sectionCount; i < kMaxSections; ++i) {
        if (track.partIndex[i] != 0 || track.direction[i] != 'L') {
            return false;
        }
    }
    return true;
}

/// Number of Track slots in use.
inline int TracksInUse(const Design& design) {
    int count = 0;
    for (const Track& track : design.tracks) {
        count += track.inUse != 0 ? 1 : 0;
    }
    return count;
}

} // namespace lapwerk::test
