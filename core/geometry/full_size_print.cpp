#include "full_size_print.h"

#include "fixed_point.h"
#include "footprint.h"

#include <boost/geometry/algorithms/area.hpp>
#include <boost/geometry/algorithms/centroid.hpp>
#include <boost/geometry/algorithms/intersection.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/strategies/cartesian/centroid_bashein_detmer.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace lapwerk {

namespace {

/// Farthest a track may begin from the board's centre, model units: at full size the walk's
/// 32-bit product of a begin point and the zoomScale must not wrap.
constexpr int32_t kMaxFullSizeReach = std::numeric_limits<int32_t>::max() / kFullSizeZoomScale;

constexpr Rgb kCutLineGrey{128, 128, 128};

/// Half the overlap: how far a page reaches beyond its cell on every side.
constexpr int32_t kHalfOverlap = kPageOverlap / 2;

// Layout of a page's marks, paper pixels.
constexpr int32_t kCrossArm = kHalfOverlap; ///< from the cell corner to the page edge
constexpr int32_t kDash = 30;
constexpr int32_t kDashGap = 20;
constexpr int32_t kTextInset = 70; ///< from the cell's left edge, clear of the crosses
constexpr int32_t kScaleBarLength = 1000;
constexpr int32_t kScaleBarTick = 20;
constexpr int32_t kScaleBarRise = 70; ///< from the cell's bottom edge to the bar
constexpr int32_t kOverviewTextLeft = 20;
/// Rough width of a character of the full-size font, to centre a section's label on its band
/// and to wrap the overview's lines.
constexpr int32_t kCharWidth = 18;
constexpr int32_t kStartLineWidth = 5;

/// Sheet pixels per model unit: an inch of 256 units spans 254 paper pixels.
constexpr double kSheetPerModel = static_cast<double>(kPaperPixelsPerInch) / 256.0;

int64_t ToSheet(double model) {
    return std::llround(model * kSheetPerModel);
}

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t CeilDiv(int64_t a, int64_t b) {
    return -FloorDiv(-a, b);
}

/// Sheet pixel of the left edge of the cells in `column`, and of the top edge of those in `row`.
int64_t CellLeft(const SheetGrid& grid, int64_t column) {
    return grid.left + column * grid.cellWidth;
}
int64_t CellTop(const SheetGrid& grid, int64_t row) {
    return grid.top + row * grid.cellHeight;
}

/// The bounding box of every point a pass draws at, inclusive.
class ExtentCanvas final : public Canvas {
public:
    /// The box grown by the pen's reach: a width-2 line covers a pixel on either side.
    PaperRect rect() const { return {left_ - 1, top_ - 1, right_ + 2, bottom_ + 2}; }

    void setPen(Rgb, int) override {}
    void setBrush(Rgb) override {}
    void moveTo(int32_t x, int32_t y) override { current_ = {x, y}; }
    void lineTo(int32_t x, int32_t y) override {
        add(current_.x, current_.y);
        add(x, y);
        current_ = {x, y};
    }
    void polygon(const PixelPoint (&corners)[4]) override {
        for (const PixelPoint& p : corners) {
            add(p.x, p.y);
        }
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        add(left, top);
        add(right, bottom);
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        add(left, top);
        add(right, bottom);
    }
    void textOut(int32_t x, int32_t y, const char*) override { add(x, y); }

private:
    void add(int32_t x, int32_t y) {
        // Kept away from the int32 limits, so that growing the box cannot wrap.
        x = std::clamp(x, std::numeric_limits<int32_t>::min() + 1,
                       std::numeric_limits<int32_t>::max() - 2);
        y = std::clamp(y, std::numeric_limits<int32_t>::min() + 1,
                       std::numeric_limits<int32_t>::max() - 2);
        if (empty_) {
            left_ = right_ = x;
            top_ = bottom_ = y;
            empty_ = false;
            return;
        }
        left_ = std::min(left_, x);
        right_ = std::max(right_, x);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }

    bool empty_ = true;
    int32_t left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
    PixelPoint current_{0, 0};
};

/// A closed box in sheet pixels.
struct Box {
    double left, top, right, bottom;
};

/// Whether the segment from (x0, y0) to (x1, y1) meets `box` (Liang-Barsky clipping).
bool SegmentMeetsBox(double x0, double y0, double x1, double y1, const Box& box) {
    double t0 = 0.0;
    double t1 = 1.0;
    // Keeps the part of the segment where p x t <= q.
    auto clip = [&](double p, double q) {
        if (p == 0.0) {
            return q >= 0.0;
        }
        const double t = q / p;
        if (p < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        return t0 <= t1;
    };
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    return clip(-dx, x0 - box.left) && clip(dx, box.right - x0) && clip(-dy, y0 - box.top) &&
           clip(dy, box.bottom - y0);
}

/// Whether point (x, y) lies inside the quadrilateral (crossing number).
bool QuadContains(const PixelPoint (&corners)[4], double x, double y) {
    bool inside = false;
    for (int i = 0, j = 3; i < 4; j = i++) {
        const double xi = corners[i].x, yi = corners[i].y;
        const double xj = corners[j].x, yj = corners[j].y;
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
            inside = !inside;
        }
    }
    return inside;
}

/// Marks the cells of a grid that a pass draws something in.
class CellCanvas final : public Canvas {
public:
    explicit CellCanvas(const SheetGrid& grid)
        : grid_(grid), marked_(static_cast<size_t>(grid.rows * grid.columns), false) {}

    bool marked(int64_t row, int64_t column) const {
        return marked_[static_cast<size_t>(row * grid_.columns + column)];
    }

    void setPen(Rgb, int) override {}
    void setBrush(Rgb) override {}
    void moveTo(int32_t x, int32_t y) override { current_ = {x, y}; }
    void lineTo(int32_t x, int32_t y) override {
        markSegment(current_, {x, y});
        current_ = {x, y};
    }
    void polygon(const PixelPoint (&corners)[4]) override {
        for (int i = 0; i < 4; ++i) {
            markSegment(corners[i], corners[(i + 1) % 4]);
        }
        // A large filled quadrilateral may cover cells that none of its edges reach.
        forCellsIn(corners, [&](const Box& box) {
            return QuadContains(corners, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
        });
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        markBox(left, top, right, bottom);
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        markBox(left, top, right, bottom);
    }
    void textOut(int32_t x, int32_t y, const char*) override { markBox(x, y, x, y); }

private:
    template <size_t N, typename Test> void forCellsIn(const PixelPoint (&points)[N], Test test) {
        int64_t left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
        for (const PixelPoint& p : points) {
            left = std::min<int64_t>(left, p.x);
            right = std::max<int64_t>(right, p.x);
            top = std::min<int64_t>(top, p.y);
            bottom = std::max<int64_t>(bottom, p.y);
        }
        // Cells are closed boxes: a point on a shared edge lies in both cells.
        const int64_t firstColumn =
            std::max<int64_t>(0, FloorDiv(left - grid_.left - 1, grid_.cellWidth));
        const int64_t lastColumn =
            std::min(grid_.columns - 1, FloorDiv(right - grid_.left, grid_.cellWidth));
        const int64_t firstRow =
            std::max<int64_t>(0, FloorDiv(top - grid_.top - 1, grid_.cellHeight));
        const int64_t lastRow =
            std::min(grid_.rows - 1, FloorDiv(bottom - grid_.top, grid_.cellHeight));
        for (int64_t row = firstRow; row <= lastRow; ++row) {
            for (int64_t column = firstColumn; column <= lastColumn; ++column) {
                const size_t index = static_cast<size_t>(row * grid_.columns + column);
                if (marked_[index]) {
                    continue;
                }
                const auto cellLeft = static_cast<double>(CellLeft(grid_, column));
                const auto cellTop = static_cast<double>(CellTop(grid_, row));
                const Box box{cellLeft, cellTop, cellLeft + grid_.cellWidth,
                              cellTop + grid_.cellHeight};
                if (test(box)) {
                    marked_[index] = true;
                }
            }
        }
    }

    void markSegment(PixelPoint from, PixelPoint to) {
        const PixelPoint ends[2] = {from, to};
        forCellsIn(
            ends, [&](const Box& box) { return SegmentMeetsBox(from.x, from.y, to.x, to.y, box); });
    }

    void markBox(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        const PixelPoint corners[2] = {{left, top}, {right, bottom}};
        forCellsIn(corners, [](const Box&) { return true; });
    }

    SheetGrid grid_;
    std::vector<bool> marked_;
    PixelPoint current_{0, 0};
};

/// A section's label: its part number, then L or R for a curve.
std::string LabelText(const PartLibrary& library, const Track& track, int section) {
    const Part& part = library.parts[track.partIndex[section]];
    return std::string(part.number) +
           (IsStraightKind(part.kind) ? "" : std::string(" ") + track.direction[section]);
}

/// Marks the cells of `grid` that hold part of a section's footprint (a section of a part the
/// walk ignores holds none), and puts every section's label and every track's start line into
/// `plan`: a label on each cell a section lies on, in the middle of its part there.
std::vector<bool> CellsWithSections(const Design& design, const PartLibrary& library,
                                    const SheetGrid& grid, FullSizePlan& plan) {
    std::vector<bool> holds(static_cast<size_t>(grid.rows * grid.columns), false);
    const auto column = [&](double model) {
        return FloorDiv(ToSheet(model) - grid.left, grid.cellWidth);
    };
    const auto row = [&](double model) {
        return FloorDiv(ToSheet(model) - grid.top, grid.cellHeight);
    };
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        const Track& track = design.tracks[slot];
        if (track.inUse == 0) {
            continue;
        }
        for (const SectionFootprint& footprint : TrackFootprints(design, library, slot)) {
            const FootprintBox& box = footprint.box;
            for (int64_t r = std::max<int64_t>(0, row(box.min_corner().y));
                 r <= std::min(grid.rows - 1, row(box.max_corner().y)); ++r) {
                for (int64_t c = std::max<int64_t>(0, column(box.min_corner().x));
                     c <= std::min(grid.columns - 1, column(box.max_corner().x)); ++c) {
                    const FootprintBox cell{
                        {CellLeft(grid, c) / kSheetPerModel, CellTop(grid, r) / kSheetPerModel},
                        {(CellLeft(grid, c) + grid.cellWidth) / kSheetPerModel,
                         (CellTop(grid, r) + grid.cellHeight) / kSheetPerModel}};
                    // Each part of a section on a page is labelled there, in its middle.
                    boost::geometry::model::multi_polygon<FootprintPolygon> pieces;
                    boost::geometry::intersection(cell, footprint.area, pieces);
                    const auto largest = std::max_element(
                        pieces.begin(), pieces.end(), [](const auto& a, const auto& b) {
                            return boost::geometry::area(a) < boost::geometry::area(b);
                        });
                    if (largest == pieces.end() || boost::geometry::area(*largest) <= 0) {
                        continue;
                    }
                    holds[static_cast<size_t>(r * grid.columns + c)] = true;
                    ModelPoint middle;
                    boost::geometry::centroid(*largest, middle);
                    plan.labels.push_back({{static_cast<int32_t>(r), static_cast<int32_t>(c)},
                                           ToSheet(middle.x),
                                           ToSheet(middle.y),
                                           LabelText(library, track, footprint.ref.section)});
                }
            }
            const int section = footprint.ref.section;
            const Part& part = library.parts[track.partIndex[section]];
            if (section == 0 && footprint.centreLine.size() >= 2) {
                // Across the band at the start edge's middle, as wide as the part.
                const ModelPoint& from = footprint.centreLine[0];
                const ModelPoint& to = footprint.centreLine[1];
                const double length = std::hypot(to.x - from.x, to.y - from.y);
                const double half = part.width / 2.0 / std::max(length, 1e-9);
                const double dx = -(to.y - from.y) * half;
                const double dy = (to.x - from.x) * half;
                plan.startLines.push_back({ToSheet(from.x - dx), ToSheet(from.y - dy),
                                           ToSheet(from.x + dx), ToSheet(from.y + dy)});
            }
        }
    }
    return holds;
}

/// Row letters: 0 "A", 25 "Z", 26 "AA", as spreadsheet columns are named.
std::string RowLetters(int64_t row) {
    std::string letters;
    for (int64_t n = row + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters;
}

MaybeMessage Refusal(const char* text) {
    return Message{text, "Error"};
}

MaybeMessage CheckReach(const Design& design) {
    for (const Track& track : design.tracks) {
        if (track.inUse != 0 && (std::abs(int64_t{track.beginX}) > kMaxFullSizeReach ||
                                 std::abs(int64_t{track.beginY}) > kMaxFullSizeReach)) {
            return Refusal("A track begins too far from the centre of the board to print the "
                           "design at full size.");
        }
    }
    return std::nullopt;
}

void DashedLine(Canvas& paper, PixelPoint from, PixelPoint to) {
    const bool across = from.y == to.y;
    const int32_t start = across ? from.x : from.y;
    const int32_t end = across ? to.x : to.y;
    for (int32_t a = start; a < end; a += kDash + kDashGap) {
        const int32_t b = std::min(a + kDash, end);
        paper.moveTo(across ? a : from.x, across ? from.y : a);
        paper.lineTo(across ? b : from.x, across ? from.y : b);
    }
}

/// A black cross on a white halo, so that it shows on filled sections too.
void AlignmentCross(Canvas& paper, PixelPoint corner) {
    for (const auto& [colour, width] : {std::pair{kWhite, 5}, std::pair{kBlack, 1}}) {
        paper.setPen(colour, width);
        paper.moveTo(corner.x - kCrossArm, corner.y);
        paper.lineTo(corner.x + kCrossArm, corner.y);
        paper.moveTo(corner.x, corner.y - kCrossArm);
        paper.lineTo(corner.x, corner.y + kCrossArm);
    }
}

/// The cut lines and crosses around the cell of a page, page pixels.
void CellMarks(Canvas& paper, const SheetGrid& grid) {
    const int32_t left = kHalfOverlap;
    const int32_t top = kHalfOverlap;
    const int32_t right = left + grid.cellWidth;
    const int32_t bottom = top + grid.cellHeight;
    const int32_t clear = kCrossArm + kDashGap / 2;
    paper.setPen(kCutLineGrey, 1);
    DashedLine(paper, {left + clear, top}, {right - clear, top});
    DashedLine(paper, {left + clear, bottom}, {right - clear, bottom});
    DashedLine(paper, {left, top + clear}, {left, bottom - clear});
    DashedLine(paper, {right, top + clear}, {right, bottom - clear});
    for (const PixelPoint corner :
         {PixelPoint{left, top}, {right, top}, {left, bottom}, {right, bottom}}) {
        AlignmentCross(paper, corner);
    }
}

/// The 100 mm bar with a tick every 10 mm and its caption above it, on white; (x, y) is the
/// bar's left end.
void ScaleBar(Canvas& paper, int32_t x, int32_t y) {
    constexpr int32_t kHeight = 2 * kScaleBarTick + kFullSizeLineHeight + 5;
    constexpr int32_t kMargin = 10;
    paper.setBrush(kWhite);
    paper.fillRect(x - kMargin, y - kHeight - kMargin, x + kScaleBarLength + kMargin, y + kMargin);
    paper.setPen(kBlack, 1);
    paper.moveTo(x, y);
    paper.lineTo(x + kScaleBarLength, y);
    for (int i = 0; i <= 10; ++i) {
        const int32_t tick = i % 5 == 0 ? 2 * kScaleBarTick : kScaleBarTick;
        paper.moveTo(x + i * kScaleBarLength / 10, y);
        paper.lineTo(x + i * kScaleBarLength / 10, y - tick);
    }
    paper.textOut(x, y - kHeight, "100 mm");
}

/// "rows A to C, columns 1 to 4", or the singular for one of either.
std::string GridSpan(const SheetGrid& grid) {
    const std::string rows = grid.rows == 1 ? "row A" : "rows A to " + RowLetters(grid.rows - 1);
    const std::string columns =
        grid.columns == 1 ? "column 1" : "columns 1 to " + std::to_string(grid.columns);
    return rows + ", " + columns;
}

/// How the overview page maps sheet pixels: the whole grid scaled down into the page below
/// the header lines, centred.
struct OverviewMap {
    const SheetGrid& grid;
    int32_t zoomScale;
    int32_t offsetX, offsetY;

    int32_t x(int64_t sheetX) const {
        return offsetX +
               static_cast<int32_t>(FloorDiv((sheetX - grid.left) * zoomScale, kFullSizeZoomScale));
    }
    int32_t y(int64_t sheetY) const {
        return offsetY +
               static_cast<int32_t>(FloorDiv((sheetY - grid.top) * zoomScale, kFullSizeZoomScale));
    }
};

/// The overview's header lines: what is printed and how, then the pages left out (wrapped to
/// the page's width), so that the grid labels keep their meaning.
std::vector<std::string> OverviewLines(const FullSizePlan& plan) {
    std::vector<std::string> lines{
        plan.designName + " at full size: " + std::to_string(plan.pages.size()) + " pages of " +
            std::to_string((plan.page.width + 5) / 10) + " x " +
            std::to_string((plan.page.height + 5) / 10) + " mm, " + GridSpan(plan.grid),
        "Pages overlap by 10 mm: cut along the dashed lines, lay the crosses on top of each "
        "other and tape."};
    if (plan.leftOut.empty()) {
        return lines;
    }
    const size_t width =
        static_cast<size_t>((plan.page.width - 2 * kOverviewTextLeft) / kCharWidth);
    std::string line = "Left out, as they hold no section:";
    for (size_t i = 0; i < plan.leftOut.size(); ++i) {
        const std::string label =
            " " + PageLabel(plan.leftOut[i]) + (i + 1 < plan.leftOut.size() ? "," : ".");
        if (line.size() + label.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += label;
    }
    lines.push_back(line);
    return lines;
}

/// Top of the overview's map, below its header lines and a blank one.
int32_t OverviewTop(const std::vector<std::string>& lines) {
    return kOverviewTextLeft + static_cast<int32_t>(lines.size() + 1) * kFullSizeLineHeight;
}

OverviewMap MapOverview(const FullSizePlan& plan, int32_t overviewTop) {
    const SheetGrid& grid = plan.grid;
    const long double gridWidth = static_cast<long double>(grid.columns) * grid.cellWidth;
    const long double gridHeight = static_cast<long double>(grid.rows) * grid.cellHeight;
    const int32_t areaHeight = std::max(1, plan.page.height - overviewTop);
    const long double scale =
        std::min({plan.page.width / gridWidth, areaHeight / gridHeight, 1.0L});
    const int32_t zoomScale = std::max(1, fx::TruncToInt32(scale * kFullSizeZoomScale));
    const auto shown = [&](long double size) {
        return static_cast<int32_t>(size * zoomScale / kFullSizeZoomScale);
    };
    return {grid, zoomScale, (plan.page.width - shown(gridWidth)) / 2,
            overviewTop + (areaHeight - shown(gridHeight)) / 2};
}

/// The labels of `page` and the start lines that fall on it; its printable area begins at sheet
/// pixel (pageLeft, pageTop).
void TemplateMarks(Canvas& paper, const FullSizePlan& plan, SheetPage page, int32_t pageLeft,
                   int32_t pageTop) {
    const auto onPage = [&](int64_t x, int64_t y) {
        return x >= pageLeft - plan.page.width && x <= pageLeft + 2 * int64_t{plan.page.width} &&
               y >= pageTop - plan.page.height && y <= pageTop + 2 * int64_t{plan.page.height};
    };
    paper.setPen(kGreen, kStartLineWidth);
    for (const StartLine& line : plan.startLines) {
        if (onPage(line.x0, line.y0)) {
            paper.moveTo(static_cast<int32_t>(line.x0 - pageLeft),
                         static_cast<int32_t>(line.y0 - pageTop));
            paper.lineTo(static_cast<int32_t>(line.x1 - pageLeft),
                         static_cast<int32_t>(line.y1 - pageTop));
        }
    }
    paper.setPen(kBlack, 1);
    paper.setBrush(kWhite);
    for (const TemplateLabel& label : plan.labels) {
        if (label.page == page) {
            const auto halfWidth = static_cast<int64_t>(label.text.size()) * kCharWidth / 2;
            paper.textOut(static_cast<int32_t>(label.x - pageLeft - halfWidth),
                          static_cast<int32_t>(label.y - pageTop - kFullSizeLineHeight / 2),
                          label.text.c_str());
        }
    }
}

} // namespace

SheetGrid PlanSheetGrid(const PaperRect& extent, PageSize page) {
    SheetGrid grid{};
    grid.cellWidth = page.width - kPageOverlap;
    grid.cellHeight = page.height - kPageOverlap;
    const int64_t width = std::max<int64_t>(1, int64_t{extent.right} - extent.left);
    const int64_t height = std::max<int64_t>(1, int64_t{extent.bottom} - extent.top);
    grid.columns = CeilDiv(width, grid.cellWidth);
    grid.rows = CeilDiv(height, grid.cellHeight);
    grid.left = extent.left - (grid.columns * grid.cellWidth - width) / 2;
    grid.top = extent.top - (grid.rows * grid.cellHeight - height) / 2;
    return grid;
}

std::string PageLabel(SheetPage page) {
    return RowLetters(page.row) + std::to_string(int64_t{page.column} + 1);
}

MaybeMessage PlanFullSizePrint(Design& design, DesignView& view, PageSize page, FullSizePlan& plan,
                               FullSizePages which) {
    if (page.width < kMinFullSizePage || page.height < kMinFullSizePage) {
        return Refusal("The printable area of the page must be at least 120 mm wide and high to "
                       "print the design at full size.");
    }
    if (MaybeMessage refused = CheckReach(design)) {
        return refused;
    }
    ExtentCanvas extent;
    DrawPaperPass(design, view, extent, kFullSizeZoomScale, 0, 0);
    // A pass always draws the board outline, so the extent is never empty.
    const SheetGrid grid = PlanSheetGrid(extent.rect(), page);
    if (grid.rows > kMaxFullSizePages || grid.columns > kMaxFullSizePages ||
        grid.rows * grid.columns > kMaxFullSizePages) {
        return Refusal("The design is too large to print at full size: it would take more than "
                       "999 pages.");
    }

    CellCanvas cells(grid);
    DrawPaperPass(design, view, cells, kFullSizeZoomScale, 0, 0);
    FullSizePlan planned{page, extent.rect(), grid, {}, {}, FileNamePart(design.fileName), {}, {}};
    const std::vector<bool> withSections = CellsWithSections(design, *view.library, grid, planned);
    for (int32_t row = 0; row < grid.rows; ++row) {
        for (int32_t column = 0; column < grid.columns; ++column) {
            if (!cells.marked(row, column)) {
                continue;
            }
            const bool section = withSections[static_cast<size_t>(row * grid.columns + column)];
            (section || which == FullSizePages::Every ? planned.pages : planned.leftOut)
                .push_back({row, column});
        }
    }
    plan = std::move(planned);
    return std::nullopt;
}

void PrintFullSizeOverview(Design& design, DesignView& view, Canvas& paper,
                           const FullSizePlan& plan) {
    paper.setBrush(kWhite);
    const std::vector<std::string> lines = OverviewLines(plan);
    for (size_t i = 0; i < lines.size(); ++i) {
        paper.textOut(kOverviewTextLeft,
                      kOverviewTextLeft + static_cast<int32_t>(i) * kFullSizeLineHeight,
                      lines[i].c_str());
    }

    const OverviewMap map = MapOverview(plan, OverviewTop(lines));
    DrawPaperPass(design, view, paper, map.zoomScale, map.x(0), map.y(0));
    for (const SheetPage& page : plan.pages) {
        const int64_t cellLeft = CellLeft(plan.grid, page.column);
        const int64_t cellTop = CellTop(plan.grid, page.row);
        const int32_t left = map.x(cellLeft);
        const int32_t top = map.y(cellTop);
        const int32_t right = map.x(cellLeft + plan.grid.cellWidth);
        const int32_t bottom = map.y(cellTop + plan.grid.cellHeight);
        paper.setPen(kCutLineGrey, 1);
        paper.moveTo(left, top);
        paper.lineTo(right, top);
        paper.lineTo(right, bottom);
        paper.lineTo(left, bottom);
        paper.lineTo(left, top);
        paper.setBrush(kWhite);
        paper.textOut(left + 10, top + 10, PageLabel(page).c_str());
    }
}

void PrintFullSizePage(Design& design, DesignView& view, Canvas& paper, const FullSizePlan& plan,
                       SheetPage page) {
    // The page's printable area starts half the overlap before its cell. Accepted plans lie
    // well inside 32 bits: at most 999 cells, each of a page.
    const auto pageLeft = static_cast<int32_t>(CellLeft(plan.grid, page.column) - kHalfOverlap);
    const auto pageTop = static_cast<int32_t>(CellTop(plan.grid, page.row) - kHalfOverlap);
    // A template to lay pieces on: outlines with every joint, whatever the options say.
    const int32_t filledIn = std::exchange(design.filledIn, 0);
    const int32_t segments = std::exchange(design.segments, 1);
    DrawPaperPass(design, view, paper, kFullSizeZoomScale, -pageLeft, -pageTop);
    design.filledIn = filledIn;
    design.segments = segments;
    TemplateMarks(paper, plan, page, pageLeft, pageTop);

    CellMarks(paper, plan.grid);
    paper.setBrush(kWhite);
    paper.textOut(kHalfOverlap + kTextInset, kHalfOverlap + kHalfOverlap / 2,
                  (PageLabel(page) + "  " + plan.designName).c_str());
    ScaleBar(paper, kHalfOverlap + kTextInset, kHalfOverlap + plan.grid.cellHeight - kScaleBarRise);
}

} // namespace lapwerk
