#pragma once

#include "design.h"
#include "design_view.h"
#include "part_library.h"

#include <QSize>

#include <optional>
#include <string>

namespace lapwerk {

/// Settings of the screen pass that an exported image shows.
struct ScreenExport {
    int32_t zoom = kDefaultZoom; ///< zoom bar position 1..24
    QSize area{1000, 800};       ///< drawing area, pixels
    bool metric = true;          ///< the Metric check mark (ruler and grid spacing)
};

/// An error text for the user, or nothing on success.
using ExportError = std::optional<std::string>;

/// Paints the screen pass of `design` (as RedrawDesign draws it on the drawing area) into a
/// PNG or an SVG file, chosen by the extension of `path` in any letter case. The file is
/// replaced only when the whole image could be written.
ExportError ExportScreenImage(Design& design, const PartLibrary& library,
                              const ScreenExport& settings, const std::string& path);

/// Prints `design` as the printed page (header line and printer pass) on one A4 portrait page
/// of a PDF file at 300 dots per inch. Refuses a board of 0 or less, writing nothing.
ExportError ExportPrintedPage(Design& design, const PartLibrary& library, bool metric,
                              const std::string& caption, const std::string& path);

} // namespace lapwerk
