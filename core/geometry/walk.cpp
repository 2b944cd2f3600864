#include "walk.h"

#include "fixed_point.h"
#include "trig.h"

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
    canvas.line(ToPixel(p), ToPixel({Add(p.x, 256), Add(p.y, 256)}));
}

bool Within(int32_t centre, int32_t reach, int32_t value) {
    return int64_t{centre} - reach < value && value < int64_t{centre} + reach;
}

void PickTest(WalkState& s, FinePoint p, int32_t reach, int32_t section) {
    if (Within(p.x, reach, s.pickPoint.x) && Within(p.y, reach, s.pickPoint.y)) {
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

} // namespace

FinePoint LocalToOutput(const WalkState& state, int32_t across, int32_t along) {
    return Plus({state.x, state.y}, Rotate(state, across, along));
}

FinePoint DrawStraight(WalkPass& pass, int32_t kind, int32_t width, int32_t length) {
    WalkState& s = pass.state;
    PassCanvas& canvas = pass.canvas;
    const Rgb colour = canvas.penColour();

    const FinePoint f1 = LocalToOutput(s, 0, length);
    const PixelPoint p0 = ToPixel({s.x, s.y});
    const PixelPoint p1 = ToPixel(f1);
    const PixelPoint p2 = ToPixel(LocalToOutput(s, width, length));
    const PixelPoint p3 = ToPixel(LocalToOutput(s, width, 0));
    const FinePoint marker = LocalToOutput(s, width / 2, length / 2);

    if (s.filledIn) {
        const PixelPoint corners[4] = {p0, p1, p2, p3};
        canvas.polygon(corners);
        canvas.setPenColour(kWhite);
    }
    canvas.line(p0, p1);
    canvas.line(p3, p2);
    if (s.sectionIsSelected) {
        s.selectedEndEdge[0] = p1.x;
        s.selectedEndEdge[1] = p1.y;
        s.selectedEndEdge[2] = p2.x;
        s.selectedEndEdge[3] = p2.y;
        pass.endEdgeRecorded = true;
    }
    if (s.segments) {
        canvas.line(p0, p3);
        canvas.line(p1, p2);
        DrawDot(canvas, marker);
    }
    PickTest(s, marker, kSectionPickReach, s.walkSection);
    canvas.setPenColour(s.filledIn ? kWhite : colour);
    if (s.segments) {
        DrawDecoration(pass, kind, width, length);
    }

    AddLanes(s, length, length);
    if (kind == kKindLaneChange) {
        std::swap(s.laneSlot[0], s.laneSlot[1]);
    }
    s.x = f1.x;
    s.y = f1.y;
    return marker;
}

FinePoint DrawCurve(WalkPass& pass, int32_t kind, char direction, int32_t r1, int32_t r2,
                    int32_t arc, int32_t laneLength1, int32_t laneLength2) {
    WalkState& s = pass.state;
    PassCanvas& canvas = pass.canvas;
    const Rgb colour = canvas.penColour();

    const int32_t across = Sub(r1, r2);
    const bool left = direction == 'L';
    if (left) {
        std::swap(r1, r2);
    }
    const int step = (arc == 90 || arc == 45) ? 15 : (s.onPaper ? 5 : 30);

    // Offset of the point of radius r at step angle theta from the arc centre.
    auto offset = [&](int32_t r, int64_t theta) {
        const int t = fx::TrigIndex(theta);
        int32_t a = Shr(Mul(r, Trig().cos[t]), 15);
        if (left) {
            a = Neg(a);
        }
        return Rotate(s, a, Shr(Mul(r, Trig().sin[t]), 15));
    };
    const FinePoint farStart = LocalToOutput(s, across, 0);
    const FinePoint centre = Minus(farStart, offset(r1, 0));
    auto point = [&](int32_t r, int64_t theta) { return Plus(centre, offset(r, theta)); };

    const FinePoint start1 = point(r1, 0);
    const FinePoint start2 = point(r2, 0);
    FinePoint last1 = start1;
    FinePoint last2 = start2;
    const bool outerIsR2 = left;

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
        const FinePoint next1 = point(r1, theta);
        const FinePoint next2 = point(r2, theta);
        if (s.filledIn) {
            canvas.setPenColour(colour);
            const PixelPoint corners[4] = {ToPixel(last2), ToPixel(last1), ToPixel(next1),
                                           ToPixel(next2)};
            canvas.polygon(corners);
            canvas.setPenColour(kWhite);
        } else {
            canvas.setPenColour(colour);
        }
        edge(last2, next2, outerIsR2);
        edge(last1, next1, !outerIsR2);
        last1 = next1;
        last2 = next2;
    };

    // Whole steps below the arc, then one step at exactly the arc. Beyond a full turn only one
    // turn plus the remainder is traced: the rest would lie on the same circle.
    const int64_t sign = arc < 0 ? -1 : 1;
    int64_t magnitude = arc < 0 ? -int64_t{arc} : int64_t{arc};
    if (magnitude > kFullTurn) {
        magnitude = kFullTurn + magnitude % kFullTurn;
    }
    for (int64_t theta = step; theta < magnitude; theta += step) {
        traceTo(sign * theta);
    }
    if (magnitude > 0) {
        traceTo(sign * magnitude);
    }

    if (s.sectionIsSelected) {
        const PixelPoint e1 = ToPixel(last1);
        const PixelPoint e2 = ToPixel(last2);
        s.selectedEndEdge[0] = e1.x;
        s.selectedEndEdge[1] = e1.y;
        s.selectedEndEdge[2] = e2.x;
        s.selectedEndEdge[3] = e2.y;
        pass.endEdgeRecorded = true;
    }
    const FinePoint marker = LocalToOutput(s, across / 2, kCurveMarkerAlong);
    if (s.segments) {
        if (s.filledIn) {
            canvas.setPenColour(kWhite);
        }
        canvas.line(ToPixel(start1), ToPixel(start2));
        canvas.line(ToPixel(last1), ToPixel(last2));
        DrawDot(canvas, marker);
    }
    PickTest(s, marker, kSectionPickReach, s.walkSection);
    canvas.setPenColour(s.filledIn ? kWhite : colour);

    s.x = last2.x;
    s.y = last2.y;
    const int64_t turned = left ? int64_t{s.heading} - arc : int64_t{s.heading} + arc;
    s.heading = fx::TrigIndex(turned);
    if (left) {
        AddLanes(s, laneLength1, laneLength2);
    } else {
        AddLanes(s, laneLength2, laneLength1);
    }
    return marker;
}

std::optional<FinePoint> DrawSection(WalkPass& pass, const Part* part, char direction) {
    if (part == nullptr) {
        return std::nullopt;
    }
    if (IsStraightKind(part->kind)) {
        return DrawStraight(pass, part->kind, part->width, part->length);
    }
    if (IsCurveKind(part->kind)) {
        return DrawCurve(pass, part->kind, direction, part->radius, Sub(part->radius, part->width),
                         part->arc, part->laneLength1, part->laneLength2);
    }
    return std::nullopt;
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
        s.sectionIsSelected = false;
        if (isCurrent) {
            if (i - 1 == track.selectedSection) {
                s.splitMark = PenOf(s);
            }
            const Rgb colour = i == track.selectedSection ? kRed : kBlue;
            s.sectionIsSelected = i == track.selectedSection;
            canvas.setPenColour(colour);
            canvas.setBrush(colour);
        } else {
            canvas.setPenColour(kBlack);
            canvas.setBrush(kBlack);
        }
        const int index = track.partIndex[i];
        const Part* part =
            index < library && index < kMaxParts ? &pass.library->parts[index] : nullptr;
        const PenPose start = PenOf(s);
        const std::optional<FinePoint> marker = DrawSection(pass, part, track.direction[i]);
        if (pass.observer) {
            pass.observer->sectionWalked(slot, i, start, marker, PenOf(s));
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
    canvas.setPenColour(kDarkGreen);
    canvas.setBrush(kWhite);
    canvas.ellipse(fx::TruncToInt32(bx - 3), fx::TruncToInt32(by - 3), fx::TruncToInt32(bx + 3),
                   fx::TruncToInt32(by + 3));
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
