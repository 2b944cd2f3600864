#pragma once

#include "canvas.h"
#include "closure.h"
#include "design.h"
#include "inventory.h"
#include "layout_check.h"
#include "part_library.h"

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The closing assistant: which pieces, appended after a track's last section, make it close
// (gap at most 2 mm, heading error at most 1 degree, as the closure figures measure it), best
// with pieces the user has left over. The search is exhaustive up to a number of pieces: it
// meets sequences grown forward from the track's end with sequences grown backward from its
// begin point, matched on heading and position, in the exact whole-unit offsets of the walk at
// the closure scale; every proposal is then measured again by the walk itself.
//
// It reads only what it is given and keeps no state, so it may run on any thread, several at a
// time. A window runs it on a worker thread over its own copy of the Design (the part library
// and the inventory do not change while the program runs), passes a progress function that
// reports to the window and returns false once the user cancels or changes an option, and
// shows ProposalOutline of the selected proposal over the view until the user applies it with
// AppendProposal on the real Design.

namespace lapwerk {

/// Most pieces a proposal may have, those it removes and those it adds.
inline constexpr int kMaxClosingPieces = 10;

/// Most of the track's last sections a proposal may remove before it adds pieces.
inline constexpr int kMaxRemovedPieces = 3;

/// Whether a proposal may hold pieces the user would have to buy.
enum class PieceChoice { kAnyPieces, kOwnedOnly };

/// What to search for.
struct CloseSearchOptions {
    int maxPieces = 6;                            ///< longest proposal, 1..kMaxClosingPieces
    PieceChoice pieces = PieceChoice::kAnyPieces; ///< kOwnedOnly keeps nothing to buy
    int maxProposals = 5;                         ///< proposals to keep, at least 1
    double seconds = 0; ///< the time limit, 0 for none; the best proposals found by then are kept
};

/// The time limit the Close Track window and lapwerk-cli close start with, seconds.
inline constexpr int kCloseSearchSeconds = 10;

/// One piece of a proposal.
struct ProposedPiece {
    int partIndex;  ///< index in the part library
    char direction; ///< 'L' or 'R'; 'L' for straights
    friend auto operator<=>(const ProposedPiece&, const ProposedPiece&) = default;
};

/// A sequence of pieces that closes the track when appended after its last section, once the
/// sections `removed` lists are taken off its end.
struct Proposal {
    std::vector<ProposedPiece> pieces; ///< the pieces added, in driving order
    int toBuy;                         ///< pieces beyond the left-over counts (owned minus used by
                                       ///< the whole design, the removed sections given back)
    double gapUnits;                   ///< gap with the pieces appended, model units, by the walk
    double headingErrorDegrees; ///< heading error with the pieces appended, degrees, by the walk
    PieceFindings findings;     ///< what the layout check finds for the pieces appended
    std::vector<ProposedPiece> removed = {}; ///< the track's last sections taken off, the last
                                             ///< one first

    /// Pieces removed and added: what the ranking counts.
    int pieceCount() const { return static_cast<int>(removed.size() + pieces.size()); }
};

/// How a search ended.
enum class CloseOutcome {
    kProposals,     ///< at least one proposal
    kAlreadyCloses, ///< the track closes as it is; nothing was searched
    kNoSequence,    ///< no sequence of at most maxPieces pieces closes it
    kCancelled,     ///< the progress function returned false
    kTimeUp,        ///< the time limit ended the search before it found a sequence
};

/// The outcome of a search, best proposal first: those whose pieces collide with nothing before
/// the others, then fewest to buy, fewest pieces (removed and added), those that remove fewer,
/// smallest gap, smallest heading error.
struct CloseSearchResult {
    CloseOutcome outcome;
    int trackNumber;            ///< the track's number among the tracks in use ("Track n")
    CloseSearchOptions options; ///< as searched, maxPieces within 1..kMaxClosingPieces
    TrackClosure closure;       ///< the track as it is
    std::vector<Proposal> proposals;
    bool cutShort = false; ///< the time limit ended the search: the proposals are the best found
};

/// Told how far a search has come, 0..1, from the searching thread every few milliseconds;
/// returning false stops the search soon after (outcome kCancelled).
using CloseSearchProgress = std::function<bool(double fraction)>;

/// Searches the pieces that close Track `slot` (a track in use) of `design` when appended after
/// its last section, also after taking 1 to kMaxRemovedPieces sections off its end (at least
/// one stays; a proposal then may add nothing, and removed and added pieces together are at
/// most maxPieces): every Part of a straight kind ('L') or a curve kind (both directions) is a
/// candidate. Of Parts that move the pen alike, a proposal lays those left over first, the
/// earliest in the library first, and of straights next to each other it lists one order only
/// (their order does not change where the track ends). The design is not changed.
CloseSearchResult FindClosingPieces(const Design& design, const PartLibrary& library,
                                    const Inventory& inventory, int slot,
                                    const CloseSearchOptions& options,
                                    const CloseSearchProgress& progress = {});

/// What to tell the user about a search without proposals, "" for one with proposals:
///   "Track 2 already closes."
///   "No sequence of at most 6 pieces closes track 2; try more pieces or include pieces you do
///   not own." (the advice names only what the options leave to try)
///   "The search for track 2 was cancelled."
///   "No sequence found for track 2 in 10 s; try fewer pieces or more time."
/// and for proposals found before the time limit ended the search:
///   "The search for track 2 was cut short after 10 s: these are the best proposals found."
std::string CloseSearchMessage(const CloseSearchResult& result);

/// The pieces as part numbers and direction letters, those removed first with a minus:
/// "-C153 L, C151 L, C179 R, C179 R".
std::string FormatPieces(const Proposal& proposal, const PartLibrary& library);

/// One tab-separated line of a proposal, five columns:
///   1 "Proposal n"
///   2 the pieces          as FormatPieces
///   3 gap                 as FormatGap
///   4 heading error       as FormatHeadingError
///   5 pieces to buy       "%d"
/// For example "Proposal 1\tC154 R, C154 R\t0.4 mm\t0.0°\t0".
/// The layout check's findings are not part of the line.
std::string ProposalLine(int number, const Proposal& proposal, const PartLibrary& library,
                         bool metric);

/// `track` with the proposal's removed sections taken off its end and its pieces appended, the
/// last section selected; none when the track cannot hold them (2000 sections).
std::optional<Track> TrackWithProposal(const Track& track, const Proposal& proposal);

/// Applies the proposal to Track `slot` as TrackWithProposal does and sets `changed`.
/// Refused (returns false, changes nothing) when the track cannot hold the pieces.
bool AppendProposal(Design& design, int slot, const Proposal& proposal);

/// A line in output pixels.
struct PixelLine {
    PixelPoint from, to;
    friend bool operator==(const PixelLine&, const PixelLine&) = default;
};

/// The lines that the walk draws for the proposal's pieces appended to Track `slot` (their
/// edges, and with the design's Segments toggle their start and end edges and markings), at
/// `zoomScale` with model point (0, 0) at pixel (centreX, centreY): where the pieces would lie
/// in a screen pass of that scale. The design is not changed.
std::vector<PixelLine> ProposalOutline(const Design& design, const PartLibrary& library, int slot,
                                       const Proposal& proposal, int32_t zoomScale, int32_t centreX,
                                       int32_t centreY);

} // namespace lapwerk
