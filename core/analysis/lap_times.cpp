#include "lap_times.h"

#include "closure.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace lapwerk {

namespace {

constexpr double kMetresPerUnit = 0.0254 / 256.0;
/// Most points of the profile kept for a plot per lap, and the least distance between two, m.
constexpr double kProfilePointsPerLap = 2000;
constexpr double kProfileSpacing = 0.01;
/// The lowest speed allowed anywhere, m/s, so that a curve of no radius still ends.
constexpr double kCrawl = 0.01;

double SpeedLimit(const LanePiece& piece, const CarSettings& car) {
    const double top = std::max(car.topSpeed, kCrawl);
    if (piece.radius <= 0) {
        return top;
    }
    return std::clamp(std::sqrt(std::max(car.grip, 0.0) * kGravity * piece.radius), kCrawl, top);
}

/// The fastest speed along one piece of the cycle: its limit, the speed the car can reach
/// from `entry` at the start, and the speed it can still brake from to `exit` at the end.
struct PieceSpeed {
    double length, limit, entry, exit, gain, loss; ///< gain, loss: twice the acceleration,
                                                   ///< twice the braking
    bool curve;

    double rising(double x) const { return std::sqrt(entry * entry + gain * x); }
    double falling(double x) const { return std::sqrt(exit * exit + loss * (length - x)); }
    double at(double x) const { return std::min({limit, rising(x), falling(x)}); }

    /// The distances where the speed changes from one of its three bounds to another, with
    /// both ends, in order.
    std::vector<double> breaks() const {
        std::vector<double> points = {0, length};
        auto add = [&](double x) {
            if (std::isfinite(x) && x > 0 && x < length) {
                points.push_back(x);
            }
        };
        if (gain + loss > 0) {
            add((exit * exit + loss * length - entry * entry) / (gain + loss));
        }
        if (gain > 0) {
            add((limit * limit - entry * entry) / gain);
        }
        if (loss > 0) {
            add(length - (limit * limit - exit * exit) / loss);
        }
        std::sort(points.begin(), points.end());
        return points;
    }

    /// The time from x0 to x1 under the one bound that holds between them.
    double timeBetween(double x0, double x1) const {
        const double middle = at((x0 + x1) / 2);
        if (middle == limit) {
            return (x1 - x0) / limit;
        }
        if (middle == rising((x0 + x1) / 2)) {
            return gain > 0 ? 2 * (rising(x1) - rising(x0)) / gain : (x1 - x0) / entry;
        }
        return loss > 0 ? 2 * (falling(x0) - falling(x1)) / loss : (x1 - x0) / exit;
    }

    double seconds() const {
        const std::vector<double> points = breaks();
        double total = 0;
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            total += timeBetween(points[i], points[i + 1]);
        }
        return total;
    }

    double fastest() const {
        double top = 0;
        for (const double x : breaks()) {
            top = std::max(top, at(x));
        }
        return top;
    }
};

/// The fastest cycle round `run` (pieces of positive length): from the slowest piece, which
/// the car runs at its limit, speeding up forward and braking backward round the cycle.
std::vector<PieceSpeed> FastestCycle(const std::vector<LanePiece>& run, const CarSettings& car) {
    const size_t n = run.size();
    std::vector<PieceSpeed> pieces(n);
    for (size_t i = 0; i < n; ++i) {
        pieces[i] = {run[i].length,
                     SpeedLimit(run[i], car),
                     0,
                     0,
                     2 * std::max(car.acceleration, 0.0),
                     2 * std::max(car.braking, 0.0),
                     run[i].radius > 0};
    }
    const size_t slowest = std::min_element(pieces.begin(), pieces.end(),
                                            [](const PieceSpeed& a, const PieceSpeed& b) {
                                                return a.limit < b.limit;
                                            }) -
                           pieces.begin();
    double speed = pieces[slowest].limit;
    for (size_t k = 1; k <= n; ++k) {
        PieceSpeed& piece = pieces[(slowest + k) % n];
        piece.entry = std::min(speed, piece.limit);
        speed = std::min(piece.limit, piece.rising(piece.length));
    }
    speed = pieces[slowest].limit;
    for (size_t k = 1; k <= n; ++k) {
        PieceSpeed& piece = pieces[(slowest + n - k) % n];
        piece.exit = std::min(speed, piece.limit);
        speed = std::min(piece.limit, piece.falling(0));
    }
    return pieces;
}

/// Whether Track `slot` has an odd number of lane changes, so that the lanes change places.
bool LanesChangePlaces(const Design& design, const PartLibrary& library, int slot) {
    const Track& track = design.tracks[slot];
    bool swapped = false;
    for (int i = 0; i < ListedSectionCount(track); ++i) {
        const int index = track.partIndex[i];
        swapped ^= index < ListedPartCount(library) && library.parts[index].kind == kKindLaneChange;
    }
    return swapped;
}

} // namespace

std::vector<LanePiece> LaneRun(const Design& design, const PartLibrary& library, int slot,
                               int lane) {
    const Track& track = design.tracks[slot];
    std::vector<LanePiece> run;
    // The lane starts in its own position; a lane change puts it in the other.
    int position = lane;
    for (int i = 0; i < ListedSectionCount(track); ++i) {
        const int index = track.partIndex[i];
        if (index >= ListedPartCount(library)) {
            continue;
        }
        const Part& part = library.parts[index];
        if (IsStraightKind(part.kind)) {
            run.push_back({i, part.length * kMetresPerUnit, 0});
            if (part.kind == kKindLaneChange) {
                position = 1 - position;
            }
        } else if (IsCurveKind(part.kind)) {
            const bool first = position == 0;
            const bool left = track.direction[i] == 'L';
            const int32_t units = first == left ? part.laneLength1 : part.laneLength2;
            const double arc = part.arc * std::numbers::pi / 720.0;
            const double length = units * kMetresPerUnit;
            run.push_back({i, length, arc > 0 ? length / arc : 0});
        }
    }
    return run;
}

LaneLap RunLap(std::vector<LanePiece> run, const CarSettings& car, int laps) {
    LaneLap lap;
    lap.run = std::move(run);
    std::vector<LanePiece> laid;
    std::copy_if(lap.run.begin(), lap.run.end(), std::back_inserter(laid),
                 [](const LanePiece& piece) { return piece.length > 0; });
    if (laid.empty()) {
        return lap;
    }
    const std::vector<PieceSpeed> pieces = FastestCycle(laid, car);
    double total = 0;
    for (const PieceSpeed& piece : pieces) {
        total += piece.length;
        lap.seconds += piece.seconds();
        lap.topSpeedReached = std::max(lap.topSpeedReached, piece.fastest());
        if (piece.curve) {
            const double lowest = std::min(piece.at(0), piece.at(piece.length));
            lap.lowestCurveSpeed =
                lap.lowestCurveSpeed == 0 ? lowest : std::min(lap.lowestCurveSpeed, lowest);
        }
    }
    lap.seconds /= std::max(laps, 1);

    const double spacing =
        std::max(kProfileSpacing, total / (kProfilePointsPerLap * std::max(laps, 1)));
    double start = 0;
    for (const PieceSpeed& piece : pieces) {
        for (double d = std::ceil(start / spacing) * spacing; d < start + piece.length;
             d += spacing) {
            lap.profile.push_back({d, piece.at(d - start)});
        }
        start += piece.length;
    }
    lap.profile.push_back({total, pieces.front().at(0)});
    return lap;
}

std::vector<TrackLaps> MeasureLapTimes(const Design& design, const PartLibrary& library,
                                       const CarSettings& car) {
    std::vector<TrackLaps> tracks;
    for (const TrackClosure& closure : MeasureClosure(design, library)) {
        TrackLaps laps{closure.slot, closure.number, closure.closed, {}};
        if (closure.closed) {
            laps.lanesChangePlaces = LanesChangePlaces(design, library, closure.slot);
            const std::vector<LanePiece> runs[2] = {LaneRun(design, library, closure.slot, 0),
                                                    LaneRun(design, library, closure.slot, 1)};
            for (int lane = 0; lane < 2; ++lane) {
                std::vector<LanePiece> cycle = runs[lane];
                if (laps.lanesChangePlaces) {
                    cycle.insert(cycle.end(), runs[1 - lane].begin(), runs[1 - lane].end());
                }
                laps.lanes[lane] = RunLap(std::move(cycle), car, laps.lanesChangePlaces ? 2 : 1);
            }
        }
        tracks.push_back(std::move(laps));
    }
    return tracks;
}

std::string LapTimesLine(const TrackLaps& laps) {
    const std::string track = "Track " + std::to_string(laps.number);
    if (!laps.closed) {
        return track + "\topen";
    }
    return track + '\t' + FormatFixed(laps.lanes[0].seconds, 3) + " s\t" +
           FormatFixed(laps.lanes[1].seconds, 3) + " s\t" +
           FormatSigned(laps.lanes[1].seconds - laps.lanes[0].seconds, 3) + " s";
}

std::string LapDifferenceText(const TrackLaps& laps) {
    const double difference = laps.lanes[1].seconds - laps.lanes[0].seconds;
    const std::string magnitude = FormatFixed(std::fabs(difference), 3);
    if (magnitude == "0.000") {
        return "even";
    }
    return std::string(difference > 0 ? "lane 2" : "lane 1") + " +" + magnitude + " s";
}

std::string LanesChangePlacesText() {
    return "Lanes change places every lap";
}

} // namespace lapwerk
