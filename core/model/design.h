#pragma once

#include <cstdint>
#include <string>

namespace lapwerk {

inline constexpr int kMaxTracks = 64;
inline constexpr int kMaxSections = 2000;
inline constexpr int kFullTurn = 1440;    ///< quarter degrees in a full turn
inline constexpr int kHeadingNorth = 720; ///< heading of a new Track
inline constexpr int kNoSelection = -1;   ///< selectedSection before the first Section
inline constexpr int kMaxFileName = 255;  ///< characters of a design path that fit fileName
inline constexpr const char* kUntitledName = "untitled.tr2";
inline constexpr const char* kCaptionSuffix = " - Lapwerk V2.1";

/// One track: a begin point, a start heading and a chain of Sections.
struct Track {
    int32_t inUse;                   ///< 1 if the slot holds a track
    int32_t group;                   ///< 0 = no group; equal non-zero numbers form a group
    int32_t angle;                   ///< heading at the begin point, quarter degrees 0..1439
    int32_t beginX;                  ///< begin point, model units
    int32_t beginY;                  ///< begin point, model units
    int32_t lane1Length;             ///< lane 1 length from the last drawing pass, model units
    int32_t lane2Length;             ///< lane 2 length from the last drawing pass, model units
    int32_t sectionCount;            ///< 0..2000
    int32_t selectedSection;         ///< selected Section and insertion point, or -1
    uint8_t partIndex[kMaxSections]; ///< library index of each Section's Part
    char direction[kMaxSections];    ///< 'L' or 'R' per Section; 'L' from sectionCount on
};

/// The one document: board, view flags, design-changed flag and 64 Track slots.
/// Copied whole for undo, so everything here is restored by undo and redo.
struct Design {
    float boardX;         ///< board width, inches
    float boardY;         ///< board depth, inches
    char fileName[256];   ///< design path, NUL-terminated
    int32_t changed;      ///< design-changed flag, 0 or 1
    int32_t zoom;         ///< zoom step 1..24, copied from the zoom bar at every redraw
    int32_t segments;     ///< copy of the Segments toggle
    int32_t currentTrack; ///< slot of the Track that editing acts on
    int32_t filledIn;     ///< copy of the Filled In toggle
    int32_t ruler;        ///< copy of the Ruler toggle
    int32_t grid;         ///< copy of the Grid toggle
    Track tracks[kMaxTracks];
};

struct UndoRing;

/// Resets a Track slot to the free state (angle North, no Sections, all directions 'L').
void InitTrack(Track& track);

/// Takes the lowest free slot, initialises it, marks it in use and sets `changed`.
/// Returns the slot number, or -1 when all 64 are in use (nothing changes then).
int AllocateTrack(Design& design);

/// Empties the design to one empty current Track in slot 0, zoom 13, `changed` 0. Board size,
/// fileName and the toggle copies stay.
void EmptyDesign(Design& design);

/// New design: EmptyDesign, then resets the undo history to the empty design.
void NewDesign(Design& design, UndoRing& history);

/// Stores `path` as the design's fileName. Refuses (returns false, changes nothing) a path
/// longer than 255 characters.
bool SetDesignFileName(Design& design, const char* path);

/// The file-name part of a path: what follows the last '\\', ':' or '/'.
std::string FileNamePart(const char* path);

/// The main window caption for the design: file-name part followed by " - Lapwerk V2.1".
std::string DesignCaption(const Design& design);

/// Number of Sections of a Track that the reports read: `sectionCount`, kept within 0..2000.
int ListedSectionCount(const Track& track);

/// Number of the n-th track in use (1-based) for slot `slot`, or 0 when the slot is free.
int TrackNumberOfSlot(const Design& design, int slot);

/// Slot of the `number`-th track in use (1-based), or -1 when fewer tracks are in use.
int SlotOfTrackNumber(const Design& design, int number);

} // namespace lapwerk
