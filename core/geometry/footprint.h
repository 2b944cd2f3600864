#pragma once

#include "course.h"
#include "design.h"
#include "part_library.h"

#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/geometries/register/point.hpp>

#include <compare>
#include <vector>

// Footprints: the band of the board that each section covers, laid along the track's exact
// course (a model unit is a unit) and held as Boost.Geometry polygons, so that areas of overlap
// come from that library. A straight kind covers the rectangle of its width by its length, a
// curve kind the ring sector between radius - width and radius over its arc; a curve's arcs are
// chords of at most 1.25 degrees.

namespace lapwerk {

/// A point in model units.
struct ModelPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const ModelPoint&, const ModelPoint&) = default;
};

} // namespace lapwerk

BOOST_GEOMETRY_REGISTER_POINT_2D(lapwerk::ModelPoint, double, boost::geometry::cs::cartesian, x, y)

namespace lapwerk {

using FootprintPolygon = boost::geometry::model::polygon<ModelPoint>;
using FootprintBox = boost::geometry::model::box<ModelPoint>;

/// One section of a track.
struct SectionRef {
    int slot;    ///< track slot 0..63
    int section; ///< section index in driving order, from 0
    friend auto operator<=>(const SectionRef&, const SectionRef&) = default;
};

/// What one section covers.
struct SectionFootprint {
    SectionRef ref;
    FootprintPolygon area;              ///< oriented and closed as Boost.Geometry wants it
    FootprintBox box;                   ///< the bounding box of `area`
    std::vector<ModelPoint> centreLine; ///< from the start edge's middle to the end edge's
};

/// Largest angle of one chord of a curve's footprint, quarter degrees (1.25 degrees).
inline constexpr int kFootprintChordStep = 5;

/// The footprints of Track `slot`'s sections in driving order, laid along `course`, the
/// track's exact course. Sections of a part missing from the library, of a kind the walk
/// ignores, or without area (a width, length, radius or arc of 0 or less, an inner radius below
/// 0) have none.
std::vector<SectionFootprint> TrackFootprints(const Design& design, const PartLibrary& library,
                                              int slot, const TrackCourse& course);

/// TrackFootprints along the track's exact course.
std::vector<SectionFootprint> TrackFootprints(const Design& design, const PartLibrary& library,
                                              int slot);

} // namespace lapwerk
