#pragma once

#include "design.h"
#include "design_view.h"
#include "message.h"
#include "part_library.h"

#include <cstdint>

namespace lapwerk {

// Edits that need the geometry: a click read through the last pass, a pick, the split mark of
// a pass or the trigonometric tables. As in editing.h, the caller takes the snapshot and
// asks for the redraw; the picks here run silent passes only and draw nothing.
// Headings are taken modulo a full turn before they are stored or used as table indices.

/// Caption of the message with which Join refuses a join that does not fit in one Track.
inline constexpr const char* kJoinRefusedCaption = "Join";

/// True for the message of a refused Join: the Design is as it was before the click, so the
/// caller takes no snapshot. After any other Join message the caller takes its snapshot.
bool IsJoinRefusal(const MaybeMessage& message);

/// Allocates a Track, makes it current and places it at the click. Refused when all 64 slots
/// are in use.
bool InsertTrackAt(Design& design, const DesignView& view, int32_t px, int32_t py);

/// Splits the current Track after its selected Section; the rest becomes a new current Track
/// starting at the split mark of the last pass. Does nothing (returns false) when SplitRefusal
/// says why.
bool SplitTrack(Design& design, const DesignView& view);

/// Why SplitTrack would do nothing: no current Track, a selection that is not a Section before
/// the Track's last one, or no free slot. Nothing when it would split.
MaybeMessage SplitRefusal(const Design& design);

/// Joins the Track picked at the click to the current Track. Picks silently on the way; the
/// caller shows the pass afterwards. Returns the message when it stopped; a join past 2000
/// Sections is refused with a message captioned kJoinRefusedCaption, after the current Track
/// and the selections the pick changed have been put back.
MaybeMessage JoinTrack(Design& design, DesignView& view, int32_t px, int32_t py);

/// Copies the current Track into a new current Track placed at the click.
bool CopyTrackTo(Design& design, const DesignView& view, int32_t px, int32_t py);

/// As CopyTrackTo, with every direction letter of the copy flipped.
bool MirrorTrackTo(Design& design, const DesignView& view, int32_t px, int32_t py);

/// Groups the Track picked at the click with the current Track, then lays the group out.
/// Picks silently. Returns the message when the pick found the current Track or nothing.
MaybeMessage GroupWithPicked(Design& design, DesignView& view, int32_t px, int32_t py);

/// Lays the members of group `group` side by side from model point (x, y), in slot order,
/// one Part-0 width apart at the Design's zoom (clamped to 1..24); no spacing with an empty
/// library. Begin points saturate at the 32-bit range instead of wrapping.
void GroupLayout(Design& design, const PartLibrary& library, int32_t group, int32_t x, int32_t y);

/// Places the current Track (and its group beside it) at the click. Does not set `changed`.
void MoveTrackTo(Design& design, const DesignView& view, int32_t px, int32_t py);

/// Moves the current Track (and its group beside it) by (dx, dy) model units; begin points
/// saturate at the 32-bit range. Does not set `changed`.
void MoveTrackBy(Design& design, const PartLibrary& library, int32_t dx, int32_t dy);

/// Rotate bar: heading 4 x position for the current Track and its group.
void RotateBySlider(Design& design, const PartLibrary& library, int position);

/// Quick rotation of the current Track and its group to `heading`; returns the rotate bar
/// position to show (heading / 4).
int RotateTo(Design& design, const PartLibrary& library, int heading);

/// Gives every member of `group` the heading and lays the group out from its first member.
void RotateGroup(Design& design, const PartLibrary& library, int32_t group, int heading);

} // namespace lapwerk
