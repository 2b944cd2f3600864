#include "course.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace lapwerk {

namespace {

int Wrapped(int64_t quarterDegrees) {
    const int64_t r = quarterDegrees % kFullTurn;
    return static_cast<int>(r < 0 ? r + kFullTurn : r);
}

ExactPose Moved(const ExactPose& pose, const HeadingFrame& frame, double across, double along) {
    return {pose.x + across * frame.acrossX + along * frame.alongX,
            pose.y + across * frame.acrossY + along * frame.alongY, pose.heading};
}

} // namespace

double QuarterDegreesToRadians(double quarterDegrees) {
    return quarterDegrees * std::numbers::pi / 720.0;
}

HeadingFrame::HeadingFrame(int heading) {
    const double radians = QuarterDegreesToRadians(heading);
    acrossX = std::cos(radians);
    acrossY = std::sin(radians);
    alongX = -acrossY;
    alongY = acrossX;
}

ExactPose LayExactly(const ExactPose& start, const Part& part, char direction) {
    const HeadingFrame frame(start.heading);
    if (IsStraightKind(part.kind)) {
        return Moved(start, frame, 0, part.length);
    }
    if (!IsCurveKind(part.kind)) {
        return start;
    }
    // A right curve's pen runs on its inner edge about a centre `inner` across the track from
    // the pen; a left curve's on its outer edge about a centre `outer` beyond the far edge.
    const double outer = part.radius;
    const double inner = outer - static_cast<double>(part.width);
    const bool left = direction == 'L';
    const double r = left ? outer : inner;
    const double turned = QuarterDegreesToRadians(part.arc);
    const double sign = left ? -1.0 : 1.0;
    // From the centre, the pen lies at r * (sign * cos, sin) in the start frame.
    const double across = sign * (r * std::cos(turned) - r);
    const double along = r * std::sin(turned);
    ExactPose end = Moved(start, frame, across, along);
    end.heading =
        Wrapped(left ? int64_t{start.heading} - part.arc : int64_t{start.heading} + part.arc);
    return end;
}

TrackCourse ExactCourse(const Design& design, const PartLibrary& library, int slot) {
    const Track& track = design.tracks[slot];
    TrackCourse course;
    course.begin = {static_cast<double>(track.beginX), static_cast<double>(track.beginY),
                    Wrapped(track.angle)};
    ExactPose pen = course.begin;
    const int count = std::clamp(track.sectionCount, 0, kMaxSections);
    const int parts = std::clamp(library.count, 0, kMaxParts);
    for (int i = 0; i < count; ++i) {
        const int index = track.partIndex[i];
        if (index >= parts) {
            continue;
        }
        const Part& part = library.parts[index];
        if (!IsStraightKind(part.kind) && !IsCurveKind(part.kind)) {
            continue;
        }
        const ExactPose end = LayExactly(pen, part, track.direction[i]);
        course.sections.push_back({i, pen, end});
        pen = end;
    }
    course.end = pen;
    return course;
}

namespace {

double Gap(const ExactPose& from, const ExactPose& to) {
    return std::hypot(from.x - to.x, from.y - to.y);
}

double HeadingError(const ExactPose& from, const ExactPose& to) {
    const int turned = Wrapped(int64_t{from.heading} - to.heading);
    return std::min(turned, kFullTurn - turned) / 4.0;
}

} // namespace

bool JoinsAt(const ExactPose& end, const ExactPose& start) {
    return Gap(end, start) <= kClosedGapUnits && HeadingError(end, start) <= kClosedHeadingDegrees;
}

double TrackCourse::gapUnits() const {
    return Gap(end, begin);
}

double TrackCourse::headingErrorDegrees() const {
    return HeadingError(end, begin);
}

bool TrackCourse::closes() const {
    return !sections.empty() && JoinsAt(end, begin);
}

} // namespace lapwerk
