#include "walk.h"

#include "fixed_point.h"
#include "trig.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

namespace lapwerk {

using fx::Add;
using fx::Mul;
using fx::Neg;
using fx::Shr;
using fx::Sub;

namespace {

/// Local offset (across, along) in model units turned to the heading and scaled, fine pixels,
/// without the pen added.
FinePoint Rotate(const WalkState& s, int32_t across, int32_t along) {
    const int h = fx::TrigIndex(s.heading);
    const TrigTables& trig = Trig();
    const int32_t ux = Sub(Shr(Mul(across, trig.cos[h]), 15), Shr(Mul(along, trig.sin[h]), 15));
    const int32_t uy = Add(Shr(Mul(across, trig.sin[h]), 15), Shr(Mul(along, trig.cos[h]), 15));
    return {Shr(Mul(ux, s.zoomScale), 8), Shr(Mul(uy, s.zoomScale), 8)};
}

FinePoint Plus(FinePoint a, FinePoint b) {
    return {Add(a.x, b.x), Add(a.y, b.y)};
}
FinePoint Minus(FinePoint a, FinePoint b) {
    return {Sub(a.x, b.x), Sub(a.y, b.y)};
}

/// The one-pixel dot of a marker point.
void DrawDot(PassCanvas& canvas, FinePoint p) {
    canvas.dot(ToPixel(p), ToPixel({Add(p.x, 256), Add(p.y, 256)}));
}

bool Within(int32_t centre, int32_t reach, int32_t value) {
    return int64_t{centre} - reach < value && value < int64_t{centre} + reach;
}

/// Tests the pick point against `p`; `reach` is in fine view pixels.
void PickTest(WalkState& s, FinePoint p, int32_t reach, int32_t section) {
    const int32_t deviceReach = Mul(reach, s.pixelRatio);
    if (Within(p.x, deviceReach, s.pickPoint.x) && Within(p.y, deviceReach, s.pickPoint.y)) {
        s.pickTrack = s.walkTrack;
        s.pickSection = section;
    }
}

void AddLanes(WalkState& s, int32_t first, int32_t second) {
    // laneSlot only ever holds 0 and 1 (set per track, then only exchanged).
    int32_t& a = s.laneTotal[s.laneSlot[0] & 1];
    int32_t& b = s.laneTotal[s.laneSlot[1] & 1];
    a = Add(a, first);
    b = Add(b, second);
}

/// The kind-specific markings of a straight, in local coordinates.
void DrawDecoration(WalkPass& pass, int32_t kind, int32_t w, int32_t len) {
    PassCanvas& canvas = pass.canvas;
    const WalkState& s = pass.state;
    auto at = [&](int32_t across, int32_t along) {
        return ToPixel(LocalToOutput(s, across, along));
    };
    const int32_t d = w / 2;
    const int32_t d5 = d / 5;
    switch (kind) {
    case 3:
        canvas.line(at(0, 0), at(w, len));
        canvas.line(at(w, 0), at(0, len));
        break;
    case 4: {
        const int32_t w3 = w / 3;
        const int32_t back = Sub(len, 2 * w3);
        canvas.line(at(d, 0), at(d, len));
        canvas.line(at(d, len), at(Add(d, w3), back));
        canvas.line(at(d, len), at(Sub(d, w3), back));
        break;
    }
    case 5:
    case 10:
        canvas.line(at(d - d5, 0), at(d - d5, len));
        canvas.line(at(d + d5, 0), at(d + d5, len));
        break;
    case 8:
        canvas.line(at(0, 0), at(d - d5, len));
        canvas.line(at(w, 0), at(d + d5, len));
        break;
    case 9:
        canvas.line(at(0, len), at(d - d5, 0));
        canvas.line(at(w, len), at(d + d5, 0));
        break;
    case 11: {
        const int32_t w5 = w / 5;
        canvas.moveTo(at(0, 0));
        canvas.lineTo(at(d - w5, len / 2));
        canvas.lineTo(at(0, len));
        canvas.moveTo(at(w, 0));
        canvas.lineTo(at(d + w5, len / 2));
        canvas.lineTo(at(w, len));
        break;
    }
    default:
        break;
    }
}

/// Whether a section's lengths and the pen lie far enough inside 32 bits that no product of
/// the walk wraps, so that a box computed from them bounds everything the section draws.
bool BoundsAreExact(const WalkState& s, std::initializer_list<int32_t> lengths) {
    constexpr int32_t kLargestLength = 32767;
    constexpr int32_t kLargestScale = 16383;
    constexpr int32_t kLargestPen = 1 << 30;
    if (s.zoomScale < 0 || s.zoomScale > kLargestScale || s.x < -kLargestPen || s.x > kLargestPen ||
        s.y < -kLargestPen || s.y > kLargestPen) {
        return false;
    }
    for (const int32_t length : lengths) {
        if (length < -kLargestLength || length > kLargestLength) {
            return false;
        }
    }
    return true;
}

/// A box of fine pixels.
struct FineBox {
    int64_t left, top, right, bottom;

    explicit FineBox(FinePoint p) : left(p.x), top(p.y), right(p.x), bottom(p.y) {}
    void add(int64_t x, int64_t y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    void add(FinePoint p) { add(p.x, p.y); }
};

/// Whether a section whose points all lie in `box` can leave a mark on the pass's canvas. The
/// pixels of slack hold the marker dot, which reaches one view pixel beyond its point.
bool MayShow(const WalkPass& pass, const FineBox& box) {
    const int64_t slack = 2 + pass.canvas.pixelRatio();
    return pass.canvas.mayShow((box.left >> 8) - slack, (box.top >> 8) - slack,
                               (box.right >> 8) + slack, (box.bottom >> 8) + slack);
}

/// Whether a straight can leave a mark. Each coordinate of LocalToOutput is monotonic in
/// either local coordinate, so the corners of the local box bound every point drawn.
bool StraightMayShow(const WalkPass& pass, int32_t width, int32_t length) {
    if (!pass.canvas.drawing()) {
        return false;
    }
    const WalkState& s = pass.state;
    // The arrowhead of kind 4 may reach behind the start of a short section.
    const int32_t arrowBack = Sub(length, 2 * (width / 3));
    if (!BoundsAreExact(s, {width, length, arrowBack})) {
        return true;
    }
    const int32_t alongLow = std::min({0, length, arrowBack});
    const int32_t alongHigh = std::max({0, length, arrowBack});
    FineBox box(LocalToOutput(s, 0, alongLow));
    box.add(LocalToOutput(s, 0, alongHigh));
    box.add(LocalToOutput(s, width, alongLow));
    box.add(LocalToOutput(s, width, alongHigh));
    return MayShow(pass, box);
}

/// Draws a straight: its fill, sides, edges, dot and decoration; leaves the pen white on a
/// filled straight.
void DrawStraightShape(WalkPass& pass, int32_t kind, int32_t width, int32_t length, FinePoint end,
                       FinePoint marker) {
    const WalkState& s = pass.state;
    PassCanvas& canvas = pass.canvas;
    const Rgb colour = canvas.penColour();
    const PixelPoint p0 = ToPixel({s.x, s.y});
    const PixelPoint p1 = ToPixel(end);
    const PixelPoint p2 = ToPixel(LocalToOutput(s, width, length));
    const PixelPoint p3 = ToPixel(LocalToOutput(s, width, 0));

    if (s.filledIn) {
        const PixelPoint corners[4] = {p0, p1, p2, p3};
        canvas.polygon(corners);
        canvas.setPenColour(kWhite);
    }
    canvas.line(p0, p1);
    canvas.line(p3, p2);
    if (s.segments) {
        canvas.line(p0, p3);
        canvas.line(p1, p2);
        DrawDot(canvas, marker);
    }
    canvas.setPenColour(s.filledIn ? kWhite : colour);
    if (s.segments) {
        DrawDecoration(pass, kind, width, length);
    }
}

/// Records the end edge of the current track's selected section, in pixels.
void RecordEndEdge(WalkPass& pass, FinePoint first, FinePoint second) {
    const PixelPoint a = ToPixel(first);
    const PixelPoint b = ToPixel(second);
    WalkState& s = pass.state;
    s.selectedEndEdge[0] = a.x;
    s.selectedEndEdge[1] = a.y;
    s.selectedEndEdge[2] = b.x;
    s.selectedEndEdge[3] = b.y;
    pass.endEdgeRecorded = true;
}

/// A curve section seen from the pen at its start: the centre of its arcs and the points of
/// its two edges. `r1` is the radius of the edge that starts across the track from the pen,
/// `r2` that of the edge that starts at the pen (the radii as exchanged for a left curve).
struct Curve {
    const WalkState& state;
    int32_t r1, r2;
    bool left;
    FinePoint centre;

    Curve(const WalkState& s, int32_t across, int32_t farRadius, int32_t nearRadius, bool turnsLeft)
        : state(s), r1(farRadius), r2(nearRadius), left(turnsLeft),
          centre(Minus(LocalToOutput(s, across, 0), offset(r1, 0))) {}

    /// Offset of the point of radius r at step angle theta from the centre.
    FinePoint offset(int32_t r, int64_t theta) const {
        const int t = fx::TrigIndex(theta);
        int32_t a = Shr(Mul(r, Trig().cos[t]), 15);
        if (left) {
            a = Neg(a);
        }
        return Rotate(state, a, Shr(Mul(r, Trig().sin[t]), 15));
    }
    FinePoint point(int32_t r, int64_t theta) const { return Plus(centre, offset(r, theta)); }
};

/// The angle, quarter degrees with the sign of `arc`, that a curve is traced to: beyond a full
/// turn only one turn plus the rest, which would otherwise lie on the same circle.
int64_t TracedArc(int32_t arc) {
    const int64_t sign = arc < 0 ? -1 : 1;
    int64_t magnitude = arc < 0 ? -int64_t{arc} : int64_t{arc};
    if (magnitude > kFullTurn) {
        magnitude = kFullTurn + magnitude % kFullTurn;
    }
    return sign * magnitude;
}

/// The chord step of a curve, quarter degrees: 3.75 degrees for arcs of 22.5 and 11.25
/// degrees, otherwise 7.5 on the screen and 1.25 on paper.
int ChordStep(const WalkState& s, int32_t arc) {
    return (arc == 90 || arc == 45) ? 15 : (s.onPaper ? 5 : 30);
}

/// Whether a curve can leave a mark: every point of its arcs lies within its largest radius
/// (and the rounding of the rotation) of the centre; the marker point may lie beyond.
bool CurveMayShow(const WalkPass& pass, const Curve& curve, FinePoint marker) {
    if (!pass.canvas.drawing()) {
        return false;
    }
    const WalkState& s = pass.state;
    if (!BoundsAreExact(s, {curve.r1, curve.r2, Sub(curve.r1, curve.r2)})) {
        return true;
    }
    const int64_t radius = std::max(std::abs(int64_t{curve.r1}), std::abs(int64_t{curve.r2}));
    const int64_t reach = ((radius + 8) * s.zoomScale >> 8) + 256;
    FineBox box(marker);
    box.add(int64_t{curve.centre.x} - reach, int64_t{curve.centre.y} - reach);
    box.add(int64_t{curve.centre.x} + reach, int64_t{curve.centre.y} + reach);
    return MayShow(pass, box);
}

/// A point on each edge of a curve, at the same step angle.
struct EdgePair {
    FinePoint r1, r2;
};

/// Draws the chord steps of a curve from angle 0 to `endTheta`: each step's quadrilateral when
/// filled, then its r2 and r1 edge segments, the outer one of a kind 7 curve as a green border.
/// Returns the pair the last step ended at.
EdgePair TraceCurve(WalkPass& pass, const Curve& curve, int32_t kind, int step, int64_t endTheta) {
    PassCanvas& canvas = pass.canvas;
    const bool filledIn = pass.state.filledIn;
    const Rgb colour = canvas.penColour();
    const bool outerIsR2 = curve.left;
    EdgePair last{curve.point(curve.r1, 0), curve.point(curve.r2, 0)};

    auto edge = [&](FinePoint from, FinePoint to, bool outer) {
        if (kind == kKindBorderCurve && outer) {
            const Rgb was = canvas.penColour();
            const int wasWidth = canvas.penWidth();
            canvas.setPen(kGreen, 2);
            canvas.line(ToPixel(from), ToPixel(to));
            canvas.setPen(was, wasWidth);
        } else {
            canvas.line(ToPixel(from), ToPixel(to));
        }
    };
    auto traceTo = [&](int64_t theta) {
        const EdgePair next{curve.point(curve.r1, theta), curve.point(curve.r2, theta)};
        if (filledIn) {
            canvas.setPenColour(colour);
            const PixelPoint corners[4] = {ToPixel(last.r2), ToPixel(last.r1), ToPixel(next.r1),
                                           ToPixel(next.r2)};
            canvas.polygon(corners);
            canvas.setPenColour(kWhite);
        } else {
            canvas.setPenColour(colour);
        }
        edge(last.r2, next.r2, outerIsR2);
        edge(last.r1, next.r1, !outerIsR2);
        last = next;
    };

    const int64_t sign = endTheta < 0 ? -1 : 1;
    const int64_t magnitude = sign * endTheta;
    for (int64_t theta = step; theta < magnitude; theta += step) {
        traceTo(sign * theta);
    }
    if (magnitude > 0) {
        traceTo(endTheta);
    }
    return last;
}

/// Draws a curve: its chord steps, then with segments its start and end edges and its marker
/// dot, white on a filled curve, and leaves the pen white on a filled curve. Returns the pair
/// the last chord step ended at.
EdgePair DrawCurveShape(WalkPass& pass, const Curve& curve, int32_t kind, int step,
                        int64_t endTheta, FinePoint marker) {
    PassCanvas& canvas = pass.canvas;
    const bool filledIn = pass.state.filledIn;
    const Rgb colour = canvas.penColour();
    const EdgePair end = TraceCurve(pass, curve, kind, step, endTheta);
    if (pass.state.segments) {
        if (filledIn) {
            canvas.setPenColour(kWhite);
        }
        canvas.line(ToPixel(curve.point(curve.r1, 0)), ToPixel(curve.point(curve.r2, 0)));
        canvas.line(ToPixel(end.r1), ToPixel(end.r2));
        DrawDot(canvas, marker);
    }
    canvas.setPenColour(filledIn ? kWhite : colour);
    return end;
}

} // namespace

FinePoint LocalToOutput(const WalkState& state, int32_t across, int32_t along) {
    return Plus({state.x, state.y}, Rotate(state, across, along));
}

FinePoint DrawStraight(WalkPass& pass, int32_t kind, int32_t width, int32_t length) {
    WalkState& s = pass.state;
    const FinePoint end = LocalToOutput(s, 0, length);
    const FinePoint marker = LocalToOutput(s, width / 2, length / 2);
    if (StraightMayShow(pass, width, length)) {
        DrawStraightShape(pass, kind, width, length, end, marker);
    }
    if (s.sectionIsSelected) {
        RecordEndEdge(pass, end, LocalToOutput(s, width, length));
    }
    PickTest(s, marker, kSectionPickReach, s.walkSection);

    AddLanes(s, length, length);
    if (kind == kKindLaneChange) {
        std::swap(s.laneSlot[0], s.laneSlot[1]);
    }
    s.x = end.x;
    s.y = end.y;
    return marker;
}

FinePoint DrawCurve(WalkPass& pass, int32_t kind, char direction, int32_t r1, int32_t r2,
                    int32_t arc, int32_t laneLength1, int32_t laneLength2) {
    WalkState& s = pass.state;
    const int32_t across = Sub(r1, r2);
    const bool left = direction == 'L';
    if (left) {
        std::swap(r1, r2);
    }
    const Curve curve(s, across, r1, r2, left);
    const int64_t endTheta = TracedArc(arc);
    const FinePoint marker = LocalToOutput(s, across / 2, kCurveMarkerAlong);

    // The last chord step ends on the arcs at the traced arc, so a curve that cannot show is
    // not traced: the end of its r2 edge, and of its r1 edge when the end edge is recorded, is
    // taken there directly.
    FinePoint end;
    if (CurveMayShow(pass, curve, marker)) {
        const EdgePair last =
            DrawCurveShape(pass, curve, kind, ChordStep(s, arc), endTheta, marker);
        end = last.r2;
        if (s.sectionIsSelected) {
            RecordEndEdge(pass, last.r1, last.r2);
        }
    } else {
        end = curve.point(r2, endTheta);
        if (s.sectionIsSelected) {
            RecordEndEdge(pass, curve.point(r1, endTheta), end);
        }
    }
    PickTest(s, marker, kSectionPickReach, s.walkSection);

    s.x = end.x;
    s.y = end.y;
    const int64_t turned = left ? int64_t{s.heading} - arc : int64_t{s.heading} + arc;
    s.heading = fx::TrigIndex(turned);
    if (left) {
        AddLanes(s, laneLength1, laneLength2);
    } else {
        AddLanes(s, laneLength2, laneLength1);
    }
    return marker;
}

namespace {

/// DrawSection, with the marker point left in `marker`: false for an ignored part. (A marker
/// returned in a std::optional costs a silent pass a tenth of its time.)
bool WalkSection(WalkPass& pass, const Part* part, char direction, FinePoint& marker) {
    if (part == nullptr) {
        return false;
    }
    if (IsStraightKind(part->kind)) {
        marker = DrawStraight(pass, part->kind, part->width, part->length);
        return true;
    }
    if (IsCurveKind(part->kind)) {
        marker =
            DrawCurve(pass, part->kind, direction, part->radius, Sub(part->radius, part->width),
                      part->arc, part->laneLength1, part->laneLength2);
        return true;
    }
    return false;
}

} // namespace

std::optional<FinePoint> DrawSection(WalkPass& pass, const Part* part, char direction) {
    FinePoint marker{};
    if (!WalkSection(pass, part, direction, marker)) {
        return std::nullopt;
    }
    return marker;
}

void WalkTrack(WalkPass& pass, const Track& track, int slot, bool isCurrent) {
    WalkState& s = pass.state;
    PassCanvas& canvas = pass.canvas;

    s.x = Add(fx::Shl8(pass.centreX), Shr(Mul(track.beginX, s.zoomScale), 8));
    s.y = Add(fx::Shl8(pass.centreY), Shr(Mul(track.beginY, s.zoomScale), 8));
    s.heading = track.angle;
    s.laneTotal[0] = 0;
    s.laneTotal[1] = 0;
    s.laneSlot[0] = 0;
    s.laneSlot[1] = 1;
    s.walkTrack = slot;
    const PenPose begin = PenOf(s);
    pass.endEdgeRecorded = false;
    if (pass.observer) {
        pass.observer->trackBegun(slot, begin);
    }

    const int library = pass.library ? pass.library->count : 0;
    const int count = track.sectionCount < 0              ? 0
                      : track.sectionCount > kMaxSections ? kMaxSections
                                                          : track.sectionCount;
    for (int i = 0; i < count; ++i) {
        s.walkSection = i;
        s.sectionIsSelected = isCurrent && i == track.selectedSection;
        if (isCurrent && i - 1 == track.selectedSection) {
            s.splitMark = PenOf(s);
        }
        if (canvas.drawing()) {
            const Rgb colour = !isCurrent ? kBlack : s.sectionIsSelected ? kRed : kBlue;
            canvas.setPenColour(colour);
            canvas.setBrush(colour);
        }
        const int index = track.partIndex[i];
        const Part* part =
            index < library && index < kMaxParts ? &pass.library->parts[index] : nullptr;
        // Read only for an observer: a pose read right after the last section wrote it
        // stalls the walk.
        const PenPose start = pass.observer ? PenOf(s) : PenPose{};
        FinePoint marker{};
        const bool walked = WalkSection(pass, part, track.direction[i], marker);
        if (pass.observer) {
            pass.observer->sectionWalked(slot, i, start,
                                         walked ? std::optional(marker) : std::nullopt, PenOf(s));
        }
    }
    if (pass.observer) {
        pass.observer->trackEnded(slot, begin, PenOf(s), s.laneTotal[0], s.laneTotal[1]);
    }

    s.x = begin.x;
    s.y = begin.y;
    s.heading = begin.heading;
    const PixelPoint beginPixel = ToPixel({begin.x, begin.y});

    if (isCurrent) {
        const int width = canvas.penWidth();
        canvas.setPen(kGreen, 2);
        if (track.selectedSection == kNoSelection) {
            canvas.line(ToPixel(LocalToOutput(s, kStartMarkerLength, 0)), beginPixel);
        } else if (pass.endEdgeRecorded) {
            // A selected section that drew nothing (an ignored part, or an index past the
            // end) has no end edge in this walk: no marker rather than a stale one.
            canvas.line({s.selectedEndEdge[0], s.selectedEndEdge[1]},
                        {s.selectedEndEdge[2], s.selectedEndEdge[3]});
        }
        canvas.setPenWidth(width);
    }

    PickTest(s, {begin.x, begin.y}, kBeginPickReach, -1);

    const long double bx = begin.x / 256.0L;
    const long double by = begin.y / 256.0L;
    const long double radius = 3.0L * canvas.pixelRatio();
    canvas.setPenColour(kDarkGreen);
    canvas.setBrush(kWhite);
    canvas.ellipse(fx::TruncToInt32(bx - radius), fx::TruncToInt32(by - radius),
                   fx::TruncToInt32(bx + radius), fx::TruncToInt32(by + radius));
    if (track.group != 0 && s.segments) {
        canvas.textOut(fx::TruncToInt32(bx), fx::TruncToInt32(by),
                       std::to_string(track.group).c_str());
    }
}

void DrawTrack(WalkPass& pass, Design& design, int slot, bool isCurrent) {
    Track& track = design.tracks[slot];
    WalkTrack(pass, track, slot, isCurrent);
    track.lane1Length = pass.state.laneTotal[0];
    track.lane2Length = pass.state.laneTotal[1];
}

void WalkDesignSilently(const Design& design, const PartLibrary& library, int32_t zoomScale,
                        int32_t centreX, int32_t centreY, WalkObserver& observer, int track,
                        WalkSurface surface) {
    WalkState state{};
    state.zoomScale = zoomScale;
    state.pixelRatio = 1;
    state.onPaper = surface == WalkSurface::kPaper;
    state.segments = design.segments != 0;
    state.filledIn = design.filledIn != 0;
    state.pickSection = kPickNothing;
    // No click: a pick point no marker can reach.
    state.pickPoint = {INT32_MIN, INT32_MIN};
    PassCanvas silent(nullptr);
    WalkPass pass{state, &library, silent, centreX, centreY, &observer};
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        if (design.tracks[slot].inUse == 0 || (track != kAllTracks && track != slot)) {
            continue;
        }
        WalkTrack(pass, design.tracks[slot], slot, slot == design.currentTrack);
    }
}

} // namespace lapwerk
