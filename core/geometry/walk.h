#pragma once

#include "canvas.h"
#include "design.h"
#include "part_library.h"
#include "pass_canvas.h"
#include "walk_state.h"

#include <cstdint>
#include <optional>

// The track walk: every position of a Track (section starts and ends, edges, marker points)
// is computed afresh by walking it from its begin point in integer fixed point, in output fine
// pixels (1/256 pixel). One walk draws the track, tests the pick point against it and sums its
// lane lengths; a silent walk (no canvas) does all of that without a single canvas call.
//
// Beyond the plain fixed-point rules the walk takes care of parts that cannot be handled
// exactly in 32 bits: table indices are taken modulo a full turn, products that leave 32 bits
// wrap in two's complement, an arc that is not a whole number of chord steps ends with one
// shorter step at exactly the arc, and an arc of more than a full turn traces one full turn
// plus the rest, so a trace never runs for more than 2880 quarter degrees.

namespace lapwerk {

/// A point in fine pixels (1/256 output pixel).
struct FinePoint {
    int32_t x, y;
    friend bool operator==(const FinePoint&, const FinePoint&) = default;
};

/// The output pixel of a fine-pixel point (arithmetic shift, rounding towards minus infinity).
constexpr PixelPoint ToPixel(FinePoint p) {
    return {p.x >> 8, p.y >> 8};
}

/// Half-widths of the pick tests, fine pixels: 15 pixels for sections, 3 for begin points.
inline constexpr int32_t kSectionPickReach = 3840;
inline constexpr int32_t kBeginPickReach = 768;

/// Distance of a curve's marker point from its start edge along the travel direction, model
/// units (3.0625 inches), whatever the curve's radius and arc.
inline constexpr int32_t kCurveMarkerAlong = 784;

/// Length of the insertion marker across a track's start, model units (6.125 inches).
inline constexpr int32_t kStartMarkerLength = 1568;

/// Receives what a walk computes, section by section. Every callback has an empty default.
class WalkObserver {
public:
    virtual ~WalkObserver() = default;
    /// Track `track`'s walk begins; `begin` is the pen at its begin point with its angle.
    virtual void trackBegun(int track, const PenPose& begin) {
        (void)track;
        (void)begin;
    }
    /// Section `section` was walked from pen `start` to pen `end`. `marker` is its marker
    /// point (the point the pick tests), none for a part the walk ignores.
    virtual void sectionWalked(int track, int section, const PenPose& start,
                               const std::optional<FinePoint>& marker, const PenPose& end) {
        (void)track;
        (void)section;
        (void)start;
        (void)marker;
        (void)end;
    }
    /// All sections walked: `end` is the pen after the last one (`begin` for a track without
    /// sections), `lane1` and `lane2` the lane totals in model units.
    virtual void trackEnded(int track, const PenPose& begin, const PenPose& end, int32_t lane1,
                            int32_t lane2) {
        (void)track;
        (void)begin;
        (void)end;
        (void)lane1;
        (void)lane2;
    }
};

/// One walk in progress: the shared walk state, the parts, the canvas of the pass and where
/// model point (0, 0) lies.
struct WalkPass {
    WalkState& state;
    const PartLibrary* library; ///< nullptr: every section is ignored
    PassCanvas& canvas;
    int32_t centreX = 0; ///< view centre, pixels
    int32_t centreY = 0;
    WalkObserver* observer = nullptr;
    /// The current track's selected section recorded its end edge in this walk.
    bool endEdgeRecorded = false;
};

/// The pen as a pose.
inline PenPose PenOf(const WalkState& state) {
    return {state.x, state.y, state.heading};
}

/// The output point in fine pixels of local offset (`across`, `along`), model units, from the
/// pen at its heading, at the state's zoomScale.
FinePoint LocalToOutput(const WalkState& state, int32_t across, int32_t along);

/// Walks one straight-type section (kinds 1, 3, 4, 5, 8, 9, 10, 11): draws it, pick-tests its
/// marker point, adds `length` to both lanes (and swaps them after kind 3) and moves the pen
/// `length` along. Returns the marker point.
FinePoint DrawStraight(WalkPass& pass, int32_t kind, int32_t width, int32_t length);

/// Walks one curve section (kinds 2, 6, 7) of outer radius `r1`, inner radius `r2` and `arc`
/// quarter degrees, turning left for direction 'L' and right otherwise; lane lengths are the
/// part's. Returns the marker point.
FinePoint DrawCurve(WalkPass& pass, int32_t kind, char direction, int32_t r1, int32_t r2,
                    int32_t arc, int32_t laneLength1, int32_t laneLength2);

/// Walks one Section of `part` (nullptr, kind 0, negative or 12 and above: nothing happens).
/// Returns the marker point, none for an ignored part.
std::optional<FinePoint> DrawSection(WalkPass& pass, const Part* part, char direction);

/// Walks Track `slot` of the design from its begin point and draws it (current-track colours,
/// selected section, insertion marker when `isCurrent`, begin circle, group number), records
/// the split mark, pick-tests its begin point and leaves the pen at the begin point. Leaves the
/// lane totals in the walk state; the Track itself is not changed.
void WalkTrack(WalkPass& pass, const Track& track, int slot, bool isCurrent);

/// WalkTrack, then stores the lane totals as the Track's lane1Length and lane2Length.
void DrawTrack(WalkPass& pass, Design& design, int slot, bool isCurrent);

/// Walk only the track given, or every track in use.
inline constexpr int kAllTracks = -1;

/// Which chord steps a silent walk traces curves with.
enum class WalkSurface { kScreen, kPaper };

/// Walks one track (`track` a slot in use) or every track in use (`kAllTracks`) of `design`
/// silently, at `zoomScale` with model point (0, 0) at pixel (centreX, centreY), and reports
/// every step to `observer`. Changes nothing: no canvas, no Design, no shared walk state.
void WalkDesignSilently(const Design& design, const PartLibrary& library, int32_t zoomScale,
                        int32_t centreX, int32_t centreY, WalkObserver& observer,
                        int track = kAllTracks, WalkSurface surface = WalkSurface::kScreen);

} // namespace lapwerk
