#include "footprint.h"

#include "course.h"

#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/envelope.hpp>

#include <algorithm>
#include <cmath>
#include <optional>

namespace lapwerk {

namespace {

namespace bg = boost::geometry;

/// A pen pose with its travel (along) and across vectors.
struct Frame {
    ExactPose pen;
    HeadingFrame axes;
    explicit Frame(const ExactPose& pose) : pen(pose), axes(pose.heading) {}
    /// The point `a` across and `b` along from the pen.
    ModelPoint at(double a, double b) const {
        return {pen.x + a * axes.acrossX + b * axes.alongX,
                pen.y + a * axes.acrossY + b * axes.alongY};
    }
};

void Finish(SectionFootprint& footprint) {
    bg::correct(footprint.area);
    bg::envelope(footprint.area, footprint.box);
}

std::optional<SectionFootprint> StraightFootprint(const Frame& frame, const Part& part) {
    if (part.width <= 0 || part.length <= 0) {
        return std::nullopt;
    }
    const double w = part.width;
    const double l = part.length;
    SectionFootprint footprint;
    footprint.area.outer() = {frame.at(0, 0), frame.at(0, l), frame.at(w, l), frame.at(w, 0),
                              frame.at(0, 0)};
    footprint.centreLine = {frame.at(w / 2, 0), frame.at(w / 2, l)};
    Finish(footprint);
    return footprint;
}

/// A curve turning about `centre` in `steps` equal chord steps: the unit vectors from the centre
/// towards the pen after each step, 0..steps.
struct Arc {
    ModelPoint centre;
    std::vector<ModelPoint> rays;

    Arc(ModelPoint centreAt, double startHeading, bool left, double sweep, int steps)
        : centre(centreAt) {
        // A right curve's pen lies towards the traveller's left of the centre (+U), a left
        // curve's towards the right (-U), and the heading turns right or left. The rays turn
        // by rotation, two sines and cosines a curve.
        const double sign = left ? -1.0 : 1.0;
        const double turn = left ? -sweep / steps : sweep / steps;
        const double c = std::cos(turn), s = std::sin(turn);
        ModelPoint ray{sign * std::cos(startHeading), sign * std::sin(startHeading)};
        rays.reserve(steps + 1);
        for (int i = 0; i <= steps; ++i) {
            rays.push_back(ray);
            ray = {ray.x * c - ray.y * s, ray.x * s + ray.y * c};
        }
    }

    /// The points at radius r after each step, backwards when `reversed`.
    std::vector<ModelPoint> points(double r, bool reversed) const {
        std::vector<ModelPoint> result;
        result.reserve(rays.size());
        for (size_t i = 0; i < rays.size(); ++i) {
            const ModelPoint& ray = rays[reversed ? rays.size() - 1 - i : i];
            result.push_back({centre.x + r * ray.x, centre.y + r * ray.y});
        }
        return result;
    }
};

std::optional<SectionFootprint> CurveFootprint(const Frame& frame, const Part& part,
                                               char direction) {
    const double outer = static_cast<double>(part.radius);
    const double inner = outer - part.width;
    if (part.width <= 0 || part.arc <= 0 || inner < 0) {
        return std::nullopt;
    }
    const bool left = direction == 'L';
    // The walk's centre lies `inner` from the pen on the reference-edge side for a right curve,
    // `outer` beyond the far edge for a left one.
    const ModelPoint centre = left ? frame.at(outer, 0) : frame.at(-inner, 0);
    const bool fullTurn = part.arc >= kFullTurn;
    const int arcSteps = fullTurn ? kFullTurn : part.arc;
    const int steps = (arcSteps + kFootprintChordStep - 1) / kFootprintChordStep;
    const Arc arc(centre, QuarterDegreesToRadians(frame.pen.heading), left,
                  QuarterDegreesToRadians(arcSteps), steps);

    // The outer arc's chords lie inside its circle; the inner arc's are laid on a circle just
    // beyond the inner radius so that they lie outside the inner circle. The band then lies
    // within the section, and curves nested in each other touch without overlapping.
    const double chordAngle = QuarterDegreesToRadians(arcSteps) / steps;
    const double innerChords = inner / std::cos(chordAngle / 2);

    SectionFootprint footprint;
    auto& ring = footprint.area.outer();
    const std::vector<ModelPoint> outerArc = arc.points(outer, false);
    ring.assign(outerArc.begin(), outerArc.end());
    if (fullTurn) {
        ring.back() = ring.front();
        if (inner > 0) {
            const std::vector<ModelPoint> innerArc = arc.points(innerChords, true);
            FootprintPolygon::ring_type hole(innerArc.begin(), innerArc.end());
            hole.back() = hole.front();
            footprint.area.inners().push_back(std::move(hole));
        }
    } else {
        if (inner > 0) {
            const std::vector<ModelPoint> back = arc.points(innerChords, true);
            ring.insert(ring.end(), back.begin(), back.end());
        } else {
            ring.push_back(centre);
        }
        ring.push_back(ring.front());
    }
    footprint.centreLine = arc.points((inner + outer) / 2, false);
    Finish(footprint);
    return footprint;
}

std::optional<SectionFootprint> FootprintOf(const Part& part, char direction,
                                            const ExactPose& start) {
    const Frame frame(start);
    if (IsStraightKind(part.kind)) {
        return StraightFootprint(frame, part);
    }
    return CurveFootprint(frame, part, direction);
}

} // namespace

std::vector<SectionFootprint> TrackFootprints(const Design& design, const PartLibrary& library,
                                              int slot) {
    return TrackFootprints(design, library, slot, ExactCourse(design, library, slot));
}

std::vector<SectionFootprint> TrackFootprints(const Design& design, const PartLibrary& library,
                                              int slot, const TrackCourse& course) {
    const Track& track = design.tracks[slot];
    std::vector<SectionFootprint> footprints;
    for (const CourseSection& section : course.sections) {
        const Part& part = library.parts[track.partIndex[section.section]];
        if (auto footprint = FootprintOf(part, track.direction[section.section], section.start)) {
            footprint->ref = {slot, section.section};
            footprints.push_back(std::move(*footprint));
        }
    }
    return footprints;
}

} // namespace lapwerk
