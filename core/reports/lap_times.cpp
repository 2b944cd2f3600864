#include "lap_times.h"

#include "closure.h"
#include "number_text.h"
#include "part_counts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lapwerk {

namespace {

constexpr double kMetresPerUnit = 0.0254 / 256.0;
/// The step of the speed profile, m: short enough that the lap time keeps well within a tenth
/// of a per cent of the exact profile's, as the laps worked by hand in the tests show.
constexpr double kStep = 0.005;
/// Most steps of one lap: a lap longer than a kilometre is taken in longer steps.
constexpr int64_t kMaxSteps = 200'000;
/// Most points of the profile kept for a plot, and the least distance between two, m.
constexpr int64_t kProfilePoints = 2000;
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

/// The fastest periodic profile at `points` equally spaced points `step` apart under the
/// points' speed limits: from the slowest point, where the car runs at its limit, speeding up
/// forward and braking backward.
std::vector<double> FastestProfile(const std::vector<double>& limit, double step,
                                   const CarSettings& car) {
    const size_t n = limit.size();
    const size_t slowest = std::min_element(limit.begin(), limit.end()) - limit.begin();
    std::vector<double> v(n);
    const double gain = 2 * std::max(car.acceleration, 0.0) * step;
    const double loss = 2 * std::max(car.braking, 0.0) * step;
    v[slowest] = limit[slowest];
    for (size_t k = 1; k < n; ++k) {
        const size_t i = (slowest + k) % n;
        const size_t before = (i + n - 1) % n;
        v[i] = std::min(limit[i], std::sqrt(v[before] * v[before] + gain));
    }
    for (size_t k = 1; k < n; ++k) {
        const size_t i = (slowest + n - k) % n;
        const size_t after = (i + 1) % n;
        v[i] = std::min(v[i], std::sqrt(v[after] * v[after] + loss));
    }
    return v;
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

LaneLap RunLap(std::vector<LanePiece> run, const CarSettings& car) {
    LaneLap lap;
    lap.run = std::move(run);
    double total = 0;
    for (const LanePiece& piece : lap.run) {
        total += std::max(piece.length, 0.0);
    }
    if (total <= 0) {
        return lap;
    }
    const int64_t steps = std::clamp<int64_t>(std::llround(total / kStep), 1, kMaxSteps);
    const double step = total / static_cast<double>(steps);
    // The limit of each step is the lowest of the pieces it touches; a point's is the lower of
    // its two steps'.
    std::vector<double> stepLimit(steps, std::max(car.topSpeed, kCrawl));
    std::vector<bool> inCurve(steps, false);
    double at = 0;
    for (const LanePiece& piece : lap.run) {
        if (piece.length <= 0) {
            continue;
        }
        const int64_t first = std::min<int64_t>(static_cast<int64_t>(at / step), steps - 1);
        at += piece.length;
        const int64_t last = std::min<int64_t>(static_cast<int64_t>(std::ceil(at / step)), steps);
        for (int64_t k = first; k < last; ++k) {
            stepLimit[k] = std::min(stepLimit[k], SpeedLimit(piece, car));
            inCurve[k] = inCurve[k] || piece.radius > 0;
        }
    }
    std::vector<double> pointLimit(steps);
    for (int64_t i = 0; i < steps; ++i) {
        pointLimit[i] = std::min(stepLimit[i], stepLimit[(i + steps - 1) % steps]);
    }
    const std::vector<double> v = FastestProfile(pointLimit, step, car);

    const int64_t every =
        std::max<int64_t>({1, std::llround(kProfileSpacing / step), steps / kProfilePoints});
    for (int64_t i = 0; i < steps; ++i) {
        const double next = v[(i + 1) % steps];
        lap.seconds += 2 * step / (v[i] + next);
        lap.topSpeedReached = std::max(lap.topSpeedReached, v[i]);
        if (inCurve[i] && (lap.lowestCurveSpeed == 0 || v[i] < lap.lowestCurveSpeed)) {
            lap.lowestCurveSpeed = v[i];
        }
        if (i % every == 0) {
            lap.profile.push_back({static_cast<double>(i) * step, v[i]});
        }
    }
    lap.profile.push_back({total, v[0]});
    return lap;
}

std::vector<TrackLaps> MeasureLapTimes(const Design& design, const PartLibrary& library,
                                       const CarSettings& car) {
    std::vector<TrackLaps> tracks;
    for (const TrackClosure& closure : MeasureClosure(design, library)) {
        TrackLaps laps{closure.slot, closure.number, closure.closed, {}};
        if (closure.closed) {
            for (int lane = 0; lane < 2; ++lane) {
                laps.lanes[lane] = RunLap(LaneRun(design, library, closure.slot, lane), car);
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
    const double difference = laps.lanes[1].seconds - laps.lanes[0].seconds;
    const std::string magnitude = FormatFixed(std::fabs(difference), 3);
    const bool negative = difference < 0 && magnitude != "0.000";
    return track + '\t' + FormatFixed(laps.lanes[0].seconds, 3) + " s\t" +
           FormatFixed(laps.lanes[1].seconds, 3) + " s\t" + (negative ? "-" : "+") + magnitude +
           " s";
}

std::string LapDifferenceText(const TrackLaps& laps) {
    const double difference = laps.lanes[1].seconds - laps.lanes[0].seconds;
    const std::string magnitude = FormatFixed(std::fabs(difference), 3);
    if (magnitude == "0.000") {
        return "even";
    }
    return std::string(difference > 0 ? "lane 2" : "lane 1") + " +" + magnitude + " s";
}

} // namespace lapwerk
