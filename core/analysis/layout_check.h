#pragma once

#include "design.h"
#include "footprint.h"
#include "part_library.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Can the layout be built? Every section covers a band of the board, its footprint: the
// rectangle of a straight kind, the ring sector of a curve kind, laid by the walk at the closure
// scale (a fine pixel is a model unit). Two sections whose footprints share at least 50 mm²
// overlap: where their centre lines cross at a steep angle the track can pass over the other on
// a bridge (a crossing), otherwise it runs into it (a collision). A section is off the board
// when more than 50 mm² of its footprint lies outside it.
//
// The check reads only what it is given and keeps no state, so it may run on any thread.

namespace lapwerk {

enum class FindingKind { kCrossing, kCollision, kOffBoard };

/// One problem of the layout.
struct Finding {
    FindingKind kind;
    SectionRef first;  ///< the lower track and section of a pair; the section off the board
    SectionRef second; ///< the other section of a pair; equal to `first` when off the board
    int place;         ///< findings of one kind with the same place are one spot on the board
    ModelPoint where;  ///< the middle of the overlap, or of the part off the board
    std::vector<std::vector<ModelPoint>> outline; ///< the overlap of a pair, or the footprint
                                                  ///< of a section off the board: closed rings
};

/// Every finding of a design, crossings first, then collisions, then sections off the board,
/// each in track and section order, with the number of places of each kind.
struct LayoutCheck {
    std::vector<Finding> findings;
    int crossings = 0;    ///< crossing places
    int collisions = 0;   ///< collision places
    int offBoard = 0;     ///< sections off the board
    bool complete = true; ///< false: more than kMaxListedPairs pairs overlap; the pairs
                          ///< listed, and the places counted of them, are the first found

    bool buildable() const { return complete && collisions == 0 && offBoard == 0; }
};

/// What the check finds for some sections of one track: the pieces a proposal appends.
struct PieceFindings {
    std::vector<int> crossedTracks; ///< numbers of the tracks they cross, ascending, once each
    bool collides = false;          ///< they run into a section
    friend bool operator==(const PieceFindings&, const PieceFindings&) = default;
};

/// The check lists at most this many overlapping pairs; sections off the board are always all
/// listed. A layout with more is a tangle that no one builds, and listing its millions of
/// overlaps would keep the designer busy for minutes.
inline constexpr size_t kMaxListedPairs = 1000;

/// Overlaps smaller than this area do not count, model units squared (50 mm²).
inline constexpr double kOverlapAreaUnits = 50.0 * (256.0 / 25.4) * (256.0 / 25.4);

/// Centre lines that cross at an angle of at least this many degrees make a crossing.
inline constexpr double kCrossingDegrees = 30.0;

/// Checks every track in use of `design` against itself, the other tracks and the board.
LayoutCheck CheckLayout(const Design& design, const PartLibrary& library);

/// The same as CheckLayout, pair by pair without any sorting or boxes: slow, for the tests.
LayoutCheck CheckLayoutByAllPairs(const Design& design, const PartLibrary& library);

/// What `check` of `design` finds for the sections of Track `slot` from `firstSection` on.
PieceFindings FindingsOfSections(const LayoutCheck& check, const Design& design, int slot,
                                 int firstSection);

/// "crosses track 1", "crosses tracks 1 and 2", "collides", "collides, crosses track 1", or ""
/// for nothing found.
std::string PieceFindingsText(const PieceFindings& findings);

/// The findings for the status bar: "" when there are none, otherwise " | " before each count
/// that is not 0: " | 1 crossing | 2 collisions | 3 sections off the board"; with more pairs
/// than the check lists, " | 1000+ problems" stands for the crossings and collisions.
std::string CheckSummaryText(const LayoutCheck& check);

/// A finding as the window lists it: "Crossing: track 1 section 2 (C152) and track 1 section
/// 11 (C151)", "Collision: ...", "Off board: track 2 section 6 (C151)" (tracks numbered among
/// those in use, sections from 1, each with the number of its part).
std::string FindingText(const Finding& finding, const Design& design, const PartLibrary& library);

/// The sections of a finding alone, as the window lists them under their place:
/// "track 1 section 2 (C152) and track 1 section 11 (C151)".
std::string FindingSectionsText(const Finding& finding, const Design& design,
                                const PartLibrary& library);

/// The line of a place that holds `findings` findings of `kind`: "Collision: 3 pairs at one
/// place", "Off board: 2 sections at one place".
std::string PlaceText(FindingKind kind, int findings);

/// A finding as lapwerk-cli check prints it, tab-separated:
/// "Crossing\tTrack 1 section 2\tTrack 1 section 11", "Off board\tTrack 2 section 6".
std::string FindingLine(const Finding& finding, const Design& design);

/// "1000+ problems".
std::string ProblemsBeyondListText();

/// "Summary\tN crossings\tN collisions\tN sections off the board", always in the plural; with
/// more pairs than the check lists, the crossings and collisions read "N+".
std::string CheckSummaryLine(const LayoutCheck& check);

} // namespace lapwerk
