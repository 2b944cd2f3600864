#pragma once

// The one fixture of the window tests: a main window over records of its own, in a temporary
// working directory with a part library and an inventory from tests/data/ui and a settings
// store of its own, whose dialogs are answered by the test. Tests reach the window as a user
// does: through its actions, buttons, controls and clicks.

#include "check_form.h"
#include "close_track_dialog.h"
#include "design_area.h"
#include "dialogs.h"
#include "full_size_print_dialog.h"
#include "lap_form.h"
#include "length_form.h"
#include "list_form.h"
#include "main_form.h"
#include "owned_form.h"
#include "records.h"
#include "suggest_layouts_dialog.h"

#include "tr2_file.h"
#include "walk.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QList>
#include <QListWidget>
#include <QPageLayout>
#include <QPrinter>
#include <QRectF>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk::test {

/// One message box or question the window showed.
struct ShownBox {
    QString text;
    QString caption;
    bool operator==(const ShownBox&) const = default;
};

/// Message boxes that record what they show, questions answered from a script, file dialogs
/// answered from a script, print dialogs that print to a PDF file, and a Close Track dialog and a
/// full-size print's progress that scripts use.
class ScriptedDialogs final : public Dialogs {
public:
    QList<ShownBox> messages;
    QList<ShownBox> questions;
    QList<bool> answers; ///< taken in order; Yes when the script has run out
    QList<FileDialogKind> fileDialogsShown;
    QStringList files;          ///< paths chosen in order; cancelled when the script has run out
    QStringList suggestedNames; ///< the names the file dialogs offered, in order
    QList<ImageExportChoice> imageExportsProposed; ///< what each image dialog proposed
    std::optional<ImageExportChoice> imageExport;  ///< its answer; the proposal when empty
    bool imageExportOk = true;                     ///< false: the image dialog is cancelled
    QString pdfPath;                               ///< where the print dialog sends the job
    bool printOk = true;                           ///< the print dialog's answer
    QRectF printableInches; ///< the printable area of the page the last job was printed on
    int printDialogsShown = 0;
    int pageSetupsShown = 0;
    /// Plays the user in the Close Track dialog, which is shown meanwhile; the dialog is
    /// cancelled when the script leaves it open, or when there is no script.
    std::function<void(CloseTrackDialog&)> closeTrackScript;
    int closeTracksShown = 0;
    /// Plays the user in the Suggest Layouts dialog, as closeTrackScript does.
    std::function<void(SuggestLayoutsDialog&)> suggestLayoutsScript;
    int suggestLayoutsShown = 0;
    /// Plays the user in the progress dialog of a full-size print, shown meanwhile, before the
    /// job starts; the job runs to its end when there is no script.
    std::function<void(FullSizePrintDialog&)> fullSizePrintScript;
    int fullSizePrintsShown = 0;

    void message(QWidget*, const QString& text, const QString& caption) override {
        messages.append({text, caption});
    }
    bool question(QWidget*, const QString& text, const QString& caption) override {
        questions.append({text, caption});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString chooseFile(QWidget*, FileDialogKind kind, const QString& suggestedName) override {
        fileDialogsShown.append(kind);
        suggestedNames.append(suggestedName);
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    std::optional<ImageExportChoice> chooseImageExport(QWidget*,
                                                       const ImageExportChoice& proposed) override {
        imageExportsProposed.append(proposed);
        if (!imageExportOk) {
            return std::nullopt;
        }
        return imageExport ? *imageExport : proposed;
    }
    bool choosePrinter(QWidget*, QPrinter& printer) override {
        ++printDialogsShown;
        if (printOk) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            printableInches = printer.pageLayout().paintRect(QPageLayout::Inch);
        }
        return printOk;
    }
    void pageSetup(QWidget*, QPrinter&) override { ++pageSetupsShown; }
    bool suggestLayouts(SuggestLayoutsDialog& dialog) override {
        return play(dialog, suggestLayoutsScript, suggestLayoutsShown);
    }
    bool closeTrack(CloseTrackDialog& dialog) override {
        return play(dialog, closeTrackScript, closeTracksShown);
    }

    /// Shows a search window, plays its script and cancels it unless the script closed it.
    template <typename Window>
    static bool play(Window& dialog, const std::function<void(Window&)>& script, int& shown) {
        ++shown;
        dialog.show();
        if (script) {
            script(dialog);
        }
        if (dialog.isVisible()) {
            dialog.reject();
        }
        return dialog.result() == QDialog::Accepted;
    }
    void printFullSize(FullSizePrintDialog& dialog) override {
        ++fullSizePrintsShown;
        if (fullSizePrintScript) {
            dialog.show();
            fullSizePrintScript(dialog);
        }
        dialog.run();
    }
};

/// A design of one track of the metric parts: straight, left curve, straight.
inline constexpr const char* kOneTrackDesign = "# Lapwerk V2 format\n"
                                               "# Board X size\n78.74\n# Board Y size\n59.06\n"
                                               "# Number of lines\n0\n"
                                               "# Length in parts\n3\n# Angle\n360\n"
                                               "# Begin X position\n-512\n"
                                               "# Begin Y position\n256\n# In Group\n0\n"
                                               "C151 L\nC152 L\nC151 L\n";

/// Everything one test case needs: a working directory, the records and the window.
class WindowFixture {
public:
    /// The part library and inventory in the working directory (folders of tests/data/ui, or
    /// the examples).
    enum class Parts {
        Inches,  ///< S9, S4, C45 and LC in inches; 4 S9 and 2 C45 owned
        Metric,  ///< C151 and C152 in millimetres; 4 C151 and 8 C152 owned
        Example, ///< the example library of 21 parts in millimetres, and its inventory
        None,    ///< neither a part library nor an inventory
    };
    /// Whether the window is shown (and so has drawn its first pass) from the start.
    enum class Show { Yes, No };
    /// The dialogs the window shows: scripted ones, or the program's own (for a test on a
    /// desktop, which plays them through the window system).
    enum class Dialogs { Scripted, Real };

    explicit WindowFixture(Parts parts = Parts::Inches, Show show = Show::Yes,
                           Dialogs dialogs = Dialogs::Scripted)
        : show_(show), realDialogs_(dialogs == Dialogs::Real) {
        // Every case starts from no stored settings and an empty user data folder, as on a
        // first run.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("data"))));
        const QString settings = dir_.filePath(QStringLiteral("settings"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
        const QString data = DataFolder(parts);
        for (const char* name : {"parts.def", "sections.own"}) {
            if (!data.isEmpty()) {
                QFile::copy(data + name, dir_.filePath(name));
            }
        }
        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        makeForm();
    }
    explicit WindowFixture(Show show) : WindowFixture(Parts::Inches, show) {}

    ~WindowFixture() {
        quit();
        QDir::setCurrent(previousDirectory_);
    }

    TMainForm& form() { return *form_; }
    ProgramRecords& records() { return *records_; }
    Design& design() { return records_->design; }
    Track& current() { return design().tracks[design().currentTrack]; }
    DesignArea* area() { return form_->designArea(); }
    /// The scripted dialogs; none with Dialogs::Real.
    ScriptedDialogs& dialogs() { return *dialogs_; }

    /// Ends the program's run: the window goes and saves its settings.
    void quit() { form_.reset(); }

    /// Ends the program's run and starts a new one over fresh records in the same working
    /// directory and settings store; the dialogs start afresh too.
    void restart() {
        quit();
        makeForm();
    }

    /// The child `name` of the window; the test fails at once when there is none.
    template <typename T> T* find(const char* name) {
        T* child = form_->findChild<T*>(QString::fromLatin1(name));
        if (child == nullptr) {
            qFatal("no child %s", name);
        }
        return child;
    }
    /// The action named `name`, or the action of the toolbar button named so.
    QAction* action(const char* name) {
        if (auto* item = form_->findChild<QAction*>(QString::fromLatin1(name))) {
            return item;
        }
        return find<QToolButton>(name)->defaultAction();
    }
    QListWidget* list(const char* name) { return find<QListWidget>(name); }

    /// Each tool window with the command that shows it.
    std::vector<std::pair<const char*, QWidget*>> toolWindows() {
        return {{"TrackLength1", form_->lengthForm()},
                {"Tracklist1", form_->listForm()},
                {"DesignCheck1", form_->checkForm()},
                {"LapTimes1", form_->lapForm()},
                {"OwnedPieces1", form_->ownedForm()}};
    }

    /// Runs a menu item or button as the user would; a disabled one does nothing.
    void trigger(const char* name) { action(name)->trigger(); }

    /// Left or right click at pixel `at` of the drawing area.
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(area(), button, {}, at);
    }

    /// Selects row `row` of the part list and double-clicks it.
    void doubleClickPart(int row) {
        clickPart(row);
        QListWidget* parts = list("DeelList");
        QTest::mouseDClick(parts->viewport(), Qt::LeftButton, {},
                           parts->visualItemRect(parts->item(row)).center());
    }

    /// Selects row `row` of the part list by a click.
    void clickPart(int row) {
        QListWidget* parts = list("DeelList");
        QTest::mouseClick(parts->viewport(), Qt::LeftButton, {},
                          parts->visualItemRect(parts->item(row)).center());
    }

    /// The pixel of section `section`'s marker point of track `slot` at the last pass's
    /// scale, where the view's pan puts it.
    QPoint markerPixel(int slot, int section) {
        const std::optional<QPoint> pixel = markerPixelOf(slot, section);
        if (!pixel) {
            qFatal("section %d of track %d has no marker", section, slot);
        }
        return *pixel;
    }

    /// The same pixel, or nothing when the walk gives the section no marker.
    std::optional<QPoint> markerPixelOf(int slot, int section) {
        struct Finder : WalkObserver {
            int wanted;
            std::optional<FinePoint> marker;
            void sectionWalked(int, int s, const PenPose&, const std::optional<FinePoint>& m,
                               const PenPose&) override {
                if (s == wanted) {
                    marker = m;
                }
            }
        } finder;
        finder.wanted = section;
        const QPoint centre = originPixel();
        WalkDesignSilently(design(), records_->library, ScreenZoomScale(records_->view.zoom),
                           centre.x(), centre.y(), finder, slot);
        if (!finder.marker) {
            return std::nullopt;
        }
        const PixelPoint pixel = ToPixel(*finder.marker);
        return QPoint(pixel.x, pixel.y);
    }

    /// The pixel of track `slot`'s begin point.
    QPoint beginPixel(int slot) {
        const int32_t zoomScale = ScreenZoomScale(records_->view.zoom);
        const Track& track = design().tracks[slot];
        const QPoint centre = originPixel();
        const int32_t x = (centre.x() << 8) + ((track.beginX * zoomScale) >> 8);
        const int32_t y = (centre.y() << 8) + ((track.beginY * zoomScale) >> 8);
        return QPoint(x >> 8, y >> 8);
    }

    /// The pixel where the view draws model point (0, 0).
    QPoint originPixel() {
        const DesignView& view = records_->view;
        return QPoint(view.areaWidth / 2 - view.panX, view.areaHeight / 2 - view.panY);
    }

    /// Number of track slots in use.
    int tracksInUse() {
        int count = 0;
        for (const Track& track : design().tracks) {
            count += track.inUse != 0 ? 1 : 0;
        }
        return count;
    }

    /// A path in the working directory.
    QString path(const QString& name) const { return dir_.filePath(name); }

    /// Writes `text` to the file `name` of the working directory and returns its path.
    QString writeFile(const QString& name, const char* text) const {
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(text);
        }
        return path(name);
    }

    /// The bytes of the file `name` in the working directory (empty when there is none).
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// Opens `path` through File > Open, answering the dialog with it.
    void open(const QString& path) {
        dialogs_->files.append(path);
        trigger("Open1");
    }

    /// Makes the design changed by an edit that records an undo step: Insert Track and a
    /// click, which gives a second, empty Track.
    void makeChanged() {
        trigger("InsertTrack1");
        click(QPoint(area()->width() / 4, area()->height() / 4));
    }

    /// The parts list as the part panel counts it, a CSV record per part used or owned:
    /// "C151,Straight 350 mm,2,4,2,0" (number, name, used, owned, left over, to buy), with the
    /// fields quoted as RFC 4180 has it.
    QStringList panelPartsList() {
        QStringList records;
        QListWidget* parts = list("DeelList");
        for (int row = 0; row < parts->count(); ++row) {
            const QString leftOver = list("OverList")->item(row)->text();
            if (leftOver.isEmpty()) {
                continue; // neither used nor owned
            }
            const int used = list("TellerList")->item(row)->text().toInt();
            const int left = leftOver.toInt();
            const QStringList part = parts->item(row)->text().split(QLatin1Char('\t'));
            records << QStringLiteral("%1,%2,%3,%4,%5,%6")
                           .arg(CsvField(part[0]), CsvField(part[1]))
                           .arg(used)
                           .arg(used + left)
                           .arg(left)
                           .arg(qMax(0, -left));
        }
        return records;
    }

    /// The design's file name.
    QString fileName() { return QString::fromLocal8Bit(design().fileName); }

    /// The design in its saved form: the bytes of a design file of it.
    QByteArray savedForm() {
        std::string bytes;
        FormatDesign(design(), records().library, bytes);
        return QByteArray::fromStdString(bytes);
    }

private:
    /// `text` as a CSV field: in double quotes, doubled inside, when it holds a comma or quote.
    static QString CsvField(QString text) {
        if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))) {
            return text;
        }
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }

    static QString DataFolder(Parts parts) {
        switch (parts) {
        case Parts::Inches:
            return QStringLiteral(LAPWERK_TEST_DATA "/ui/inch/");
        case Parts::Metric:
            return QStringLiteral(LAPWERK_TEST_DATA "/ui/metric/");
        case Parts::Example:
            return QStringLiteral(LAPWERK_EXAMPLES "/");
        case Parts::None:
            return {};
        }
        return {};
    }

    void makeForm() {
        records_ = std::make_unique<ProgramRecords>();
        if (realDialogs_) {
            form_ = std::make_unique<TMainForm>(*records_);
        } else {
            auto dialogs = std::make_unique<ScriptedDialogs>();
            dialogs_ = dialogs.get();
            dialogs_->pdfPath = path(QStringLiteral("out.pdf"));
            form_ = std::make_unique<TMainForm>(*records_, std::move(dialogs));
        }
        if (show_ == Show::No) {
            return;
        }
        form_->show();
        if (!QTest::qWaitForWindowExposed(form_.get())) {
            qWarning("the main window was not exposed");
        }
        form_->activateWindow();
        if (!QTest::qWaitForWindowActive(form_.get())) {
            qWarning("the main window did not become active");
        }
    }

    QTemporaryDir dir_;
    QString previousDirectory_;
    Show show_;
    bool realDialogs_;
    std::unique_ptr<ProgramRecords> records_;
    std::unique_ptr<TMainForm> form_;
    ScriptedDialogs* dialogs_ = nullptr;
};

/// The texts of the rows of a list.
inline QStringList Rows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

} // namespace lapwerk::test
