#include "layout_check.h"

#include "course.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace lapwerk {

namespace {

namespace bg = boost::geometry;
using Overlap = bg::model::multi_polygon<FootprintPolygon>;

/// Every footprint of the design, in slot and section order, with what the pair rules need.
struct LaidDesign {
    std::vector<SectionFootprint> footprints;
    std::array<bool, kMaxTracks> closed{};
    std::array<int, kMaxTracks> sectionCount{};
    /// Per slot, the footprint index of each section, -1 for a section without one.
    std::array<std::vector<int>, kMaxTracks> footprintOf;
    /// Per slot, the poses at both ends of each section the walk lays.
    std::array<std::vector<std::optional<CourseSection>>, kMaxTracks> laid;

    LaidDesign(const Design& design, const PartLibrary& library) {
        for (int slot = 0; slot < kMaxTracks; ++slot) {
            if (design.tracks[slot].inUse == 0) {
                continue;
            }
            const TrackCourse course = ExactCourse(design, library, slot);
            closed[slot] = course.closes();
            sectionCount[slot] = std::clamp(design.tracks[slot].sectionCount, 0, kMaxSections);
            footprintOf[slot].assign(sectionCount[slot], -1);
            laid[slot].assign(sectionCount[slot], std::nullopt);
            for (const CourseSection& section : course.sections) {
                laid[slot][section.section] = section;
            }
            for (SectionFootprint& footprint : TrackFootprints(design, library, slot, course)) {
                footprintOf[slot][footprint.ref.section] = static_cast<int>(footprints.size());
                footprints.push_back(std::move(footprint));
            }
        }
    }

    /// Sections next to each other in a track, the last and the first of a closed one too, and
    /// any two joined end to start at a joint.
    bool neighbours(SectionRef a, SectionRef b) const {
        return nextInTrack(a, b) || joined(a, b) || joined(b, a);
    }

    bool nextInTrack(SectionRef a, SectionRef b) const {
        if (a.slot != b.slot) {
            return false;
        }
        const int last = sectionCount[a.slot] - 1;
        const int low = std::min(a.section, b.section);
        const int high = std::max(a.section, b.section);
        return high - low == 1 || (closed[a.slot] && low == 0 && high == last && last > 0);
    }

    /// `a` ends where `b` starts.
    bool joined(SectionRef a, SectionRef b) const {
        const std::optional<CourseSection>& first = laid[a.slot][a.section];
        const std::optional<CourseSection>& second = laid[b.slot][b.section];
        return first && second && JoinsAt(first->end, second->start);
    }

    /// The section `step` sections before or after `ref` (wrapping round a closed track), or
    /// none beyond an open track's ends.
    std::optional<SectionRef> step(SectionRef ref, int step) const {
        int section = ref.section + step;
        const int count = sectionCount[ref.slot];
        if (closed[ref.slot]) {
            section = (section + count) % count;
        }
        if (section < 0 || section >= count) {
            return std::nullopt;
        }
        return SectionRef{ref.slot, section};
    }

    /// The footprint of the section `step` sections before or after `ref`, or none.
    const SectionFootprint* beside(SectionRef ref, int offset) const {
        const std::optional<SectionRef> other = step(ref, offset);
        if (!other || other->section == ref.section) {
            return nullptr;
        }
        const int index = footprintOf[ref.slot][other->section];
        return index < 0 ? nullptr : &footprints[index];
    }
};

/// The box of points [begin, end).
FootprintBox BoxOf(const ModelPoint* begin, const ModelPoint* end) {
    FootprintBox box(*begin, *begin);
    for (const ModelPoint* p = begin + 1; p != end; ++p) {
        box.min_corner() = {std::min(box.min_corner().x, p->x), std::min(box.min_corner().y, p->y)};
        box.max_corner() = {std::max(box.max_corner().x, p->x), std::max(box.max_corner().y, p->y)};
    }
    return box;
}

bool BoxesMeet(const FootprintBox& a, const FootprintBox& b) {
    return a.min_corner().x <= b.max_corner().x && b.min_corner().x <= a.max_corner().x &&
           a.min_corner().y <= b.max_corner().y && b.min_corner().y <= a.max_corner().y;
}

/// Which side of line a-b point p lies on: +1, -1, or 0 on the line.
int Side(const ModelPoint& a, const ModelPoint& b, const ModelPoint& p) {
    const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    return (cross > 0) - (cross < 0);
}

/// Segments a0-a1 and b0-b1, whose boxes meet, cross or touch at a point, at an angle of at
/// least kCrossingDegrees. Collinear segments meet at no angle.
bool SteepCrossing(const ModelPoint& a0, const ModelPoint& a1, const ModelPoint& b0,
                   const ModelPoint& b1) {
    if (Side(a0, a1, b0) * Side(a0, a1, b1) > 0 || Side(b0, b1, a0) * Side(b0, b1, a1) > 0) {
        return false;
    }
    const double ax = a1.x - a0.x, ay = a1.y - a0.y;
    const double bx = b1.x - b0.x, by = b1.y - b0.y;
    const double sine = std::fabs(ax * by - ay * bx) / (std::hypot(ax, ay) * std::hypot(bx, by));
    return sine >= std::sin(kCrossingDegrees * std::numbers::pi / 180.0);
}

/// Segments of two centre lines are compared in blocks of this many, each block with its box.
constexpr size_t kBlock = 8;

/// Two centre lines cross steeply somewhere.
bool CentreLinesCrossSteeply(const std::vector<ModelPoint>& a, const std::vector<ModelPoint>& b) {
    for (size_t i = 0; i + 1 < a.size(); i += kBlock) {
        const size_t iEnd = std::min(i + kBlock, a.size() - 1);
        const FootprintBox blockA = BoxOf(&a[i], &a[iEnd] + 1);
        for (size_t j = 0; j + 1 < b.size(); j += kBlock) {
            const size_t jEnd = std::min(j + kBlock, b.size() - 1);
            if (!BoxesMeet(blockA, BoxOf(&b[j], &b[jEnd] + 1))) {
                continue;
            }
            for (size_t p = i; p < iEnd; ++p) {
                for (size_t q = j; q < jEnd; ++q) {
                    if (SteepCrossing(a[p], a[p + 1], b[q], b[q + 1])) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

/// The extended centre lines of two overlapping sections cross steeply somewhere: each centre
/// line extended by the sections before and after it in its track (a section that belongs to
/// both extensions is not compared with itself).
bool CentreLinesCross(const LaidDesign& laid, const SectionFootprint& a,
                      const SectionFootprint& b) {
    const std::array<const SectionFootprint*, 3> piecesA = {laid.beside(a.ref, -1), &a,
                                                            laid.beside(a.ref, 1)};
    const std::array<const SectionFootprint*, 3> piecesB = {laid.beside(b.ref, -1), &b,
                                                            laid.beside(b.ref, 1)};
    for (const SectionFootprint* pa : piecesA) {
        for (const SectionFootprint* pb : piecesB) {
            if (pa != nullptr && pb != nullptr && pa != pb && BoxesMeet(pa->box, pb->box) &&
                CentreLinesCrossSteeply(pa->centreLine, pb->centreLine)) {
                return true;
            }
        }
    }
    return false;
}

double AreaOf(const Overlap& overlap) {
    return bg::area(overlap);
}

/// The rings of `overlap` and its centre.
void Describe(const Overlap& overlap, Finding& finding) {
    for (const FootprintPolygon& polygon : overlap) {
        finding.outline.push_back(polygon.outer());
    }
    bg::centroid(overlap, finding.where);
}

/// The finding of two sections whose boxes meet, if their footprints overlap.
std::optional<Finding> PairFinding(const LaidDesign& laid, const SectionFootprint& a,
                                   const SectionFootprint& b) {
    if (laid.neighbours(a.ref, b.ref)) {
        return std::nullopt;
    }
    Overlap overlap;
    try {
        bg::intersection(a.area, b.area, overlap);
    } catch (const bg::exception&) {
        return std::nullopt; // footprints Boost.Geometry cannot clip (hostile part sizes)
    }
    if (AreaOf(overlap) < kOverlapAreaUnits) {
        return std::nullopt;
    }
    const bool crossing = CentreLinesCross(laid, a, b);
    Finding finding{crossing ? FindingKind::kCrossing : FindingKind::kCollision,
                    std::min(a.ref, b.ref),
                    std::max(a.ref, b.ref),
                    0,
                    {},
                    {}};
    Describe(overlap, finding);
    return finding;
}

/// The board, boardX by boardY inches centred on model point (0, 0); none for a board that is
/// no size.
std::optional<FootprintPolygon> BoardPolygon(const Design& design) {
    const double halfX = design.boardX * 128.0;
    const double halfY = design.boardY * 128.0;
    if (!std::isfinite(halfX) || !std::isfinite(halfY)) {
        return std::nullopt;
    }
    FootprintPolygon board;
    bg::convert(FootprintBox({-halfX, -halfY}, {halfX, halfY}), board);
    return board;
}

std::optional<Finding> OffBoardFinding(const FootprintPolygon& board, const FootprintBox& boardBox,
                                       const SectionFootprint& footprint) {
    if (bg::within(footprint.box, boardBox)) {
        return std::nullopt;
    }
    Overlap outside;
    try {
        bg::difference(footprint.area, board, outside);
    } catch (const bg::exception&) {
        return std::nullopt;
    }
    if (AreaOf(outside) <= kOverlapAreaUnits) {
        return std::nullopt;
    }
    Finding finding{FindingKind::kOffBoard, footprint.ref, footprint.ref, 0, {}, {}};
    bg::centroid(outside, finding.where);
    finding.outline.push_back(footprint.area.outer());
    return finding;
}

/// Told a pair of footprint indices; returns false to end the enumeration.
using PairVisitor = std::function<bool(int, int)>;

/// Calls `visit` once for each pair of footprints whose boxes meet, found through a grid of
/// square cells: a pair is visited in the one cell that holds the larger of the two boxes'
/// lower corners. Boxes larger than a few cells are paired with every footprint instead.
void ForEachMeetingPair(const std::vector<SectionFootprint>& footprints, const PairVisitor& visit) {
    constexpr double kCell = 4096.0; // 16 inches
    constexpr double kMaxCellsAcross = 16;
    auto cellOf = [](double v) { return static_cast<int64_t>(std::floor(v / kCell)); };
    std::vector<std::pair<uint64_t, int>> entries;
    std::vector<int> large;
    for (int i = 0; i < static_cast<int>(footprints.size()); ++i) {
        const FootprintBox& box = footprints[i].box;
        const int64_t x0 = cellOf(box.min_corner().x), x1 = cellOf(box.max_corner().x);
        const int64_t y0 = cellOf(box.min_corner().y), y1 = cellOf(box.max_corner().y);
        if (x1 - x0 >= kMaxCellsAcross || y1 - y0 >= kMaxCellsAcross) {
            large.push_back(i);
            continue;
        }
        for (int64_t x = x0; x <= x1; ++x) {
            for (int64_t y = y0; y <= y1; ++y) {
                entries.push_back({static_cast<uint64_t>(x) << 32 | static_cast<uint32_t>(y), i});
            }
        }
    }
    std::sort(entries.begin(), entries.end());
    for (size_t begin = 0; begin < entries.size();) {
        size_t end = begin;
        while (end < entries.size() && entries[end].first == entries[begin].first) {
            ++end;
        }
        const uint64_t cell = entries[begin].first;
        for (size_t p = begin; p < end; ++p) {
            for (size_t q = p + 1; q < end; ++q) {
                const FootprintBox& a = footprints[entries[p].second].box;
                const FootprintBox& b = footprints[entries[q].second].box;
                const int64_t x = cellOf(std::max(a.min_corner().x, b.min_corner().x));
                const int64_t y = cellOf(std::max(a.min_corner().y, b.min_corner().y));
                if (BoxesMeet(a, b) &&
                    (static_cast<uint64_t>(x) << 32 | static_cast<uint32_t>(y)) == cell &&
                    !visit(entries[p].second, entries[q].second)) {
                    return;
                }
            }
        }
        begin = end;
    }
    std::vector<bool> isLarge(footprints.size(), false);
    for (int i : large) {
        isLarge[i] = true;
    }
    for (int i : large) {
        for (int j = 0; j < static_cast<int>(footprints.size()); ++j) {
            if (j != i && (!isLarge[j] || j > i) &&
                BoxesMeet(footprints[i].box, footprints[j].box) && !visit(i, j)) {
                return;
            }
        }
    }
}

void ForEveryPair(const std::vector<SectionFootprint>& footprints, const PairVisitor& visit) {
    for (int i = 0; i < static_cast<int>(footprints.size()); ++i) {
        for (int j = i + 1; j < static_cast<int>(footprints.size()); ++j) {
            if (!visit(i, j)) {
                return;
            }
        }
    }
}

int KindRank(FindingKind kind) {
    return static_cast<int>(kind);
}

/// Numbers the places: two pairs of one kind are one place when each section of one is the
/// same as or next to a section of the other (round a closed track too), matched either way
/// round; each section off the board is a place of its own. Returns how many places each kind
/// has.
std::array<int, 3> NumberPlaces(const LaidDesign& laid, std::vector<Finding>& findings) {
    std::vector<int> parent(findings.size());
    std::iota(parent.begin(), parent.end(), 0);
    std::function<int(int)> root = [&](int i) {
        return parent[i] == i ? i : parent[i] = root(parent[i]);
    };
    auto near = [&](SectionRef a, SectionRef b) { return a == b || laid.neighbours(a, b); };
    auto samePlace = [&](const Finding& f, const Finding& g) {
        return (near(f.first, g.first) && near(f.second, g.second)) ||
               (near(f.first, g.second) && near(f.second, g.first));
    };
    // Each pair is filed under both its sections, and compared with the pairs filed under its
    // sections and their neighbours.
    std::unordered_map<int64_t, std::vector<int>> bySection;
    auto key = [](FindingKind kind, SectionRef ref) {
        return (int64_t{KindRank(kind)} * kMaxTracks + ref.slot) * kMaxSections + ref.section;
    };
    for (int i = 0; i < static_cast<int>(findings.size()); ++i) {
        const Finding& f = findings[i];
        if (f.kind != FindingKind::kOffBoard) {
            bySection[key(f.kind, f.first)].push_back(i);
            bySection[key(f.kind, f.second)].push_back(i);
        }
    }
    for (int i = 0; i < static_cast<int>(findings.size()); ++i) {
        const Finding& f = findings[i];
        if (f.kind == FindingKind::kOffBoard) {
            continue;
        }
        for (const SectionRef ref : {f.first, f.second}) {
            for (const int step : {-1, 0, 1}) {
                const std::optional<SectionRef> other = laid.step(ref, step);
                const auto found = other ? bySection.find(key(f.kind, *other)) : bySection.end();
                if (found == bySection.end()) {
                    continue;
                }
                for (int j : found->second) {
                    if (j != i && samePlace(f, findings[j])) {
                        parent[root(i)] = root(j);
                    }
                }
            }
        }
    }
    std::array<int, 3> places{};
    std::vector<int> placeOfRoot(findings.size(), -1);
    for (int i = 0; i < static_cast<int>(findings.size()); ++i) {
        int& place = placeOfRoot[root(i)];
        if (place < 0) {
            place = places[KindRank(findings[i].kind)]++;
        }
        findings[i].place = place;
    }
    return places;
}

using PairEnumerator = void (*)(const std::vector<SectionFootprint>&, const PairVisitor&);

LayoutCheck Check(const Design& design, const PartLibrary& library, PairEnumerator pairs) {
    const LaidDesign laid(design, library);
    LayoutCheck check;
    pairs(laid.footprints, [&](int i, int j) {
        std::optional<Finding> finding = PairFinding(laid, laid.footprints[i], laid.footprints[j]);
        if (!finding) {
            return true;
        }
        if (check.findings.size() == kMaxListedPairs) {
            check.complete = false;
            return false;
        }
        check.findings.push_back(std::move(*finding));
        return true;
    });
    if (const auto board = BoardPolygon(design)) {
        FootprintBox boardBox;
        bg::envelope(*board, boardBox);
        for (const SectionFootprint& footprint : laid.footprints) {
            if (std::optional<Finding> finding = OffBoardFinding(*board, boardBox, footprint)) {
                check.findings.push_back(std::move(*finding));
            }
        }
    }
    std::sort(check.findings.begin(), check.findings.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.kind, a.first, a.second) < std::tie(b.kind, b.first, b.second);
    });
    const std::array<int, 3> places = NumberPlaces(laid, check.findings);
    check.crossings = places[KindRank(FindingKind::kCrossing)];
    check.collisions = places[KindRank(FindingKind::kCollision)];
    check.offBoard = places[KindRank(FindingKind::kOffBoard)];
    return check;
}

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

/// "track 1 section 2", with " (C152)", the number of its part, when `library` is given.
std::string SectionName(const Design& design, SectionRef ref, const char* track,
                        const PartLibrary* library) {
    std::string name = track + std::to_string(TrackNumberOfSlot(design, ref.slot)) + " section " +
                       std::to_string(ref.section + 1);
    const int part = design.tracks[ref.slot].partIndex[ref.section];
    if (library != nullptr && part < library->count) {
        const Part& used = library->parts[part];
        name += " (" + std::string(used.number, strnlen(used.number, sizeof used.number)) + ")";
    }
    return name;
}

const char* KindName(FindingKind kind);

/// The sections of a finding: the first, and for a pair `between` and the second.
std::string SectionWords(const Finding& finding, const Design& design, const char* between,
                         const char* track, const PartLibrary* library) {
    std::string text = SectionName(design, finding.first, track, library);
    if (finding.kind != FindingKind::kOffBoard) {
        text += between + SectionName(design, finding.second, track, library);
    }
    return text;
}

/// A finding in words: its kind, `afterKind`, then its sections.
std::string FindingWords(const Finding& finding, const Design& design, const char* afterKind,
                         const char* between, const char* track, const PartLibrary* library) {
    return KindName(finding.kind) + std::string(afterKind) +
           SectionWords(finding, design, between, track, library);
}

const char* KindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::kCrossing:
        return "Crossing";
    case FindingKind::kCollision:
        return "Collision";
    case FindingKind::kOffBoard:
        break;
    }
    return "Off board";
}

} // namespace

LayoutCheck CheckLayout(const Design& design, const PartLibrary& library) {
    return Check(design, library, ForEachMeetingPair);
}

LayoutCheck CheckLayoutByAllPairs(const Design& design, const PartLibrary& library) {
    return Check(design, library, ForEveryPair);
}

PieceFindings FindingsOfSections(const LayoutCheck& check, const Design& design, int slot,
                                 int firstSection) {
    PieceFindings pieces;
    auto isPiece = [&](SectionRef ref) { return ref.slot == slot && ref.section >= firstSection; };
    for (const Finding& finding : check.findings) {
        if (finding.kind == FindingKind::kOffBoard ||
            (!isPiece(finding.first) && !isPiece(finding.second))) {
            continue;
        }
        if (finding.kind == FindingKind::kCollision) {
            pieces.collides = true;
            continue;
        }
        const SectionRef other = isPiece(finding.first) ? finding.second : finding.first;
        pieces.crossedTracks.push_back(TrackNumberOfSlot(design, other.slot));
    }
    std::sort(pieces.crossedTracks.begin(), pieces.crossedTracks.end());
    pieces.crossedTracks.erase(
        std::unique(pieces.crossedTracks.begin(), pieces.crossedTracks.end()),
        pieces.crossedTracks.end());
    return pieces;
}

std::string PieceFindingsText(const PieceFindings& findings) {
    std::string text = findings.collides ? "collides" : "";
    const std::vector<int>& tracks = findings.crossedTracks;
    if (tracks.empty()) {
        return text;
    }
    text += text.empty() ? "crosses track" : ", crosses track";
    text += tracks.size() == 1 ? " " : "s ";
    for (size_t i = 0; i < tracks.size(); ++i) {
        text += i == 0 ? "" : i + 1 == tracks.size() ? " and " : ", ";
        text += std::to_string(tracks[i]);
    }
    return text;
}

std::string CheckSummaryText(const LayoutCheck& check) {
    std::string text;
    if (!check.complete) {
        text += " | " + ProblemsBeyondListText();
    } else {
        if (check.crossings > 0) {
            text += " | " + Counted(check.crossings, "crossing", "crossings");
        }
        if (check.collisions > 0) {
            text += " | " + Counted(check.collisions, "collision", "collisions");
        }
    }
    if (check.offBoard > 0) {
        text += " | " + Counted(check.offBoard, "section off the board", "sections off the board");
    }
    return text;
}

std::string FindingText(const Finding& finding, const Design& design, const PartLibrary& library) {
    return FindingWords(finding, design, ": ", " and ", "track ", &library);
}

std::string FindingSectionsText(const Finding& finding, const Design& design,
                                const PartLibrary& library) {
    return SectionWords(finding, design, " and ", "track ", &library);
}

std::string PlaceText(FindingKind kind, int findings) {
    return KindName(kind) + std::string(": ") +
           (kind == FindingKind::kOffBoard ? Counted(findings, "section", "sections")
                                           : Counted(findings, "pair", "pairs")) +
           " at one place";
}

std::string FindingLine(const Finding& finding, const Design& design) {
    return FindingWords(finding, design, "\t", "\t", "Track ", nullptr);
}

std::string ProblemsBeyondListText() {
    return std::to_string(kMaxListedPairs) + "+ problems";
}

std::string CheckSummaryLine(const LayoutCheck& check) {
    const char* atLeast = check.complete ? "" : "+";
    return "Summary\t" + std::to_string(check.crossings) + atLeast + " crossings\t" +
           std::to_string(check.collisions) + atLeast + " collisions\t" +
           std::to_string(check.offBoard) + " sections off the board";
}

} // namespace lapwerk
