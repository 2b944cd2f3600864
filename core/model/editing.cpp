#include "editing.h"

#include "undo.h"

#include <algorithm>
#include <cstdint>

namespace lapwerk {
namespace {

bool IsSelectablePart(const PartLibrary& library, int partIndex) {
    return partIndex >= 0 && partIndex < std::min<int32_t>(library.count, kMaxParts);
}

/// A refused edit's message, captioned "Error".
Message Refusal(const char* text) {
    return Message{text, "Error"};
}

int LowestTrackInUse(const Design& design) {
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0) {
            return slot;
        }
    }
    return -1;
}

} // namespace

bool IsTrackSlot(int slot) {
    return slot >= 0 && slot < kMaxTracks;
}

Track* CurrentTrackOf(Design& design) {
    return IsTrackSlot(design.currentTrack) ? &design.tracks[design.currentTrack] : nullptr;
}

int SectionCountOf(const Track& track) {
    return std::clamp<int32_t>(track.sectionCount, 0, kMaxSections);
}

int SelectionOf(const Track& track) {
    return std::clamp<int32_t>(track.selectedSection, kNoSelection, SectionCountOf(track) - 1);
}

int32_t NormalizedHeading(int64_t heading) {
    const int64_t rest = heading % kFullTurn;
    return static_cast<int32_t>(rest < 0 ? rest + kFullTurn : rest);
}

void ClearSectionsFrom(Track& track, int from) {
    std::fill(track.partIndex + from, track.partIndex + kMaxSections, uint8_t{0});
    std::fill(track.direction + from, track.direction + kMaxSections, 'L');
}

void InsertIntoTrack(Track& track, uint8_t partIndex, char direction) {
    const int count = SectionCountOf(track);
    const int at = SelectionOf(track) + 1;
    std::copy_backward(track.partIndex + at, track.partIndex + count, track.partIndex + count + 1);
    std::copy_backward(track.direction + at, track.direction + count, track.direction + count + 1);
    track.partIndex[at] = partIndex;
    track.direction[at] = direction;
    track.selectedSection = at;
    track.sectionCount = count + 1;
}

int LowestMemberOf(const Design& design, int32_t group) {
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].group == group) {
            return slot;
        }
    }
    return -1;
}

MaybeMessage InsertSectionRefusal(const Design& design, const PartLibrary& library, int partIndex) {
    if (MaybeMessage refused = ChangeSectionRefusal(design, library, partIndex)) {
        return refused;
    }
    if (SectionCountOf(design.tracks[design.currentTrack]) >= kMaxSections) {
        return Refusal("The track holds 2000 sections, the most a track can hold, so no section "
                       "was inserted.");
    }
    return std::nullopt;
}

bool InsertSection(Design& design, const PartLibrary& library, int partIndex, char direction) {
    if (InsertSectionRefusal(design, library, partIndex)) {
        return false;
    }
    InsertIntoTrack(*CurrentTrackOf(design), static_cast<uint8_t>(partIndex), direction);
    design.changed = 1;
    return true;
}

MaybeMessage ChangeSectionRefusal(const Design& design, const PartLibrary& library, int partIndex) {
    if (MaybeMessage refused = CurrentTrackRefusal(design)) {
        return refused;
    }
    if (!IsSelectablePart(library, partIndex)) {
        return Refusal("No part is chosen in the part list; choose the part to lay first.");
    }
    return std::nullopt;
}

bool ChangeSection(Design& design, const PartLibrary& library, int partIndex, char direction) {
    if (ChangeSectionRefusal(design, library, partIndex)) {
        return false;
    }
    Track* track = CurrentTrackOf(design);
    const int selected = SelectionOf(*track);
    if (selected >= 0) {
        track->partIndex[selected] = static_cast<uint8_t>(partIndex);
        track->direction[selected] = direction;
        design.changed = 1;
    }
    return true;
}

void DeleteSection(Design& design) {
    Track* track = CurrentTrackOf(design);
    if (track == nullptr) {
        return;
    }
    const int count = SectionCountOf(*track);
    const int selected = SelectionOf(*track);
    if (count == 0 || selected < 0) {
        return;
    }
    std::copy(track->partIndex + selected + 1, track->partIndex + count,
              track->partIndex + selected);
    std::copy(track->direction + selected + 1, track->direction + count,
              track->direction + selected);
    ClearSectionsFrom(*track, count - 1);
    track->sectionCount = count - 1;
    // The Section before the deleted one, or the new first one, or none when it was the last.
    track->selectedSection = track->sectionCount == 0 ? kNoSelection : std::max(selected - 1, 0);
    design.changed = 1;
}

void GotoBegin(Design& design) {
    if (Track* track = CurrentTrackOf(design)) {
        track->selectedSection = kNoSelection;
    }
}

void GotoEnd(Design& design) {
    if (Track* track = CurrentTrackOf(design)) {
        track->selectedSection = SectionCountOf(*track) - 1;
    }
}

void StepBack(Design& design) {
    if (Track* track = CurrentTrackOf(design)) {
        track->selectedSection = std::max(SelectionOf(*track) - 1, kNoSelection);
    }
}

void StepForward(Design& design) {
    if (Track* track = CurrentTrackOf(design)) {
        track->selectedSection = std::min(SelectionOf(*track) + 1, SectionCountOf(*track) - 1);
    }
}

void ChooseNeighbourTrack(Design& design, int step) {
    const int from = IsTrackSlot(design.currentTrack) ? design.currentTrack : 0;
    for (int k = 1; k <= kMaxTracks; ++k) {
        const int slot = ((from + k * step) % kMaxTracks + kMaxTracks) % kMaxTracks;
        if (design.tracks[slot].inUse != 0) {
            design.currentTrack = slot;
            return;
        }
    }
}

void DeleteTrack(Design& design, int slot) {
    if (!IsTrackSlot(slot)) {
        return;
    }
    UngroupTrack(design, slot);
    InitTrack(design.tracks[slot]);
    if (design.currentTrack == slot || !IsTrackSlot(design.currentTrack)) {
        design.currentTrack = LowestTrackInUse(design);
        if (design.currentTrack < 0) {
            design.currentTrack = AllocateTrack(design);
        }
    }
    design.changed = 1;
}

void UngroupTrack(Design& design, int slot) {
    if (!IsTrackSlot(slot) || design.tracks[slot].group == 0) {
        return;
    }
    const int32_t group = design.tracks[slot].group;
    design.tracks[slot].group = 0;
    int members = 0;
    int lastMember = -1;
    for (int i = 0; i < kMaxTracks; ++i) {
        if (design.tracks[i].group == group) {
            ++members;
            lastMember = i;
        }
    }
    if (members == 1) {
        design.tracks[lastMember].group = 0;
    }
    design.changed = 1;
}

MaybeMessage CurrentTrackRefusal(const Design& design) {
    if (!IsTrackSlot(design.currentTrack) || design.tracks[design.currentTrack].inUse == 0) {
        return Refusal("There is no track to edit; insert a track first.");
    }
    return std::nullopt;
}

MaybeMessage NewTrackRefusal(const Design& design) {
    for (const Track& track : design.tracks) {
        if (track.inUse == 0) {
            return std::nullopt;
        }
    }
    return Refusal("The design holds 64 tracks, the most it can hold, so no track was added.");
}

bool AddTrack(Design& design, const Track& track) {
    const int slot = AllocateTrack(design);
    if (slot < 0) {
        return false;
    }
    design.tracks[slot] = track;
    design.tracks[slot].inUse = 1;
    design.tracks[slot].group = 0;
    design.currentTrack = slot;
    return true;
}

namespace {

/// Gives every Section of the design's tracks in use the index in `to` of its Part's number in
/// `from`, unless `to` lacks a number: then returns those numbers and changes nothing. An index
/// that is no Part of `from` stays as it is.
std::vector<std::string> MovePartIndexes(Design& design, const PartLibrary& from,
                                         const PartLibrary& to) {
    std::vector<int> newIndex(kMaxParts, -1);
    for (int part = 0; part < std::min<int32_t>(from.count, kMaxParts); ++part) {
        newIndex[part] = FindPartByNumber(to, from.parts[part].number);
    }
    std::vector<std::string> missing;
    for (const Track& track : design.tracks) {
        for (int i = 0; track.inUse != 0 && i < SectionCountOf(track); ++i) {
            const int part = track.partIndex[i];
            const std::string number = from.parts[part].number;
            if (IsSelectablePart(from, part) && newIndex[part] < 0 &&
                std::find(missing.begin(), missing.end(), number) == missing.end()) {
                missing.push_back(number);
            }
        }
    }
    if (!missing.empty()) {
        return missing;
    }
    for (Track& track : design.tracks) {
        for (int i = 0; track.inUse != 0 && i < SectionCountOf(track); ++i) {
            if (IsSelectablePart(from, track.partIndex[i])) {
                track.partIndex[i] = static_cast<uint8_t>(newIndex[track.partIndex[i]]);
            }
        }
    }
    return missing;
}

} // namespace

std::vector<std::string> ChangePartLibrary(Design& design, UndoRing& history,
                                           const PartLibrary& from, const PartLibrary& to) {
    std::vector<std::string> missing = MovePartIndexes(design, from, to);
    if (!missing.empty()) {
        return missing;
    }
    ++history.revision;
    for (Design& state : history.slots) {
        if (!MovePartIndexes(state, from, to).empty()) {
            ResetHistory(history, design);
            break;
        }
    }
    return missing;
}

} // namespace lapwerk
