#include "full_size_print.h"

#include "fixed_point.h"

#include <algorithm>
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
constexpr int32_t kOverviewTop = kOverviewTextLeft + 3 * kFullSizeLineHeight;

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

OverviewMap MapOverview(const FullSizePlan& plan) {
    const SheetGrid& grid = plan.grid;
    const long double gridWidth = static_cast<long double>(grid.columns) * grid.cellWidth;
    const long double gridHeight = static_cast<long double>(grid.rows) * grid.cellHeight;
    const int32_t areaHeight = plan.page.height - kOverviewTop;
    const long double scale =
        std::min({plan.page.width / gridWidth, areaHeight / gridHeight, 1.0L});
    const int32_t zoomScale = std::max(1, fx::TruncToInt32(scale * kFullSizeZoomScale));
    const auto shown = [&](long double size) {
        return static_cast<int32_t>(size * zoomScale / kFullSizeZoomScale);
    };
    return {grid, zoomScale, (plan.page.width - shown(gridWidth)) / 2,
            kOverviewTop + (areaHeight - shown(gridHeight)) / 2};
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

MaybeMessage PlanFullSizePrint(Design& design, DesignView& view, PageSize page,
                               FullSizePlan& plan) {
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
    plan.page = page;
    plan.extent = extent.rect();
    plan.grid = grid;
    plan.pages.clear();
    for (int32_t row = 0; row < grid.rows; ++row) {
        for (int32_t column = 0; column < grid.columns; ++column) {
            if (cells.marked(row, column)) {
                plan.pages.push_back({row, column});
            }
        }
    }
    plan.designName = FileNamePart(design.fileName);
    return std::nullopt;
}

void PrintFullSizeOverview(Design& design, DesignView& view, Canvas& paper,
                           const FullSizePlan& plan) {
    paper.setBrush(kWhite);
    paper.textOut(kOverviewTextLeft, kOverviewTextLeft,
                  (plan.designName + " at full size: " + std::to_string(plan.pages.size()) +
                   " pages of " + std::to_string((plan.page.width + 5) / 10) + " x " +
                   std::to_string((plan.page.height + 5) / 10) + " mm, " + GridSpan(plan.grid))
                      .c_str());
    paper.textOut(kOverviewTextLeft, kOverviewTextLeft + kFullSizeLineHeight,
                  "Pages overlap by 10 mm: cut along the dashed lines, lay the crosses on top of "
                  "each other and tape.");

    const OverviewMap map = MapOverview(plan);
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
    DrawPaperPass(design, view, paper, kFullSizeZoomScale, -pageLeft, -pageTop);

    CellMarks(paper, plan.grid);
    paper.setBrush(kWhite);
    paper.textOut(kHalfOverlap + kTextInset, kHalfOverlap + kHalfOverlap / 2,
                  (PageLabel(page) + "  " + plan.designName).c_str());
    ScaleBar(paper, kHalfOverlap + kTextInset, kHalfOverlap + plan.grid.cellHeight - kScaleBarRise);
}

} // namespace lapwerk
