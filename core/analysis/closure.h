#pragma once

#include "course.h"
#include "design.h"
#include "part_library.h"
#include "walk_state.h"

#include <cstdint>
#include <string>
#include <vector>

// Loop closure and lane balance: does a track end where it begins, heading the way it started,
// and how much longer is one lane than the other. The figures come from one silent walk at a
// scale of 256 (a fine pixel is a model unit) with model point (0, 0) at pixel (0, 0), so they
// are the same at every zoom and for every window size.

namespace lapwerk {

/// The scale of the walk that measures closure: v model units span v fine pixels.
inline constexpr int32_t kClosureScale = 256;

/// How well one track in use closes.
struct TrackClosure {
    int slot;                   ///< Track slot 0..63
    int number;                 ///< position among the tracks in use, from 1 ("Track n")
    int32_t lane1;              ///< lane 1 length of the walk, model units
    int32_t lane2;              ///< lane 2 length of the walk, model units
    double gapUnits;            ///< distance from the end of the last section to the begin
                                ///< point, model units
    double headingErrorDegrees; ///< end heading against the track's angle, the smaller way
                                ///< round, 0..180
    bool hasSections;           ///< at least one section is a part the walk places (sections of
                                ///< a part missing from the library or of a kind the walk
                                ///< ignores do not count)
    bool closed;   ///< hasSections, gap at most 2 mm and heading error at most 1 degree
    PenPose begin; ///< the walk's pen at the begin point, model units, with the track's angle
    PenPose end;   ///< the walk's pen after the last section, model units, with its heading
};

/// Lane 2 minus lane 1, model units (64 bits: the difference of two int32 lengths).
int64_t LaneDifference(const TrackClosure& closure);

/// The closure of Track `slot`, which must be in use.
TrackClosure MeasureTrackClosure(const Design& design, const PartLibrary& library, int slot);

/// The closure of every track in use, in slot order.
std::vector<TrackClosure> MeasureClosure(const Design& design, const PartLibrary& library);

/// A gap in model units with one decimal: "12.3 mm" (metric) or "0.5 in".
std::string FormatGap(double gapUnits, bool metric);

/// A heading error in degrees with one decimal and a UTF-8 degree sign: "4.5°".
std::string FormatHeadingError(double degrees);

/// "closed", or "open: gap 12.3 mm, 4.5°" (gap as FormatGap, heading error as
/// FormatHeadingError), or "open: no sections" for a track that places no section.
std::string FormatClosure(const TrackClosure& closure, bool metric);

/// A lane difference in model units with a sign, in the unit of FormatLaneLength: "+0.12 m",
/// "-4.50 '". A difference that rounds to zero reads "+0.00".
std::string FormatLaneDifference(int64_t units, bool metric);

/// The status-bar text of the current track, fields separated by " | ":
///   "Track n of m | Lane 1: L1 | Lane 2: L2 | Difference: D | C"
/// n the current track's number among the m tracks in use, L1 and L2 as FormatLaneLength, D
/// as FormatLaneDifference, C as FormatClosure; for example
///   "Track 1 of 2 | Lane 1: 3.52 m | Lane 2: 3.60 m | Difference: +0.08 m | closed".
/// The lane lengths are those of the design as it is, not of the last drawing pass.
/// "No track" when the current track is not in use.
std::string StatusText(const Design& design, const PartLibrary& library, bool metric);

/// One tab-separated summary line of a track, seven columns:
///   1 "Track n"           n the track's number among the tracks in use
///   2 lane 1 length       as FormatLaneLength
///   3 lane 2 length       as FormatLaneLength
///   4 lane 2 - lane 1     as FormatLaneDifference
///   5 "closed" or "open"
///   6 gap                 as FormatGap
///   7 heading error       as FormatHeadingError, e.g. "0.0°"
/// For example "Track 1\t3.52 m\t3.60 m\t+0.08 m\tclosed\t0.0 mm\t0.0°".
std::string SummaryLine(const TrackClosure& closure, bool metric);

/// The summary lines of every track in use, in slot order (no line ends).
std::vector<std::string> SummaryLines(const Design& design, const PartLibrary& library,
                                      bool metric);

} // namespace lapwerk
