#include "dialogs.h"

#include "close_track_dialog.h"
#include "full_size_print_dialog.h"
#include "screen_fit.h"
#include "suggest_layouts_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lapwerk {

namespace {

struct FileDialogLook {
    const char* title;
    const char* filters;
    const char* defaultSuffix;
    QFileDialog::AcceptMode mode;
};

FileDialogLook LookOf(FileDialogKind kind) {
    switch (kind) {
    case FileDialogKind::Open:
        return {"Open Track", "Tracks V2 (*.tr2);;All Files (*.*)", "tr2", QFileDialog::AcceptOpen};
    case FileDialogKind::Save:
        // A name typed without an extension becomes a design file, and replacing a file asks.
        return {"Save Track", "Tracks V2 (*.tr2);;All Files (*.*)", "tr2", QFileDialog::AcceptSave};
    case FileDialogKind::Import:
        return {"Import Track V1", "Tracks V1 (*.trk);;All Files (*.*)", "trk",
                QFileDialog::AcceptOpen};
    case FileDialogKind::Export:
        return {"Export Image", "PNG image (*.png);;SVG image (*.svg);;PDF page (*.pdf)", "png",
                QFileDialog::AcceptSave};
    case FileDialogKind::PartsList:
        return {"Export Parts List", "CSV file (*.csv);;All Files (*.*)", "csv",
                QFileDialog::AcceptSave};
    case FileDialogKind::PartLibrary:
        return {"Part Library", "Part libraries (*.def);;All Files (*)", "def",
                QFileDialog::AcceptOpen};
    }
    return {"", "", "", QFileDialog::AcceptOpen};
}

/// The extension of a filter such as "SVG image (*.svg)": "svg".
QString SuffixOfFilter(const QString& filter) {
    const qsizetype star = filter.lastIndexOf(QStringLiteral("*."));
    const qsizetype close = filter.indexOf(QLatin1Char(')'), star);
    if (star < 0 || close < 0) {
        return {};
    }
    return filter.mid(star + 2, close - star - 2);
}

/// Ends what a file dialog closed with Return can leave behind. Return typed while the file
/// name's completion list shows accepts the dialog but leaves that list as the application's
/// active popup; the owner's window, activated while the popup held on, is then not the
/// application's active window, so no focus change reaches its widgets: a board box left
/// afterwards never applied its size.
void EndLeftOverPopups(QWidget* owner) {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close()) {
            return;
        }
    }
    QWidget* window = owner != nullptr ? owner->window() : nullptr;
    if (window != nullptr && QApplication::activeWindow() == nullptr &&
        QGuiApplication::focusWindow() == window->windowHandle()) {
        QApplication::setActiveWindow(window);
    }
}

} // namespace

QtDialogs::QtDialogs() = default;

QtDialogs::~QtDialogs() = default;

void QtDialogs::message(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool QtDialogs::question(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QFileDialog& QtDialogs::fileDialog(QWidget* owner, FileDialogKind kind) {
    std::unique_ptr<QFileDialog>& dialog = fileDialogs_[static_cast<int>(kind)];
    if (!dialog) {
        const FileDialogLook look = LookOf(kind);
        dialog = std::make_unique<QFileDialog>(owner, QString::fromLatin1(look.title));
        dialog->setNameFilters(QString::fromLatin1(look.filters).split(QStringLiteral(";;")));
        dialog->setDefaultSuffix(QString::fromLatin1(look.defaultSuffix));
        dialog->setAcceptMode(look.mode);
        dialog->setFileMode(look.mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                                 : QFileDialog::ExistingFile);
        if (kind == FileDialogKind::Export) {
            // A name typed without an extension gets the one of the format chosen.
            QFileDialog* shown = dialog.get();
            QObject::connect(shown, &QFileDialog::filterSelected, shown,
                             [shown](const QString& filter) {
                                 shown->setDefaultSuffix(SuffixOfFilter(filter));
                             });
        }
    }
    return *dialog;
}

QString QtDialogs::chooseFile(QWidget* owner, FileDialogKind kind, const QString& suggestedName) {
    QFileDialog& dialog = fileDialog(owner, kind);
    QString& last = lastChosen_[static_cast<int>(kind)];
    const QString& preselected = suggestedName.isEmpty() ? last : suggestedName;
    if (!preselected.isEmpty()) {
        dialog.selectFile(preselected);
    }
    const int answer = dialog.exec();
    EndLeftOverPopups(owner);
    if (answer != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return {};
    }
    last = chosen.first();
    return last;
}

namespace {

QSpinBox* MakeSideBox(QWidget* parent, const char* name, const char* spokenName, int pixels) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(QString::fromLatin1(spokenName));
    box->setRange(1, kMaxImageSide);
    box->setValue(pixels);
    box->setSuffix(QStringLiteral(" px"));
    return box;
}

} // namespace

std::optional<ImageExportChoice> QtDialogs::chooseImageExport(QWidget* owner,
                                                              const ImageExportChoice& proposed) {
    QDialog dialog(owner);
    dialog.setObjectName("ImageExportDialog");
    dialog.setWindowTitle(QStringLiteral("Export Image"));
    auto* view = new QRadioButton(QStringLiteral("&Current view"), &dialog);
    auto* whole =
        new QRadioButton(QStringLiteral("&Whole design (board and every track)"), &dialog);
    (proposed.extent == ImageExtent::WholeDesign ? whole : view)->setChecked(true);
    QSpinBox* width = MakeSideBox(&dialog, "ImageWidth", "Image width", proposed.size.width());
    QSpinBox* height = MakeSideBox(&dialog, "ImageHeight", "Image height", proposed.size.height());
    auto* size = new QHBoxLayout;
    size->addWidget(width);
    size->addWidget(new QLabel(QStringLiteral("x"), &dialog));
    size->addWidget(height);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Size:"), size);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(view);
    layout->addWidget(whole);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ImageExportChoice{whole->isChecked() ? ImageExtent::WholeDesign
                                                : ImageExtent::CurrentView,
                             QSize(width->value(), height->value())};
}

bool QtDialogs::choosePrinter(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::pageSetup(QWidget* owner, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, owner);
    dialog.exec();
}

bool QtDialogs::closeTrack(CloseTrackDialog& dialog) {
    FitIntoScreen(dialog);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::suggestLayouts(SuggestLayoutsDialog& dialog) {
    FitIntoScreen(dialog);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::printFullSize(FullSizePrintDialog& dialog) {
    dialog.run();
}

} // namespace lapwerk
