#pragma once

#include "fixtures.h"
#include "recording_canvas.h"

#include "design_view.h"

#include <cstdint>

namespace lapwerk::test {

/// The records of fixtures.h with a design view on a recording screen of 800 x 600 pixels and
/// a small part library:
///   straight  1536 wide, 3500 long (kind 1)
///   curve     outer radius 3000, 1536 wide, 90 degrees, lanes 2000 / 2500 (kind 2)
///   crossing  1536 wide, 1000 long (kind 3)
///   border    like curve, with its outer edge as a border (kind 7)
///   nothing   kind 0
struct ViewRecords : Records {
    RecordingCanvas screen;
    DesignView view;
    int straight, curve, crossing, border, nothing;

    explicit ViewRecords(int32_t width = 800, int32_t height = 600) {
        view.library = library.get();
        view.areaWidth = width;
        view.areaHeight = height;
        straight = AddPart(*library, "S1", "Straight", 1, 1536, 3500);
        curve = AddPart(*library, "C1", "Curve", 2, 1536, 0, 360, 3000, 2000, 2500);
        crossing = AddPart(*library, "X1", "Crossing", 3, 1536, 1000);
        border = AddPart(*library, "B1", "Border curve", 7, 1536, 0, 360, 3000, 2000, 2500);
        nothing = AddPart(*library, "N1", "Nothing", 0, 1536, 3500);
    }

    Track& track(int slot) { return design->tracks[slot]; }
    Track& current() { return design->tracks[design->currentTrack]; }

    /// Appends a Section to Track `slot` and selects it, as an insertion at the end would.
    void append(int slot, int part, char direction = 'L') {
        Track& t = design->tracks[slot];
        t.partIndex[t.sectionCount] = static_cast<uint8_t>(part);
        t.direction[t.sectionCount] = direction;
        t.selectedSection = t.sectionCount;
        ++t.sectionCount;
    }

    /// Puts a new Track in use in `slot` with its begin point in model units.
    Track& useSlot(int slot, int32_t beginX = 0, int32_t beginY = 0, int32_t angle = 720) {
        Track& t = design->tracks[slot];
        InitTrack(t);
        t.inUse = 1;
        t.beginX = beginX;
        t.beginY = beginY;
        t.angle = angle;
        return t;
    }

    void redraw() {
        screen.clear();
        RedrawDesign(*design, view, &screen);
    }
};

} // namespace lapwerk::test
