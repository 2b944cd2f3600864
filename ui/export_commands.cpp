#include "main_form.h"

#include "command_windows.h"
#include "design_area.h"

#include "design_export.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSlider>

#include <memory>

namespace lapwerk {

namespace {

enum class ExportFormat { ScreenImage, PrintedPage, Unknown };

ExportFormat FormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg")) {
        return ExportFormat::ScreenImage;
    }
    if (suffix == QLatin1String("pdf")) {
        return ExportFormat::PrintedPage;
    }
    return ExportFormat::Unknown;
}

/// The name the parts list is first offered under: the design's, with .csv for its extension.
QString PartsListName(const QString& designPath) {
    const QFileInfo design(designPath);
    const QString name = design.completeBaseName() + QStringLiteral(".csv");
    return design.path() == QLatin1String(".") ? name : design.dir().filePath(name);
}

} // namespace

ScreenExport TMainForm::screenExport(const ImageExportChoice& choice) const {
    ScreenExport settings;
    settings.zoom = ZoomBar->value();
    settings.panX = records_.view.panX;
    settings.panY = records_.view.panY;
    settings.area = choice.size.boundedTo(QSize(kMaxImageSide, kMaxImageSide));
    settings.metric = metric();
    settings.smoothing = drawingSmoothing();
    if (choice.extent == ImageExtent::WholeDesign) {
        settings = FittedToDesign(records_.design, records_.library, settings);
    }
    return settings;
}

bool TMainForm::ExportImage1Click() {
    const QString path = dialogs_->chooseFile(this, FileDialogKind::Export);
    if (path.isEmpty()) {
        return false;
    }
    // A pass writes into the Design it draws (zoom, lane lengths), and the page pass at its own
    // scale; drawing a copy leaves the design, its history and the screen exactly as they are.
    const auto copy = std::make_unique<Design>(records_.design);
    const std::string file = path.toStdString();
    ExportError failed;
    switch (FormatOf(path)) {
    case ExportFormat::ScreenImage: {
        const std::optional<ImageExportChoice> choice =
            dialogs_->chooseImageExport(this, {ImageExtent::CurrentView, designArea_->size()});
        if (!choice) {
            return false;
        }
        failed = ExportScreenImage(*copy, records_.library, screenExport(*choice), file);
        break;
    }
    case ExportFormat::PrintedPage:
        failed =
            ExportPrintedPage(*copy, records_.library, metric(), windowTitle().toStdString(), file);
        break;
    case ExportFormat::Unknown:
        showError(QStringLiteral("Cannot tell the format of %1: name it .png, .svg or .pdf")
                      .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (failed) {
        showError(QString::fromStdString(*failed));
        return false;
    }
    return true;
}

bool TMainForm::ExportPartsList1Click() {
    const QString designPath = QString::fromLocal8Bit(records_.design.fileName);
    QString path = dialogs_->chooseFile(this, FileDialogKind::PartsList, PartsListName(designPath));
    if (path.isEmpty()) {
        return false;
    }
    // A list is a CSV file: a name without the extension, a design's among them, gets it.
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".csv");
    }
    if (const ExportError failed = ExportPartsList(records_.design, records_.library,
                                                   records_.inventory, path.toStdString())) {
        showError(QString::fromStdString(*failed));
        return false;
    }
    showNote(QStringLiteral("Parts list written to %1").arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace lapwerk
