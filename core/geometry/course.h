#pragma once

#include "design.h"
#include "part_library.h"

#include <vector>

// A track's course in exact geometry: the pose at every section's start and end, chained in
// double precision from the begin point and angle with the parts' own measures. The formulas
// are the walk's, without its rounding to whole fine pixels and its tables, so a course does not
// drift with the number of curves or depend on where the track starts. Whatever judges a layout
// (footprints, the layout check, the closure of a suggested layout) takes its positions from
// here; the walk keeps drawing, the lane lengths and the closure figures.

namespace lapwerk {

/// Largest gap between a track's end and its begin point that still counts as closed: 2 mm,
/// in model units (2 / 25.4 x 256).
inline constexpr double kClosedGapUnits = 2.0 / 25.4 * 256.0;

/// Largest heading error that still counts as closed: 1 degree, in quarter degrees and degrees.
inline constexpr int kClosedHeadingQuarters = 4;
inline constexpr double kClosedHeadingDegrees = kClosedHeadingQuarters / 4.0;

/// A pen pose in model units: the pen on the reference edge, heading in quarter degrees
/// 0..1439 (headings stay whole: every arc is a whole number of quarter degrees).
struct ExactPose {
    double x = 0;
    double y = 0;
    int heading = 0;
};

/// An angle in quarter degrees as radians.
double QuarterDegreesToRadians(double quarterDegrees);

/// The unit vectors of a heading: across the track (towards its far edge) and along it.
struct HeadingFrame {
    double acrossX, acrossY, alongX, alongY;
    explicit HeadingFrame(int heading);
};

/// Whether a section ending at `end` joins one starting at `start`: within the closed gap and
/// heading of the closure figures.
bool JoinsAt(const ExactPose& end, const ExactPose& start);

/// One section the walk lays, with its pose at both ends.
struct CourseSection {
    int section; ///< index in the track, from 0
    ExactPose start;
    ExactPose end;
};

/// Every section of a track that the walk lays (a part in the library of a straight or curve
/// kind), in driving order.
struct TrackCourse {
    ExactPose begin;
    std::vector<CourseSection> sections;
    ExactPose end; ///< after the last section; `begin` without sections

    /// The distance from the end to the begin point, model units.
    double gapUnits() const;
    /// The end heading against the begin heading, the smaller way round, degrees 0..180.
    double headingErrorDegrees() const;
    /// It lays a section and ends within the closed gap and heading of the closure figures.
    bool closes() const;
};

/// The pose after laying `part` in `direction` from `start`: a straight kind moves the pen its
/// length along, a curve kind turns it about its centre by its arc; other kinds do not move it.
ExactPose LayExactly(const ExactPose& start, const Part& part, char direction);

/// The course of Track `slot` of `design`, a slot in use.
TrackCourse ExactCourse(const Design& design, const PartLibrary& library, int slot);

} // namespace lapwerk
