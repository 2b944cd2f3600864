#include "closure.h"

#include "number_text.h"

#include "fixed_point.h"
#include "lane_lengths.h"
#include "walk.h"

#include <cmath>

namespace lapwerk {

namespace {

constexpr double kInchesPerUnit = 0.00390625;
constexpr double kMetresPerInch = 0.0254;
constexpr double kMillimetresPerInch = 25.4;
constexpr const char* kDegreeSign = "\xC2\xB0";

/// Collects the begin and end pens and lane totals of the one track walked.
class ClosureObserver final : public WalkObserver {
public:
    void sectionWalked(int, int, const PenPose&, const std::optional<FinePoint>& marker,
                       const PenPose&) override {
        placed_ = placed_ || marker.has_value();
    }
    void trackEnded(int, const PenPose& begin, const PenPose& end, int32_t lane1,
                    int32_t lane2) override {
        begin_ = begin;
        end_ = end;
        lane1_ = lane1;
        lane2_ = lane2;
    }

    bool placed_ = false;
    PenPose begin_{0, 0, 0};
    PenPose end_{0, 0, 0};
    int32_t lane1_ = 0;
    int32_t lane2_ = 0;
};

/// The end pen's offset from the begin pen, model units. The walk wraps in 32 bits where a
/// hostile begin point or part leaves the range, so the offset is taken modulo 2^32 as well:
/// it is then exact for any begin point.
double GapUnits(const PenPose& begin, const PenPose& end) {
    const int32_t dx = fx::Sub(end.x, begin.x);
    const int32_t dy = fx::Sub(end.y, begin.y);
    return std::hypot(static_cast<double>(dx), static_cast<double>(dy));
}

/// The smaller angle between two headings of any value, degrees 0..180.
double HeadingErrorDegrees(int32_t begin, int32_t end) {
    const int turned = fx::TrigIndex(int64_t{end} - begin);
    const int error = turned > kFullTurn / 2 ? kFullTurn - turned : turned;
    return error / 4.0;
}

int TracksInUse(const Design& design) {
    int count = 0;
    for (const Track& track : design.tracks) {
        count += track.inUse != 0 ? 1 : 0;
    }
    return count;
}

} // namespace

int64_t LaneDifference(const TrackClosure& closure) {
    return int64_t{closure.lane2} - closure.lane1;
}

TrackClosure MeasureTrackClosure(const Design& design, const PartLibrary& library, int slot) {
    ClosureObserver observer;
    if (slot >= 0 && slot < kMaxTracks && design.tracks[slot].inUse != 0) {
        WalkDesignSilently(design, library, kClosureScale, 0, 0, observer, slot);
    }
    TrackClosure closure{};
    closure.slot = slot;
    closure.number = TrackNumberOfSlot(design, slot);
    closure.lane1 = observer.lane1_;
    closure.lane2 = observer.lane2_;
    closure.gapUnits = GapUnits(observer.begin_, observer.end_);
    closure.headingErrorDegrees =
        HeadingErrorDegrees(observer.begin_.heading, observer.end_.heading);
    closure.hasSections = observer.placed_;
    closure.begin = observer.begin_;
    closure.end = observer.end_;
    closure.closed = closure.hasSections && closure.gapUnits <= kClosedGapUnits &&
                     closure.headingErrorDegrees <= kClosedHeadingDegrees;
    return closure;
}

std::vector<TrackClosure> MeasureClosure(const Design& design, const PartLibrary& library) {
    std::vector<TrackClosure> closures;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse != 0) {
            closures.push_back(MeasureTrackClosure(design, library, slot));
        }
    }
    return closures;
}

std::string FormatGap(double gapUnits, bool metric) {
    const double inches = gapUnits * kInchesPerUnit;
    if (metric) {
        return FormatFixed(inches * kMillimetresPerInch, 1) + " mm";
    }
    return FormatFixed(inches, 1) + " in";
}

std::string FormatHeadingError(double degrees) {
    return FormatFixed(degrees, 1) + kDegreeSign;
}

std::string FormatClosure(const TrackClosure& closure, bool metric) {
    if (closure.closed) {
        return "closed";
    }
    if (!closure.hasSections) {
        return "open: no sections";
    }
    return "open: gap " + FormatGap(closure.gapUnits, metric) + ", " +
           FormatHeadingError(closure.headingErrorDegrees);
}

std::string FormatLaneDifference(int64_t units, bool metric) {
    const double inches = static_cast<double>(units) * kInchesPerUnit;
    return FormatSigned(metric ? inches * kMetresPerInch : inches, 2) + (metric ? " m" : " '");
}

std::string StatusText(const Design& design, const PartLibrary& library, bool metric) {
    const int slot = design.currentTrack;
    if (slot < 0 || slot >= kMaxTracks || design.tracks[slot].inUse == 0) {
        return "No track";
    }
    const TrackClosure closure = MeasureTrackClosure(design, library, slot);
    return "Track " + std::to_string(closure.number) + " of " +
           std::to_string(TracksInUse(design)) +
           " | Lane 1: " + FormatLaneLength(closure.lane1, metric) +
           " | Lane 2: " + FormatLaneLength(closure.lane2, metric) +
           " | Difference: " + FormatLaneDifference(LaneDifference(closure), metric) + " | " +
           FormatClosure(closure, metric);
}

std::string SummaryLine(const TrackClosure& closure, bool metric) {
    return "Track " + std::to_string(closure.number) + '\t' +
           FormatLaneLength(closure.lane1, metric) + '\t' +
           FormatLaneLength(closure.lane2, metric) + '\t' +
           FormatLaneDifference(LaneDifference(closure), metric) + '\t' +
           (closure.closed ? "closed" : "open") + '\t' + FormatGap(closure.gapUnits, metric) +
           '\t' + FormatHeadingError(closure.headingErrorDegrees);
}

std::vector<std::string> SummaryLines(const Design& design, const PartLibrary& library,
                                      bool metric) {
    std::vector<std::string> lines;
    for (const TrackClosure& closure : MeasureClosure(design, library)) {
        lines.push_back(SummaryLine(closure, metric));
    }
    return lines;
}

} // namespace lapwerk
