#pragma once

#include "canvas.h"
#include "design.h"
#include "design_view.h"
#include "message.h"
#include "print_pass.h"

#include <cstdint>
#include <string>
#include <vector>

// A full-size print draws the design 1:1 on a sheet of paper pixels of 0.1 mm, model point
// (0, 0) at sheet pixel (0, 0), and cuts the sheet into pages: a grid of equal cells covers
// everything the printer pass draws, and each cell is printed on one page with half the overlap
// around it, so that neighbouring pages share a 10 mm strip whose middle is the cut line.

namespace lapwerk {

/// Paper pixels per inch of a full-size print: one paper pixel is 0.1 mm.
inline constexpr int32_t kPaperPixelsPerInch = 254;

/// zoomScale of the full-size pass: one inch of the model spans 254 paper pixels.
inline constexpr int32_t kFullSizeZoomScale = 256 * kPaperPixelsPerInch;

/// Overlap of neighbouring pages, paper pixels (10 mm).
inline constexpr int32_t kPageOverlap = 100;

/// Smallest printable width and height of a full-size page, paper pixels (120 mm): room for a
/// cell that holds the 100 mm scale bar.
inline constexpr int32_t kMinFullSizePage = 1200;

/// Most pages a full-size print may take, overview not counted.
inline constexpr int64_t kMaxFullSizePages = 999;

/// Line height that the texts of a full-size print are laid out with, paper pixels (4 mm);
/// the canvas font should be no taller.
inline constexpr int32_t kFullSizeLineHeight = 40;

/// A rectangle in paper pixels, right and bottom edges exclusive.
struct PaperRect {
    int32_t left, top, right, bottom;
    friend bool operator==(const PaperRect&, const PaperRect&) = default;
};

/// The cells that cover the sheet: `columns` x `rows` cells of `cellWidth` x `cellHeight`
/// paper pixels, the first with its top-left corner at sheet pixel (left, top).
struct SheetGrid {
    int64_t left, top;
    int32_t cellWidth, cellHeight;
    int64_t columns, rows;
    friend bool operator==(const SheetGrid&, const SheetGrid&) = default;
};

/// One page of a full-size print: row 0 is labelled "A", column 0 "1".
struct SheetPage {
    int32_t row, column;
    friend bool operator==(const SheetPage&, const SheetPage&) = default;
};

/// A track's start line across the track at its begin point, sheet pixels.
struct StartLine {
    int64_t x0, y0, x1, y1;
};

/// A section's label on a full-size page: its part number, and L or R for a curve.
struct TemplateLabel {
    SheetPage page; ///< the page whose cell holds the part of the section labelled
    int64_t x, y;   ///< the middle of that part, sheet pixels
    std::string text;
};

/// What a full-size print of a design prints.
struct FullSizePlan {
    PageSize page;                  ///< printable area of a page, paper pixels
    PaperRect extent;               ///< everything the printer pass draws, sheet pixels
    SheetGrid grid;                 ///< the cells that cover the extent
    std::vector<SheetPage> pages;   ///< the pages printed, row by row
    std::vector<SheetPage> leftOut; ///< pages with something drawn but no section, not printed
    std::string designName;         ///< the design's file name, as the labels show it
    std::vector<TemplateLabel> labels;
    std::vector<StartLine> startLines;
};

/// The grid for pages of printable size `page` (paper pixels, at least kMinFullSizePage each
/// way) over `extent`: cells of the page size less the overlap, as few as cover the extent, the
/// grid centred on it.
SheetGrid PlanSheetGrid(const PaperRect& extent, PageSize page);

/// The label of a page: its row in letters (A to Z, then AA, AB, ...) and its column counted
/// from 1, as in "B3".
std::string PageLabel(SheetPage page);

/// Which pages of a full-size print are printed.
enum class FullSizePages {
    WithSections, ///< those whose cells hold part of a section
    Every,        ///< also those that hold only part of the board outline
};

/// Plans a full-size print on pages of printable size `page`, paper pixels: runs the printer
/// pass at full size to find what it draws, lays the grid over it and keeps the pages whose
/// cells hold part of a section (or, with FullSizePages::Every, of the board outline too), with
/// every section's label and every track's start line. Refuses with a message, leaving `plan`
/// as it was, when a page is smaller than 120 mm either way, when a track begins more than
/// 33026 model units (3.28 m) from the board's centre, or when the grid has more than 999 cells.
MaybeMessage PlanFullSizePrint(Design& design, DesignView& view, PageSize page, FullSizePlan& plan,
                               FullSizePages which = FullSizePages::WithSections);

/// Draws the overview page of `plan` on `paper`, paper pixels from the top-left corner of the
/// printable area: two header lines, then the design fitted to the rest of the page with the
/// outline and label of every page printed.
void PrintFullSizeOverview(Design& design, DesignView& view, Canvas& paper,
                           const FullSizePlan& plan);

/// Draws one page of `plan` on `paper`, paper pixels from the top-left corner of the printable
/// area: the printer pass at full size as a template (sections outlined with their joints,
/// whatever Filled In says, each labelled with its part number, each track's start line in
/// green), then dashed cut lines around the page's cell, alignment crosses at the cell's
/// corners, the page's label with the design's name and a 100 mm scale bar.
void PrintFullSizePage(Design& design, DesignView& view, Canvas& paper, const FullSizePlan& plan,
                       SheetPage page);

} // namespace lapwerk
