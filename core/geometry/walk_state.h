#pragma once

#include <cstdint>

namespace lapwerk {

/// A pen position in fine pixels (1/256 output pixel) with its heading in quarter degrees.
struct PenPose {
    int32_t x, y, heading;
    friend bool operator==(const PenPose&, const PenPose&) = default;
};

/// Result of a pick: nothing was hit.
inline constexpr int32_t kPickNothing = -100;

/// The one shared state of a drawing pass; it also carries the pick result and split mark.
struct WalkState {
    int32_t x, y;               ///< the pen on the reference edge, fine pixels
    int32_t heading;            ///< pen heading, quarter degrees 0..1439
    int32_t zoomScale;          ///< v model units span (v * zoomScale) >> 8 fine pixels
    int32_t pixelRatio;         ///< device pixels per view pixel; pick reaches and marks scale
    int32_t laneTotal[2];       ///< running lane lengths of the track walked, model units
    int32_t laneSlot[2];        ///< laneTotal entries for the first and second lane figure
    bool drawEnabled;           ///< false: compute everything, draw nothing (the pick pass)
    bool segments, filledIn;    ///< the Design's toggles for this pass
    bool sectionIsSelected;     ///< the section walked is the current track's selected one
    int32_t selectedEndEdge[4]; ///< x1, y1, x2, y2 of the selected section's end edge, pixels
    PenPose splitMark;          ///< pen at the start of the section after the selected one
    int32_t walkTrack, walkSection;
    struct {
        int32_t x, y;
    } pickPoint; ///< the click being picked, fine pixels
    int32_t pickTrack, pickSection;
    bool onPaper; ///< printer pass: curves are traced in finer steps
};

} // namespace lapwerk
