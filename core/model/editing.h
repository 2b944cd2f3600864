#pragma once

#include "design.h"
#include "message.h"
#include "part_library.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lapwerk {

struct UndoRing;

// Edits that need nothing but the Design. Every operation edits the Design in place; the
// follow-up steps (snapshot, redraw, refresh) belong to the caller, in the order the command
// gives. Operations that return bool return false when they were refused and changed nothing
// (a Track full, no part selected); the caller then takes no snapshot.

/// Inserts a Section of `partIndex` with `direction` after the current Track's selected
/// Section and selects it. Refused as InsertSectionRefusal says.
bool InsertSection(Design& design, const PartLibrary& library, int partIndex, char direction);

/// Why InsertSection would refuse: no part chosen (an index outside the library), no current
/// Track in use, or a Track that holds 2000 Sections already. Nothing when it would insert.
MaybeMessage InsertSectionRefusal(const Design& design, const PartLibrary& library, int partIndex);

/// Overwrites the selected Section's part and direction; nothing without a selection (that
/// still counts as done: returns true). Refused as ChangeSectionRefusal says.
bool ChangeSection(Design& design, const PartLibrary& library, int partIndex, char direction);

/// Why ChangeSection would refuse: no part chosen or no current Track in use. Nothing
/// otherwise.
MaybeMessage ChangeSectionRefusal(const Design& design, const PartLibrary& library, int partIndex);

/// Why an edit of the current Track would be refused: currentTrack names no Track in use (as
/// after opening a design file without tracks). Nothing otherwise.
MaybeMessage CurrentTrackRefusal(const Design& design);

/// Why an edit that needs a free Track slot (Insert Track, Copy, Mirror, Split) would be
/// refused: all 64 slots in use. Nothing when a slot is free.
MaybeMessage NewTrackRefusal(const Design& design);

/// Adds a copy of `track` (no group) in the lowest free slot as the current track and sets
/// `changed`. Refused (returns false, changes nothing) when all 64 slots are in use.
bool AddTrack(Design& design, const Track& track);

/// Deletes the selected Section; the one before it becomes selected.
void DeleteSection(Design& design);

/// Navigation of the current Track's selected Section.
void GotoBegin(Design& design);
void GotoEnd(Design& design);
void StepBack(Design& design);
void StepForward(Design& design);

/// Makes the next Track in use after the current one (`step` 1) or the one before it (`step`
/// -1) current, going round the slots; stays on the current one when it is the only one.
void ChooseNeighbourTrack(Design& design, int step);

/// Ungroups and frees Track `slot`; keeps a current Track in use (allocating one if needed).
void DeleteTrack(Design& design, int slot);

/// Takes Track `slot` out of its group; a group left with one member is dissolved.
void UngroupTrack(Design& design, int slot);

// Building blocks for the edits of the layers above. Counts and selections are trusted only
// within their ranges, so that a damaged record can never send an index outside the Section
// arrays.

/// True for a Track slot number 0..63.
bool IsTrackSlot(int slot);

/// The current Track, or nullptr when currentTrack is no slot.
Track* CurrentTrackOf(Design& design);

/// The Track's sectionCount kept within 0..2000.
int SectionCountOf(const Track& track);

/// The Track's selectedSection kept within -1..SectionCountOf - 1.
int SelectionOf(const Track& track);

/// A heading in quarter degrees taken modulo a full turn, 0..1439.
int32_t NormalizedHeading(int64_t heading);

/// Inserts a Section after the selection and selects it; the Track must have room.
void InsertIntoTrack(Track& track, uint8_t partIndex, char direction);

/// Gives the Section positions from `from` to the end the values of a fresh Track.
void ClearSectionsFrom(Track& track, int from);

/// Slot of the lowest-numbered Track, in use or free, that carries `group`, or -1.
int LowestMemberOf(const Design& design, int32_t group);

/// Moves the design and its history from the part library `from` to `to`: every Section then
/// refers to the Part of the same number in `to`. When `to` lacks numbers that the design's
/// Sections use, returns them in the order of first use and changes nothing. A state of the
/// history that uses a number `to` lacks cannot be undone to: the history then holds only the
/// design.
std::vector<std::string> ChangePartLibrary(Design& design, UndoRing& history,
                                           const PartLibrary& from, const PartLibrary& to);

} // namespace lapwerk
