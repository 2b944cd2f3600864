#include "design_export.h"

#include "full_size_print.h"
#include "parts_list.h"
#include "print_job.h"
#include "print_pass.h"
#include "qpainter_canvas.h"
#include "view_navigation.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <memory>

namespace lapwerk {

namespace {

constexpr int kPdfDotsPerInch = 300;
constexpr int kFullSizePdfDotsPerInch = 1200;
constexpr qreal kFullSizePdfMarginMm = 10.0;
/// Pixel size of the full-size texts' font, paper pixels: 3.2 mm, so that a line stays within
/// kFullSizeLineHeight.
constexpr int kFullSizeFontPixels = 32;
constexpr const char* kCancelledText = "Printing was cancelled.";

bool EndsWith(const std::string& text, const char* suffix) {
    const QString name = QString::fromStdString(text);
    return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

// Writes `bytes` to `path` in one step: on any failure the old file stays as it was.
ExportError SaveBytes(const QByteArray& bytes, const std::string& path) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return "Cannot write " + path + ": " + file.errorString().toStdString();
    }
    return std::nullopt;
}

void RunScreenPass(Design& design, const PartLibrary& library, const ScreenExport& settings,
                   QPainter& painter) {
    QPainterCanvas canvas(painter, settings.smoothing);
    DesignView view;
    view.library = &library;
    view.areaWidth = settings.area.width();
    view.areaHeight = settings.area.height();
    view.zoom = settings.zoom;
    view.panX = settings.panX;
    view.panY = settings.panY;
    view.pixelRatio = settings.pixelRatio;
    view.metric = settings.metric;
    RedrawDesign(design, view, &canvas);
}

/// Paper pixels (0.1 mm) that `devicePixels` at `dotsPerInch` span, rounded down so that a page
/// never reaches beyond the printable area.
int32_t PaperPixels(int devicePixels, int dotsPerInch) {
    return static_cast<int32_t>(
        std::floor(static_cast<double>(devicePixels) * kPaperPixelsPerInch / dotsPerInch));
}

/// Where the pages of a full-size print lie on a device: kFullSizePdfMarginMm from the paper's
/// edges, or the device's own margin where that is wider, so that the same paper gives the
/// same pages on every printer and PDF writer.
struct FullSizeArea {
    PageSize page;  ///< printable size, paper pixels
    QPointF origin; ///< its top-left corner, device pixels
};

FullSizeArea FullSizeAreaOf(const QPagedPaintDevice& device, int dotsX, int dotsY) {
    const QPageLayout layout = device.pageLayout();
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
    const auto devicePixels = [](qreal millimetres, int dots) {
        return static_cast<int>(std::lround(std::max<qreal>(0, millimetres) / 25.4 * dots));
    };
    const qreal left = std::max(kFullSizePdfMarginMm, printable.left()) - printable.left();
    const qreal top = std::max(kFullSizePdfMarginMm, printable.top()) - printable.top();
    const qreal right = std::max(kFullSizePdfMarginMm, paper.width() - printable.right()) -
                        (paper.width() - printable.right());
    const qreal bottom = std::max(kFullSizePdfMarginMm, paper.height() - printable.bottom()) -
                         (paper.height() - printable.bottom());
    const int width = device.width() - devicePixels(left, dotsX) - devicePixels(right, dotsX);
    const int height = device.height() - devicePixels(top, dotsY) - devicePixels(bottom, dotsY);
    return {{PaperPixels(width, dotsX), PaperPixels(height, dotsY)},
            QPointF(devicePixels(left, dotsX), devicePixels(top, dotsY))};
}

/// Pages of a full-size print: the overview and the planned pages.
int PageCount(const FullSizePlan& plan) {
    return static_cast<int>(plan.pages.size()) + 1;
}

/// Draws the planned pages on an active painter that maps paper pixels to the device.
ExportError PaintFullSizePages(Design& design, DesignView& view, const FullSizePlan& plan,
                               QPagedPaintDevice& device, QPainter& painter,
                               const PageProgress& progress) {
    QPainterCanvas canvas(painter);
    const int pageCount = PageCount(plan);
    for (int page = 0; page < pageCount; ++page) {
        // PrintFullSize asked about the overview page before the job started.
        if (page > 0 && progress && !progress(page, pageCount)) {
            return std::string(kCancelledText);
        }
        if (page == 0) {
            PrintFullSizeOverview(design, view, canvas, plan);
        } else {
            canvas.flush();
            device.newPage();
            PrintFullSizePage(design, view, canvas, plan, plan.pages[page - 1]);
        }
    }
    canvas.flush();
    return std::nullopt;
}

/// The size of the exported picture, device pixels.
QSize DeviceSize(const ScreenExport& settings) {
    return settings.area * std::clamp<int32_t>(settings.pixelRatio, 1, kMaxPixelRatio);
}

} // namespace

ScreenExport FittedToDesign(const Design& design, const PartLibrary& library,
                            ScreenExport settings) {
    const ViewFit fit = ZoomToFit(design, library, settings.area.width(), settings.area.height());
    settings.zoom = fit.zoom;
    settings.panX = fit.pan.x;
    settings.panY = fit.pan.y;
    return settings;
}

QImage ScreenImage(Design& design, const PartLibrary& library, const ScreenExport& settings) {
    QImage image(DeviceSize(settings), QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(Qt::white);
        QPainter painter(&image);
        RunScreenPass(design, library, settings, painter);
    }
    return image;
}

ExportError ExportScreenImage(Design& design, const PartLibrary& library,
                              const ScreenExport& settings, const std::string& path) {
    if (settings.area.width() <= 0 || settings.area.height() <= 0) {
        return std::string("The drawing area must be at least one pixel wide and high");
    }
    QByteArray bytes;
    if (EndsWith(path, ".png")) {
        const QImage image = ScreenImage(design, library, settings);
        if (image.isNull()) {
            return std::string("Not enough memory for an image of that size");
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            return "Cannot encode " + path + " as PNG";
        }
    } else if (EndsWith(path, ".svg")) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(DeviceSize(settings));
        generator.setViewBox(QRect(QPoint(0, 0), DeviceSize(settings)));
        generator.setTitle(QString::fromStdString(DesignCaption(design)));
        QPainter painter;
        if (!painter.begin(&generator)) {
            return "Cannot start the SVG drawing of " + path;
        }
        RunScreenPass(design, library, settings, painter);
        painter.end();
    } else {
        return "Cannot tell the image format of " + path + " (use .png or .svg)";
    }
    return SaveBytes(bytes, path);
}

ExportError ExportPrintedPage(Design& design, const PartLibrary& library, bool metric,
                              const std::string& caption, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    MaybeMessage refused;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDotsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QString::fromStdString(caption));
        writer.setCreator(QStringLiteral("Lapwerk V2.1"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return "Cannot start the PDF drawing of " + path;
        }
        QPainterCanvas canvas(painter);
        DesignView view;
        view.library = &library;
        view.metric = metric;
        const PageSize page{writer.width(), writer.height()};
        refused = PrintDesignPage(design, view, canvas, page, caption);
        canvas.flush();
        painter.end();
    }
    if (refused) {
        return refused->text;
    }
    return SaveBytes(bytes, path);
}

ExportError PrintFullSize(const Design& design, const PartLibrary& library,
                          QPagedPaintDevice& device, FullSizePages which,
                          const PageProgress& progress) {
    const int dotsX = device.logicalDpiX();
    const int dotsY = device.logicalDpiY();
    if (dotsX <= 0 || dotsY <= 0) {
        return std::string("The printer does not tell its resolution.");
    }
    // A copy, so that the window's design keeps its zoom, lane lengths and board texts.
    const auto copy = std::make_unique<Design>(design);
    DesignView view;
    view.library = &library;
    FullSizePlan plan;
    const FullSizeArea area = FullSizeAreaOf(device, dotsX, dotsY);
    if (const MaybeMessage refused = PlanFullSizePrint(*copy, view, area.page, plan, which)) {
        return refused->text;
    }
    // A print cancelled before its first page starts no job, so no empty sheet comes out.
    if (progress && !progress(0, PageCount(plan))) {
        return std::string(kCancelledText);
    }

    QPainter painter;
    if (!painter.begin(&device)) {
        return std::string("The printer could not start the print job.");
    }
    SendWholeStateOnFirstDraw(painter);
    painter.translate(area.origin);
    painter.scale(static_cast<qreal>(dotsX) / kPaperPixelsPerInch,
                  static_cast<qreal>(dotsY) / kPaperPixelsPerInch);
    painter.setClipRect(QRect(0, 0, area.page.width, area.page.height));
    QFont font = painter.font();
    font.setPixelSize(kFullSizeFontPixels);
    painter.setFont(font);
    const ExportError error = PaintFullSizePages(*copy, view, plan, device, painter, progress);
    painter.end();
    return error;
}

ExportError ExportFullSizePdf(const Design& design, const PartLibrary& library,
                              QPageSize::PageSizeId paper, FullSizePages which,
                              const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kFullSizePdfDotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                                         QMarginsF(kFullSizePdfMarginMm, kFullSizePdfMarginMm,
                                                   kFullSizePdfMarginMm, kFullSizePdfMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString(DesignCaption(design)));
        writer.setCreator(QStringLiteral("Lapwerk V2.1"));
        if (const ExportError error = PrintFullSize(design, library, writer, which)) {
            return error;
        }
    }
    return SaveBytes(bytes, path);
}

ExportError ExportPartsList(const Design& design, const PartLibrary& library,
                            const Inventory& inventory, const std::string& path) {
    const std::string csv = PartsListCsv(BuildPartsList(design, library, inventory));
    return SaveBytes(QByteArray::fromStdString(csv), path);
}

} // namespace lapwerk
