#include "pick_edits.h"

#include "editing.h"
#include "hit_test.h"
#include "trig.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lapwerk {
namespace {

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 24;

constexpr const char* kFirstLastCaption = "FirstLast";
constexpr const char* kSameCaption = "Same";

Message JoinMiddleOfCurrentMessage() {
    return {"Select FIRST or LAST piece of track to which the other track is to be joined",
            kFirstLastCaption};
}

Message JoinItselfMessage() {
    return {"You cannot join track to it self", kSameCaption};
}

Message JoinMiddleOfPickedMessage() {
    return {"Select FIRST or LAST track piece of track to be joined", kFirstLastCaption};
}

Message JoinTooLongMessage() {
    return {"The joined track would have more than 2000 sections", kJoinRefusedCaption};
}

Message GroupItselfMessage() {
    return {"You cannot group track with it self", kSameCaption};
}

int32_t Saturated(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool GroupNumberTaken(const Design& design, int32_t group) {
    return LowestMemberOf(design, group) >= 0;
}

// The smallest positive number that no slot, in use or free, carries as its group.
int32_t FreeGroupNumber(const Design& design) {
    int32_t group = 1;
    while (GroupNumberTaken(design, group)) {
        ++group;
    }
    return group;
}

// The view's library, or an empty one when the view has none.
const PartLibrary& LibraryOf(const DesignView& view) {
    static const PartLibrary kEmptyLibrary{};
    return view.library != nullptr ? *view.library : kEmptyLibrary;
}

void LayoutGroupFromFirstMember(Design& design, const PartLibrary& library, int32_t group) {
    const int first = LowestMemberOf(design, group);
    if (group == 0 || first < 0) {
        return;
    }
    const Track& start = design.tracks[first];
    GroupLayout(design, library, group, start.beginX, start.beginY);
}

void LayoutCurrentGroup(Design& design, const PartLibrary& library) {
    const Track* current = CurrentTrackOf(design);
    if (current != nullptr && current->group != 0) {
        LayoutGroupFromFirstMember(design, library, current->group);
    }
}

// One member's step to the next: (((d x table) >> 15) x zoomScale) >> 8, in 64 bits.
int64_t LayoutStep(int64_t spacing, int32_t tableValue, int64_t zoomScale) {
    return (((spacing * tableValue) >> 15) * zoomScale) >> 8;
}

void FlipDirections(Track& track) {
    const int count = SectionCountOf(track);
    for (int i = 0; i < count; ++i) {
        track.direction[i] = track.direction[i] == 'L' ? 'R' : 'L';
    }
}

enum class Letters { Keep, Flip };

bool CopyCurrentTo(Design& design, const DesignView& view, int32_t px, int32_t py,
                   Letters letters) {
    const Track* source = CurrentTrackOf(design);
    if (source == nullptr) {
        return false;
    }
    const int copy = AllocateTrack(design);
    if (copy < 0) {
        return false;
    }
    design.tracks[copy] = *source;
    if (letters == Letters::Flip) {
        FlipDirections(design.tracks[copy]);
    }
    design.currentTrack = copy;
    ScreenToModel(design, view, px, py);
    return true;
}

enum class CopyOrder { Forwards, Backwards };

void AppendSections(Track& target, const Track& source, CopyOrder order) {
    const int count = SectionCountOf(source);
    for (int k = 0; k < count; ++k) {
        const int i = order == CopyOrder::Forwards ? k : count - 1 - k;
        InsertIntoTrack(target, source.partIndex[i], source.direction[i]);
    }
}

struct SavedSelections {
    int32_t currentTrack;
    int32_t selected[kMaxTracks];
};

SavedSelections SaveSelections(const Design& design) {
    SavedSelections saved{};
    saved.currentTrack = design.currentTrack;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        saved.selected[slot] = design.tracks[slot].selectedSection;
    }
    return saved;
}

void RestoreSelections(Design& design, const SavedSelections& saved) {
    design.currentTrack = saved.currentTrack;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        design.tracks[slot].selectedSection = saved.selected[slot];
    }
}

// Moves the picked record up to the current slot and the ones between down by one, so that
// the picked Track follows the current one.
void MovePickedAfterCurrent(Design& design, int picked, int current) {
    std::rotate(design.tracks + picked, design.tracks + picked + 1, design.tracks + current + 1);
    design.currentTrack = current - 1;
}

void GroupTracks(Design& design, int current, int picked) {
    Track& c = design.tracks[current];
    Track& p = design.tracks[picked];
    int32_t group = c.group != 0 ? c.group : p.group;
    if (group == 0) {
        group = FreeGroupNumber(design);
    }
    p.angle = c.angle;
    c.group = group;
    p.group = group;
    if (picked < current) {
        MovePickedAfterCurrent(design, picked, current);
    }
    design.changed = 1;
}

void SetCurrentHeading(Design& design, const PartLibrary& library, int64_t heading) {
    Track* track = CurrentTrackOf(design);
    if (track == nullptr) {
        return;
    }
    track->angle = NormalizedHeading(heading);
    if (track->group != 0) {
        RotateGroup(design, library, track->group, track->angle);
    }
}

} // namespace

bool IsJoinRefusal(const MaybeMessage& message) {
    return message.has_value() && message->caption == kJoinRefusedCaption;
}

bool InsertTrackAt(Design& design, const DesignView& view, int32_t px, int32_t py) {
    const int slot = AllocateTrack(design);
    if (slot < 0) {
        return false;
    }
    design.currentTrack = slot;
    ScreenToModel(design, view, px, py);
    return true;
}

MaybeMessage SplitRefusal(const Design& design) {
    if (MaybeMessage refused = CurrentTrackRefusal(design)) {
        return refused;
    }
    const Track& track = design.tracks[design.currentTrack];
    const int selected = SelectionOf(track);
    if (selected == kNoSelection || selected + 1 >= SectionCountOf(track)) {
        return Message{"Select the section after which the track is to be split; it must not be "
                       "the track's last section.",
                       "Error"};
    }
    return NewTrackRefusal(design);
}

bool SplitTrack(Design& design, const DesignView& view) {
    if (SplitRefusal(design)) {
        return false;
    }
    Track* track = CurrentTrackOf(design);
    const int count = SectionCountOf(*track);
    const int selected = SelectionOf(*track);
    const int rest = AllocateTrack(design);
    Track& split = design.tracks[rest];
    for (int i = selected + 1; i < count; ++i) {
        InsertIntoTrack(split, track->partIndex[i], track->direction[i]);
    }
    ClearSectionsFrom(*track, selected + 1);
    track->sectionCount = selected + 1;
    track->selectedSection = selected;

    design.currentTrack = rest;
    split.selectedSection = kNoSelection;
    const PenPose& mark = view.walk.splitMark;
    DevicePointToModel(design, view, mark.x / 256, mark.y / 256);
    split.angle = NormalizedHeading(mark.heading);
    design.changed = 1;
    return true;
}

MaybeMessage JoinTrack(Design& design, DesignView& view, int32_t px, int32_t py) {
    const int a = design.currentTrack;
    if (!IsTrackSlot(a)) {
        return std::nullopt;
    }
    const int countA = SectionCountOf(design.tracks[a]);
    const int selectedA = SelectionOf(design.tracks[a]);
    if (selectedA > 0 && selectedA < countA - 1) {
        return JoinMiddleOfCurrentMessage();
    }

    const SavedSelections beforePick = SaveSelections(design);
    PickAt(design, view, px, py);
    const int b = design.currentTrack;
    if (b == a || !IsTrackSlot(b)) {
        return JoinItselfMessage();
    }
    Track& trackA = design.tracks[a];
    const Track& trackB = design.tracks[b];
    const int countB = SectionCountOf(trackB);
    const int selectedB = SelectionOf(trackB);

    const bool atEnd = selectedA > 0;
    CopyOrder order = CopyOrder::Forwards;
    if (atEnd) {
        if (selectedB > 0 && selectedB == countB - 1) {
            order = CopyOrder::Backwards;
        } else if (selectedB > 0) {
            return JoinMiddleOfPickedMessage();
        }
    } else if (selectedB == 0 && countB > 1) {
        order = CopyOrder::Backwards;
    }
    if (countA + countB > kMaxSections) {
        RestoreSelections(design, beforePick);
        return JoinTooLongMessage();
    }

    trackA.selectedSection = atEnd ? countA - 1 : kNoSelection;
    AppendSections(trackA, trackB, order);
    design.currentTrack = a;
    DeleteTrack(design, b);
    return std::nullopt;
}

bool CopyTrackTo(Design& design, const DesignView& view, int32_t px, int32_t py) {
    return CopyCurrentTo(design, view, px, py, Letters::Keep);
}

bool MirrorTrackTo(Design& design, const DesignView& view, int32_t px, int32_t py) {
    return CopyCurrentTo(design, view, px, py, Letters::Flip);
}

MaybeMessage GroupWithPicked(Design& design, DesignView& view, int32_t px, int32_t py) {
    const int current = design.currentTrack;
    if (!IsTrackSlot(current)) {
        return std::nullopt;
    }
    PickAt(design, view, px, py);
    const int picked = design.currentTrack;
    design.currentTrack = current;

    MaybeMessage message;
    if (picked == current || !IsTrackSlot(picked)) {
        message = GroupItselfMessage();
    } else {
        GroupTracks(design, current, picked);
    }
    LayoutCurrentGroup(design, LibraryOf(view));
    return message;
}

void GroupLayout(Design& design, const PartLibrary& library, int32_t group, int32_t x, int32_t y) {
    if (group == 0) {
        return;
    }
    const int64_t zoomScale =
        64 * int64_t{std::clamp<int32_t>(design.zoom, kMinZoom, kMaxZoom)} + 128;
    const int64_t width = library.count > 0 ? library.parts[0].width : 0;
    const int64_t spacing = width * 256 / zoomScale;
    for (Track& track : design.tracks) {
        if (track.group != group) {
            continue;
        }
        track.beginX = x;
        track.beginY = y;
        const int32_t heading = NormalizedHeading(track.angle);
        x = Saturated(x + LayoutStep(spacing, Trig().cos[heading], zoomScale));
        y = Saturated(y + LayoutStep(spacing, Trig().sin[heading], zoomScale));
    }
}

void MoveTrackTo(Design& design, const DesignView& view, int32_t px, int32_t py) {
    const Track* track = CurrentTrackOf(design);
    if (track == nullptr) {
        return;
    }
    ScreenToModel(design, view, px, py);
    if (track->group != 0) {
        GroupLayout(design, LibraryOf(view), track->group, track->beginX, track->beginY);
    }
}

void MoveTrackBy(Design& design, const PartLibrary& library, int32_t dx, int32_t dy) {
    Track* track = CurrentTrackOf(design);
    if (track == nullptr) {
        return;
    }
    track->beginX = Saturated(int64_t{track->beginX} + dx);
    track->beginY = Saturated(int64_t{track->beginY} + dy);
    if (track->group != 0) {
        GroupLayout(design, library, track->group, track->beginX, track->beginY);
    }
}

void RotateBySlider(Design& design, const PartLibrary& library, int position) {
    SetCurrentHeading(design, library, 4 * int64_t{position});
}

int RotateTo(Design& design, const PartLibrary& library, int heading) {
    SetCurrentHeading(design, library, heading);
    const Track* track = CurrentTrackOf(design);
    return track != nullptr ? track->angle / 4 : NormalizedHeading(heading) / 4;
}

void RotateGroup(Design& design, const PartLibrary& library, int32_t group, int heading) {
    if (group == 0) {
        return;
    }
    const int32_t angle = NormalizedHeading(heading);
    for (Track& track : design.tracks) {
        if (track.group == group) {
            track.angle = angle;
        }
    }
    LayoutGroupFromFirstMember(design, library, group);
}

} // namespace lapwerk
