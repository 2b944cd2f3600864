#pragma once

#include "design.h"
#include "part_library.h"

#include <string>
#include <vector>

// Lap times: how long a car takes round each lane of a closed track. Each lane is a run of
// pieces in driving order with the lane lengths the program credits (so a lane's run adds up to
// its lane length), a curve's lane radius being that lane length over the curve's arc. The car
// may go as fast as its top speed, and in a curve of lane radius r no faster than
// sqrt(grip x g x r); it gains speed no faster than its acceleration allows and loses it no
// faster than its braking allows. The speed profile is the fastest that keeps to all three
// round the car's cycle, and the time its integral of ds / v, both worked exactly piece by
// piece: so a lap time does not depend on where the track starts. A car comes back to its own
// lane after one lap, or after two when the track has an odd number of lane changes; its lap
// time is the mean over that cycle, and both lanes then take the same. It ignores what a real
// car does beyond that: it never deslots, and a lane change is run as the straight it is.

namespace lapwerk {

/// The car, in SI units; grip in g.
struct CarSettings {
    double topSpeed = 6.0;     ///< m/s
    double acceleration = 8.0; ///< m/s²
    double braking = 12.0;     ///< m/s²
    double grip = 2.5;         ///< g
};

/// Standard gravity, m/s².
inline constexpr double kGravity = 9.81;

/// One piece of a lane's run.
struct LanePiece {
    int section;   ///< the section's index in its track
    double length; ///< m
    double radius; ///< m; 0 for a straight
};

/// The speed at a distance along the lap.
struct SpeedPoint {
    double distance; ///< m from the begin point
    double speed;    ///< m/s
};

/// One lane's lap.
struct LaneLap {
    std::vector<LanePiece> run;      ///< the car's cycle from the begin point, one or two laps
    double seconds = 0;              ///< lap time: the cycle's time over its laps
    double lowestCurveSpeed = 0;     ///< m/s, the lowest speed in a curve; 0 without curves
    double topSpeedReached = 0;      ///< m/s
    std::vector<SpeedPoint> profile; ///< every 10 mm (at most 2000 points a lap), and the
                                     ///< cycle's end
};

/// The laps of one track in use.
struct TrackLaps {
    int slot;
    int number;  ///< among the tracks in use, from 1
    bool closed; ///< the status bar's closure; an open track has no lap
    LaneLap lanes[2];
    bool lanesChangePlaces = false; ///< an odd number of lane changes: each cycle is two laps
};

/// The two lanes' runs of Track `slot` (which must be in use), in driving order.
std::vector<LanePiece> LaneRun(const Design& design, const PartLibrary& library, int slot,
                               int lane);

/// The lap of a run with `car` that holds `laps` laps; an empty run gives an empty lap.
LaneLap RunLap(std::vector<LanePiece> run, const CarSettings& car, int laps = 1);

/// The laps of every track in use, in slot order; an open track's lanes stay empty.
std::vector<TrackLaps> MeasureLapTimes(const Design& design, const PartLibrary& library,
                                       const CarSettings& car);

/// "Track 1\t1.618 s\t1.650 s\t+0.033 s" for a closed track, "Track 1\topen" for an open one.
/// The sign of the difference is written as FormatSigned writes it.
std::string LapTimesLine(const TrackLaps& laps);

/// "lane 2 +0.033 s": the slower lane and by how much; "even" when both take the same to the
/// millisecond.
std::string LapDifferenceText(const TrackLaps& laps);

/// "Lanes change places every lap".
std::string LanesChangePlacesText();

} // namespace lapwerk
