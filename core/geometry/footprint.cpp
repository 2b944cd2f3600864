#include "footprint.h"

#include "walk.h"

#include <boost/geometry/algorithms/correct.hpp>
#include <boost/geometry/algorithms/envelope.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lapwerk {

namespace {

namespace bg = boost::geometry;

/// The closure scale: a fine pixel is a model unit.
constexpr int32_t kModelScale = 256;

/// A pen pose in model units with its travel (T) and across (U) vectors.
struct Frame {
    ModelPoint pen;
    double heading; ///< radians
    ModelPoint across() const { return {std::cos(heading), std::sin(heading)}; }
    ModelPoint along() const { return {-std::sin(heading), std::cos(heading)}; }
    /// The point `a` across and `b` along from the pen.
    ModelPoint at(double a, double b) const {
        const ModelPoint u = across();
        const ModelPoint t = along();
        return {pen.x + a * u.x + b * t.x, pen.y + a * u.y + b * t.y};
    }
};

double Radians(double quarterDegrees) {
    return quarterDegrees * std::numbers::pi / 720.0;
}

/// Collects the pen at the start of every placed section.
class StartObserver final : public WalkObserver {
public:
    void sectionWalked(int, int section, const PenPose& start,
                       const std::optional<FinePoint>& marker, const PenPose&) override {
        if (marker) {
            starts.push_back({section, start});
        }
    }
    std::vector<std::pair<int, PenPose>> starts;
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
    const double right = std::min(kFootprintInset, w / 2);
    const double left = w - right;
    SectionFootprint footprint;
    footprint.area.outer() = {frame.at(right, 0), frame.at(right, l), frame.at(left, l),
                              frame.at(left, 0), frame.at(right, 0)};
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
    const double inset = std::min(kFootprintInset, part.width / 2.0);
    const double bandInner = inner > 0 ? inner + inset : 0.0;
    const double bandOuter = outer - inset;
    const bool fullTurn = part.arc >= kFullTurn;
    const int arcSteps = fullTurn ? kFullTurn : part.arc;
    const int steps = (arcSteps + kFootprintChordStep - 1) / kFootprintChordStep;
    const Arc arc(centre, frame.heading, left, Radians(arcSteps), steps);

    SectionFootprint footprint;
    auto& ring = footprint.area.outer();
    const std::vector<ModelPoint> outerArc = arc.points(bandOuter, false);
    ring.assign(outerArc.begin(), outerArc.end());
    if (fullTurn) {
        ring.back() = ring.front();
        if (bandInner > 0) {
            const std::vector<ModelPoint> innerArc = arc.points(bandInner, true);
            FootprintPolygon::ring_type hole(innerArc.begin(), innerArc.end());
            hole.back() = hole.front();
            footprint.area.inners().push_back(std::move(hole));
        }
    } else {
        if (bandInner > 0) {
            const std::vector<ModelPoint> back = arc.points(bandInner, true);
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
                                            const PenPose& start) {
    const Frame frame{{static_cast<double>(start.x), static_cast<double>(start.y)},
                      Radians(start.heading)};
    if (IsStraightKind(part.kind)) {
        return StraightFootprint(frame, part);
    }
    if (IsCurveKind(part.kind)) {
        return CurveFootprint(frame, part, direction);
    }
    return std::nullopt;
}

} // namespace

std::vector<SectionFootprint> TrackFootprints(const Design& design, const PartLibrary& library,
                                              int slot) {
    StartObserver observer;
    WalkDesignSilently(design, library, kModelScale, 0, 0, observer, slot);
    const Track& track = design.tracks[slot];
    std::vector<SectionFootprint> footprints;
    footprints.reserve(observer.starts.size());
    for (const auto& [section, start] : observer.starts) {
        const Part& part = library.parts[track.partIndex[section]];
        if (auto footprint = FootprintOf(part, track.direction[section], start)) {
            footprint->ref = {slot, section};
            footprints.push_back(std::move(*footprint));
        }
    }
    return footprints;
}

} // namespace lapwerk
