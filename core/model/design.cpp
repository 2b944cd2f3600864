#include "design.h"

#include "undo.h"

#include <algorithm>
#include <cstring>

namespace lapwerk {

void InitTrack(Track& track) {
    track.inUse = 0;
    track.group = 0;
    track.angle = kHeadingNorth;
    track.beginX = 0;
    track.beginY = 0;
    track.lane1Length = 0;
    track.lane2Length = 0;
    track.sectionCount = 0;
    track.selectedSection = kNoSelection;
    std::memset(track.partIndex, 0, sizeof track.partIndex);
    std::memset(track.direction, 'L', sizeof track.direction);
}

int AllocateTrack(Design& design) {
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        Track& track = design.tracks[slot];
        if (track.inUse == 0) {
            InitTrack(track);
            track.inUse = 1;
            design.changed = 1;
            return slot;
        }
    }
    return -1;
}

void EmptyDesign(Design& design) {
    design.zoom = 13;
    for (Track& track : design.tracks) {
        InitTrack(track);
    }
    design.currentTrack = AllocateTrack(design);
    design.changed = 0;
}

void NewDesign(Design& design, UndoRing& history) {
    EmptyDesign(design);
    ResetHistory(history, design);
}

bool SetDesignFileName(Design& design, const char* path) {
    const size_t length = std::strlen(path);
    if (length > static_cast<size_t>(kMaxFileName)) {
        return false;
    }
    std::memcpy(design.fileName, path, length + 1);
    return true;
}

std::string FileNamePart(const char* path) {
    const char* namePart = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == ':' || *p == '/') {
            namePart = p + 1;
        }
    }
    return namePart;
}

std::string DesignCaption(const Design& design) {
    return FileNamePart(design.fileName) + kCaptionSuffix;
}

int ListedSectionCount(const Track& track) {
    return std::clamp(track.sectionCount, int32_t{0}, int32_t{kMaxSections});
}

int TrackNumberOfSlot(const Design& design, int slot) {
    if (slot < 0 || slot >= kMaxTracks || design.tracks[slot].inUse == 0) {
        return 0;
    }
    int number = 0;
    for (int i = 0; i <= slot; ++i) {
        number += design.tracks[i].inUse != 0 ? 1 : 0;
    }
    return number;
}

int SlotOfTrackNumber(const Design& design, int number) {
    int seen = 0;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0 && ++seen == number) {
            return slot;
        }
    }
    return -1;
}

} // namespace lapwerk

#include <type_traits>
static_assert(std::is_trivially_copyable_v<lapwerk::Design>, "an undo snapshot is one copy");
