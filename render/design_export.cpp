#include "design_export.h"

#include "print_pass.h"
#include "qpainter_canvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QString>
#include <QSvgGenerator>

namespace lapwerk {

namespace {

constexpr int kPdfDotsPerInch = 300;

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
    QPainterCanvas canvas(painter);
    DesignView view;
    view.library = &library;
    view.areaWidth = settings.area.width();
    view.areaHeight = settings.area.height();
    view.zoom = settings.zoom;
    view.metric = settings.metric;
    RedrawDesign(design, view, &canvas);
}

} // namespace

ExportError ExportScreenImage(Design& design, const PartLibrary& library,
                              const ScreenExport& settings, const std::string& path) {
    if (settings.area.width() <= 0 || settings.area.height() <= 0) {
        return std::string("The drawing area must be at least one pixel wide and high");
    }
    QByteArray bytes;
    if (EndsWith(path, ".png")) {
        QImage image(settings.area, QImage::Format_RGB32);
        if (image.isNull()) {
            return std::string("Not enough memory for an image of that size");
        }
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            RunScreenPass(design, library, settings, painter);
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
        generator.setSize(settings.area);
        generator.setViewBox(QRect(QPoint(0, 0), settings.area));
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

} // namespace lapwerk
