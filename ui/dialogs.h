#pragma once

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class QFileDialog;
class QPrinter;
class QWidget;

namespace lapwerk {

class CloseTrackDialog;
class SuggestLayoutsDialog;
class FullSizePrintDialog;

/// The file dialogs of the File menu.
enum class FileDialogKind {
    Open,        ///< "Open Track", .tr2 designs
    Save,        ///< "Save Track", .tr2 designs, for Save and Save As
    Import,      ///< "Import Track V1", .trk designs
    Export,      ///< "Export Image", PNG and SVG images and PDF pages
    PartsList,   ///< "Export Parts List", CSV files
    PartLibrary, ///< "Part Library", parts.def files
};

/// Number of FileDialogKind values.
inline constexpr int kFileDialogKinds = 6;

/// What an exported image shows.
enum class ImageExtent {
    CurrentView, ///< the drawing area's view: its zoom step and pan, around the same middle
    WholeDesign, ///< the board and every track, fitted as Zoom to Fit fits them
};

/// How an image is exported: what it shows and its size.
struct ImageExportChoice {
    ImageExtent extent = ImageExtent::CurrentView;
    QSize size; ///< pixels
};

/// The largest width or height of an exported image, pixels.
inline constexpr int kMaxImageSide = 8192;

/// Every modal dialog the main window shows: message boxes, questions, the file dialogs, the
/// image export dialog, the print and printer set-up dialogs, the Close Track dialog and the
/// progress of a full-size print. The window owns one; tests give it one that records what it was
/// shown and answers by itself.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// Shows `text` in a modal box captioned `caption` with an OK button.
    virtual void message(QWidget* owner, const QString& text, const QString& caption) = 0;

    /// Asks `text` in a modal box captioned `caption` with Yes and No and no icon;
    /// true for Yes.
    virtual bool question(QWidget* owner, const QString& text, const QString& caption) = 0;

    /// Shows the file dialog of `kind`, with `suggestedName` (a file name or path) preselected
    /// when it is not empty; the chosen path, or an empty text when cancelled.
    virtual QString chooseFile(QWidget* owner, FileDialogKind kind,
                               const QString& suggestedName = QString()) = 0;

    /// Asks what an exported image shows and its size, starting from `proposed`; nothing when
    /// cancelled.
    virtual std::optional<ImageExportChoice>
    chooseImageExport(QWidget* owner, const ImageExportChoice& proposed) = 0;

    /// Shows the print dialog over `printer`; true when the user chose to print.
    virtual bool choosePrinter(QWidget* owner, QPrinter& printer) = 0;

    /// Shows the printer set-up dialog over `printer`.
    virtual void pageSetup(QWidget* owner, QPrinter& printer) = 0;

    /// Shows the Close Track dialog until the user closes it; true when a proposal was applied.
    virtual bool closeTrack(CloseTrackDialog& dialog) = 0;

    /// Shows the Suggest Layouts dialog until the user closes it; true when a layout was added.
    virtual bool suggestLayouts(SuggestLayoutsDialog& dialog) = 0;

    /// Runs the full-size print of `dialog`, showing its progress until the job has ended.
    virtual void printFullSize(FullSizePrintDialog& dialog) = 0;
};

/// The real dialogs. Each file dialog is one object for the whole run, so it keeps the folder
/// and the name last chosen in it; only a suggested name replaces that name.
class QtDialogs final : public Dialogs {
public:
    QtDialogs();
    ~QtDialogs() override;

    void message(QWidget* owner, const QString& text, const QString& caption) override;
    bool question(QWidget* owner, const QString& text, const QString& caption) override;
    QString chooseFile(QWidget* owner, FileDialogKind kind,
                       const QString& suggestedName = QString()) override;
    std::optional<ImageExportChoice> chooseImageExport(QWidget* owner,
                                                       const ImageExportChoice& proposed) override;
    bool choosePrinter(QWidget* owner, QPrinter& printer) override;
    void pageSetup(QWidget* owner, QPrinter& printer) override;
    bool closeTrack(CloseTrackDialog& dialog) override;
    bool suggestLayouts(SuggestLayoutsDialog& dialog) override;
    void printFullSize(FullSizePrintDialog& dialog) override;

    /// The file dialog of `kind`, made on first use with its title, filters and extension.
    QFileDialog& fileDialog(QWidget* owner, FileDialogKind kind);

private:
    std::unique_ptr<QFileDialog> fileDialogs_[kFileDialogKinds];
    QString lastChosen_[kFileDialogKinds];
};

} // namespace lapwerk
