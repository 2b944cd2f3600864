// File > Export Image...: the drawing area as a PNG or SVG image, the printed page as a PDF,
// the export dialog, and failures.

#include "window_fixture.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTimer>

#include <cstring>
#include <vector>

using lapwerk::FileDialogKind;
using lapwerk::ImageExportChoice;
using lapwerk::ImageExtent;
using lapwerk::test::ShownBox;
using lapwerk::test::WindowFixture;

namespace {

constexpr int kStraight = 0;
constexpr int kCurve = 2;

/// A track of a straight and three curves, and a second one of a straight, which is current.
void LayTwoTracks(WindowFixture& window) {
    for (const int part : {kStraight, kCurve, kCurve, kCurve}) {
        window.doubleClickPart(part);
    }
    window.trigger("InsertTrackButton");
    window.click(QPoint(window.area()->width() - 40, window.area()->height() - 40));
    window.doubleClickPart(kStraight);
}

/// The bytes of a record, to tell whether an export changed anything in it.
template <typename Record> QByteArray BytesOf(const Record& record) {
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof(Record));
}

/// `text` as a PDF text string holds it: a byte order mark, then UTF-16 big-endian.
QByteArray PdfText(const QString& text) {
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() >> 8));
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return bytes;
}

/// Whether `image` holds, within `rect`, a straight run of at least 40 pixels of the board
/// outline's dark green in the direction of `step`.
bool HasOutlineRun(const QImage& image, const QRect& rect, QPoint step) {
    constexpr int kRun = 40;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            int run = 0;
            for (QPoint at(x, y); rect.contains(at) && image.pixel(at) == qRgb(0, 128, 0);
                 at += step) {
                ++run;
            }
            if (run >= kRun) {
                return true;
            }
        }
    }
    return false;
}

/// On how many sides of `image` the board's outline shows: upright edges in its left and right
/// halves, level edges in its top and bottom halves.
int BoardSidesShown(const QImage& image) {
    const int x = image.width() / 2;
    const int y = image.height() / 2;
    return int{HasOutlineRun(image, QRect(0, 0, x, image.height()), {0, 1})} +
           int{HasOutlineRun(image, QRect(x, 0, image.width() - x, image.height()), {0, 1})} +
           int{HasOutlineRun(image, QRect(0, 0, image.width(), y), {1, 0})} +
           int{HasOutlineRun(image, QRect(0, y, image.width(), image.height() - y), {1, 0})};
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ExportImageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void itemFollowsPrintTracklist() {
        WindowFixture window(WindowFixture::Show::No);
        QMenu* file = window.find<QMenu>("File1");
        const QList<QAction*> items = file->actions();
        const qsizetype at = items.indexOf(window.action("ExportImage1"));
        QVERIFY(at > 0);
        QCOMPARE(items.at(at)->text(), QString("Export &Image..."));
        QCOMPARE(items.at(at - 1), window.action("PrintTracklist1"));
        QVERIFY(items.at(at + 1)->isSeparator());
    }

    void screenImageIsTheDrawingArea_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("zoom");
        QTest::newRow("zoom 13") << "view.png" << 13;
        QTest::newRow("zoom 20") << "view.png" << 20;
        QTest::newRow("capital extension") << "view.PNG" << 8;
    }

    void screenImageIsTheDrawingArea() {
        QFETCH(QString, name);
        QFETCH(int, zoom);
        WindowFixture window;
        LayTwoTracks(window);
        window.find<QSlider>("ZoomBar")->setValue(zoom);
        window.dialogs().files.append(window.path(name));
        window.trigger("ExportImage1");
        QCOMPARE(window.dialogs().fileDialogsShown, QList<FileDialogKind>{FileDialogKind::Export});
        QVERIFY(window.dialogs().messages.empty());
        QImage image;
        QVERIFY(image.load(window.path(name), "PNG"));
        QCOMPARE(image.size(), window.area()->size());
        // Pixel for pixel what the screen shows, the current track in its colours.
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), window.area()->buffer());
    }

    void imageDialogProposesTheView() {
        WindowFixture window;
        window.dialogs().files.append(window.path("view.png"));
        window.trigger("ExportImage1");
        const QList<ImageExportChoice>& proposed = window.dialogs().imageExportsProposed;
        QCOMPARE(proposed.size(), qsizetype{1});
        QCOMPARE(proposed.front().extent, ImageExtent::CurrentView);
        QCOMPARE(proposed.front().size, window.area()->size());
        // The printed page has no such choice.
        window.dialogs().files.append(window.path("page.pdf"));
        window.trigger("ExportImage1");
        QCOMPARE(proposed.size(), qsizetype{1});
        QVERIFY(QFileInfo::exists(window.path("page.pdf")));
    }

    void imageDialogCancelledWritesNothing() {
        WindowFixture window;
        window.dialogs().imageExportOk = false;
        window.dialogs().files.append(window.path("view.png"));
        window.trigger("ExportImage1");
        QVERIFY(window.dialogs().messages.empty());
        QVERIFY(!QFileInfo::exists(window.path("view.png")));
    }

    void movedViewImageIsTheDrawingArea_data() {
        QTest::addColumn<bool>("smooth");
        QTest::newRow("exact") << false;
        QTest::newRow("Smooth Drawing") << true;
    }

    void movedViewImageIsTheDrawingArea() {
        QFETCH(bool, smooth);
        WindowFixture window;
        LayTwoTracks(window);
        window.find<QSlider>("ZoomBar")->setValue(18);
        window.area()->horizontalBar()->setValue(40);
        window.area()->verticalBar()->setValue(-30);
        QCOMPARE(window.records().view.panX, 40);
        if (smooth) {
            window.trigger("SmoothDrawing");
        }
        window.dialogs().files.append(window.path("view.png"));
        window.trigger("ExportImage1");
        QImage image;
        QVERIFY(image.load(window.path("view.png"), "PNG"));
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), window.area()->buffer());
    }

    void wholeDesignImageShowsTheBoardAndEveryTrack_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("landscape") << QSize(400, 300);
        QTest::newRow("portrait") << QSize(300, 500);
        QTest::newRow("large") << QSize(1600, 1200);
    }

    void wholeDesignImageShowsTheBoardAndEveryTrack() {
        QFETCH(QSize, size);
        WindowFixture window;
        LayTwoTracks(window);
        // Zoomed in, the view shows a part of the board.
        window.find<QSlider>("ZoomBar")->setValue(20);
        window.dialogs().imageExport = ImageExportChoice{ImageExtent::WholeDesign, size};
        window.dialogs().files.append(window.path("whole.png"));
        window.trigger("ExportImage1");
        QVERIFY(window.dialogs().messages.empty());
        QImage image;
        QVERIFY(image.load(window.path("whole.png"), "PNG"));
        QCOMPARE(image.size(), size);
        // The board's outline shows on all four sides, which the view does not.
        QCOMPARE(BoardSidesShown(image), 4);
        QVERIFY(BoardSidesShown(window.area()->buffer()) < 4);
        // Nothing of the window's own view changed.
        QCOMPARE(window.records().view.zoom, 20);
    }

    void svgImageParses() {
        WindowFixture window;
        LayTwoTracks(window);
        window.dialogs().files.append(window.path("view.svg"));
        window.trigger("ExportImage1");
        QVERIFY(window.dialogs().messages.empty());
        QSvgRenderer svg(window.path("view.svg"));
        QVERIFY(svg.isValid());
        // The picture spans the drawing area's pixels; its size on paper is the generator's.
        QCOMPARE(svg.viewBox(), QRect(QPoint(0, 0), window.area()->size()));
        QImage drawn(window.area()->size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        // Drawn back, it shows the board outline in dark green, as the screen does.
        bool darkGreen = false;
        for (int x = 0; x < drawn.width() && !darkGreen; ++x) {
            const QColor pixel = drawn.pixelColor(x, drawn.height() / 2);
            darkGreen = pixel.green() > 100 && pixel.red() < 60 && pixel.blue() < 60;
        }
        QVERIFY(darkGreen);
    }

    void pdfHoldsThePrintedPage() {
        WindowFixture window;
        LayTwoTracks(window);
        window.dialogs().files.append(window.path("page.pdf"));
        window.trigger("ExportImage1");
        QVERIFY(window.dialogs().messages.empty());
        const QByteArray pdf = ReadAll(window.path("page.pdf"));
        QVERIFY(pdf.size() > 1000);
        QVERIFY(pdf.startsWith("%PDF"));
        // The document title is the caption, in the UTF-16 a PDF string holds.
        QVERIFY(pdf.contains("/Title (" + PdfText(window.form().windowTitle()) + ")"));
    }

    void exportChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "view.png";
        QTest::newRow("svg") << "view.svg";
        QTest::newRow("pdf") << "page.pdf";
    }

    void exportChangesNothing() {
        QFETCH(QString, name);
        WindowFixture window;
        LayTwoTracks(window);
        window.find<QSlider>("ZoomBar")->setValue(7);
        const QByteArray design = BytesOf(window.design());
        const QByteArray history = BytesOf(window.records().history);
        const QByteArray walk = BytesOf(window.records().view.walk);
        const QImage screen = window.area()->buffer().copy();
        const bool undo = window.action("UndoItem")->isEnabled();
        window.dialogs().files.append(window.path(name));
        window.trigger("ExportImage1");
        QVERIFY(QFileInfo::exists(window.path(name)));
        QVERIFY(BytesOf(window.design()) == design);
        QVERIFY(BytesOf(window.records().history) == history);
        QVERIFY(BytesOf(window.records().view.walk) == walk);
        QCOMPARE(window.area()->buffer(), screen);
        QCOMPARE(window.action("UndoItem")->isEnabled(), undo);
        QVERIFY(!window.action("RedoItem")->isEnabled());
    }

    void cancelWritesNothing() {
        WindowFixture window;
        window.trigger("ExportImage1");
        QCOMPARE(window.dialogs().fileDialogsShown.size(), qsizetype{1});
        QVERIFY(window.dialogs().messages.empty());
        QVERIFY(QDir(window.path(".")).entryList({"*.png", "*.svg", "*.pdf"}).isEmpty());
    }

    void failuresAreShownAsErrors_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("start");
        const QString missing = QDir(QDir::tempPath()).filePath("no-such-lapwerk-folder/");
        QTest::newRow("png in a missing folder") << missing + "view.png"
                                                 << "Cannot write ";
        QTest::newRow("svg in a missing folder") << missing + "view.svg"
                                                 << "Cannot write ";
        QTest::newRow("pdf in a missing folder") << missing + "page.pdf"
                                                 << "Cannot write ";
        QTest::newRow("unknown format") << "view.jpg"
                                        << "Cannot tell the format of ";
    }

    void failuresAreShownAsErrors() {
        QFETCH(QString, path);
        QFETCH(QString, start);
        WindowFixture window;
        LayTwoTracks(window);
        const QString full = QFileInfo(path).isAbsolute() ? path : window.path(path);
        window.dialogs().files.append(full);
        window.trigger("ExportImage1");
        QCOMPARE(window.dialogs().messages.size(), qsizetype{1});
        QCOMPARE(window.dialogs().messages.front().caption, QString("Error"));
        QVERIFY2(window.dialogs().messages.front().text.startsWith(start),
                 qPrintable(window.dialogs().messages.front().text));
        QVERIFY(!QFileInfo::exists(full));
    }

    void pageOfABoardOfNothingIsRefused() {
        WindowFixture window;
        // The board boxes refuse a size of 0; a design file can still hold one.
        window.open(
            window.writeFile(QStringLiteral("nothing.tr2"), "0\n59.06\n0\n0\n720\n0\n0\n0\n"));
        LayTwoTracks(window);
        QCOMPARE(window.design().boardX, 0.0f);
        window.dialogs().files.append(window.path("page.pdf"));
        window.trigger("ExportImage1");
        QCOMPARE(window.dialogs().messages.size(), qsizetype{1});
        QCOMPARE(window.dialogs().messages.front().caption, QString("Error"));
        QVERIFY(!QFileInfo::exists(window.path("page.pdf")));
        // The drawing area of the same design still exports.
        window.dialogs().files.append(window.path("view.png"));
        window.trigger("ExportImage1");
        QCOMPARE(window.dialogs().messages.size(), qsizetype{1});
        QVERIFY(QFileInfo::exists(window.path("view.png")));
    }

    void imageDialogAsksWhatAndHowLarge() {
        lapwerk::QtDialogs dialogs;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Export Image"));
            const QList<QRadioButton*> choices = dialog->findChildren<QRadioButton*>();
            QCOMPARE(choices.size(), qsizetype{2});
            QVERIFY(choices[0]->isChecked());
            auto* width = dialog->findChild<QSpinBox*>("ImageWidth");
            auto* height = dialog->findChild<QSpinBox*>("ImageHeight");
            QCOMPARE(width->value(), 354);
            QCOMPARE(height->value(), 290);
            QCOMPARE(width->maximum(), lapwerk::kMaxImageSide);
            choices[1]->setChecked(true);
            width->setValue(2000);
            height->setValue(1500);
            dialog->accept();
        });
        const std::optional<ImageExportChoice> chosen =
            dialogs.chooseImageExport(nullptr, {ImageExtent::CurrentView, QSize(354, 290)});
        QVERIFY(chosen.has_value());
        QCOMPARE(chosen->extent, ImageExtent::WholeDesign);
        QCOMPARE(chosen->size, QSize(2000, 1500));
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!dialogs.chooseImageExport(nullptr, {ImageExtent::WholeDesign, QSize(9, 9)}));
    }

    void exportDialogLook() {
        lapwerk::QtDialogs dialogs;
        QFileDialog& dialog = dialogs.fileDialog(nullptr, FileDialogKind::Export);
        QCOMPARE(dialog.windowTitle(), QString("Export Image"));
        QCOMPARE(dialog.nameFilters(),
                 (QStringList{"PNG image (*.png)", "SVG image (*.svg)", "PDF page (*.pdf)"}));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
        QCOMPARE(dialog.defaultSuffix(), QString("png"));
        // A name typed without an extension takes the one of the format chosen.
        for (const QString& filter : dialog.nameFilters()) {
            Q_EMIT dialog.filterSelected(filter);
            QCOMPARE(dialog.defaultSuffix(), filter.section("*.", 1).chopped(1));
        }
        QCOMPARE(&dialogs.fileDialog(nullptr, FileDialogKind::Export), &dialog);
    }
};

QTEST_MAIN(ExportImageTest)
#include "export_image_test.moc"
