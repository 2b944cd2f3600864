#pragma once

#include "design.h"
#include "design_view.h"
#include "full_size_print.h"
#include "inventory.h"
#include "part_library.h"
#include "qpainter_canvas.h"

#include <QImage>
#include <QPageSize>
#include <QSize>

#include <functional>
#include <optional>
#include <string>

class QPagedPaintDevice;

namespace lapwerk {

/// Settings of the screen pass that an exported image shows.
struct ScreenExport {
    int32_t zoom = kDefaultZoom; ///< zoom bar position 1..24
    int32_t panX = 0;            ///< the view's pan, view pixels (DesignView::panX)
    int32_t panY = 0;
    QSize area{1000, 800};  ///< drawing area, view pixels
    bool metric = true;     ///< the Metric check mark (ruler and grid spacing)
    int32_t pixelRatio = 1; ///< device pixels per view pixel, 1..4: the image is this many
                            ///< times the area's width and height
    Smoothing smoothing = Smoothing::kNone; ///< Smooth Drawing
};

/// `settings` with the zoom step and pan that Zoom to Fit chooses for its area: the board and
/// every track in use, centred.
ScreenExport FittedToDesign(const Design& design, const PartLibrary& library,
                            ScreenExport settings);

/// An error text for the user, or nothing on success.
using ExportError = std::optional<std::string>;

/// The screen pass of `design` as RedrawDesign draws it on the drawing area, an image of the
/// area's size times the pixel ratio; a null image when there is not memory enough for it.
QImage ScreenImage(Design& design, const PartLibrary& library, const ScreenExport& settings);

/// Paints the screen pass of `design` (as RedrawDesign draws it on the drawing area) into a
/// PNG or an SVG file, chosen by the extension of `path` in any letter case, of the area's
/// size times the pixel ratio. The file is replaced only when the whole image could be
/// written.
ExportError ExportScreenImage(Design& design, const PartLibrary& library,
                              const ScreenExport& settings, const std::string& path);

/// Prints `design` as the printed page (header line and printer pass) on one A4 portrait page
/// of a PDF file at 300 dots per inch. Refuses a board of 0 or less, writing nothing.
ExportError ExportPrintedPage(Design& design, const PartLibrary& library, bool metric,
                              const std::string& caption, const std::string& path);

/// Told before each page of a full-size print is drawn: `page` pages of `pageCount` are done.
/// Returning false cancels the print.
using PageProgress = std::function<bool(int page, int pageCount)>;

/// Prints `design` at full size on `device` (the printer the user chose, or a PDF writer): the
/// overview page, then the pages `which` asks for, each filling the paper less 10 mm margins
/// (or the device's own margins where wider) at the device's resolution, 1:1 both ways. The design
/// itself is not touched. Refuses, before the device's job starts, a design that cannot be
/// printed at full size on these pages; returns the refusal, a printer that would not start, or
/// "Printing was cancelled." when `progress` said so (the pages drawn so far stay in the job;
/// cancelled before the overview page, the job does not start).
ExportError PrintFullSize(const Design& design, const PartLibrary& library,
                          QPagedPaintDevice& device,
                          FullSizePages which = FullSizePages::WithSections,
                          const PageProgress& progress = {});

/// Writes the full-size pages of `design` into a PDF file of `paper` pages (portrait, 10 mm
/// margins) at 1200 dots per inch, as PrintFullSize prints them. Writes nothing when it refuses.
ExportError ExportFullSizePdf(const Design& design, const PartLibrary& library,
                              QPageSize::PageSizeId paper, FullSizePages which,
                              const std::string& path);

/// Writes the parts list of `design` as a CSV file (PartsListCsv), replacing `path` only when
/// the whole file could be written.
ExportError ExportPartsList(const Design& design, const PartLibrary& library,
                            const Inventory& inventory, const std::string& path);

} // namespace lapwerk
