#include "window_fixture.h"

#include "list_form.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace lapwerk;
using namespace lapwerk::test;

namespace {

/// Output of a poppler tool run on `pdf`, or an empty text when the tool is missing.
QString Poppler(const char* tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty()) {
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool PopplerInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

/// Whether `colour` is the board outline's dark green, antialiased or not.
bool IsGreenish(QRgb colour) {
    return qGreen(colour) > qRed(colour) + 40 && qGreen(colour) > qBlue(colour) + 40;
}

/// The columns (or rows) of `image` holding green pixels at least `minimumRun` long.
QList<int> GreenLines(const QImage& image, bool vertical, int minimumRun) {
    QList<int> lines;
    const int outer = vertical ? image.width() : image.height();
    const int inner = vertical ? image.height() : image.width();
    for (int a = 0; a < outer; ++a) {
        int count = 0;
        for (int b = 0; b < inner; ++b) {
            count += IsGreenish(vertical ? image.pixel(a, b) : image.pixel(b, a)) ? 1 : 0;
        }
        if (count >= minimumRun) {
            lines.append(a);
        }
    }
    return lines;
}

/// kOneTrackDesign's track on a board of 600 mm by 600 mm: a few full-size pages.
QByteArray SmallBoardDesign() {
    return QByteArray(kOneTrackDesign).replace("78.74\n", "23.62\n").replace("59.06\n", "23.62\n");
}

/// What the user does in a full-size print.
enum class FullSizeChoice { Print, CancelPrintDialog, Cancel, Escape, TooLarge };

} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printsTheDesignToAPdfFile() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.trigger("Print1");

        QCOMPARE(fixture.dialogs().printDialogsShown, 1);
        QVERIFY(fixture.dialogs().messages.isEmpty());
        const QByteArray pdf = fixture.readFile(QStringLiteral("out.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        if (!PopplerInstalled()) {
            QSKIP("poppler-utils is not installed: the page is not looked at");
        }
        const QString pdfPath = fixture.dialogs().pdfPath;
        QVERIFY(Poppler("pdfinfo", {pdfPath}).contains(QStringLiteral("one.tr2 - Lapwerk V2.1")));
        QVERIFY(Poppler("pdfinfo", {pdfPath}).contains(QRegularExpression("Pages: +1\\b")));
        const QString text = Poppler("pdftotext", {QStringLiteral("-layout"), pdfPath, "-"});
        QVERIFY2(text.contains(QRegularExpression(
                     "one\\.tr2 - Lapwerk V2\\.1 +2\\.00 x +1\\.50 +Printed with Lapwerk")),
                 qPrintable(text));

        // The 2 m by 1.5 m board fills 95 % of the printable width and is centred in it.
        constexpr int kDpi = 40;
        const QString stem = fixture.path(QStringLiteral("page"));
        Poppler("pdftoppm", {"-r", QString::number(kDpi), "-png", "-singlefile", pdfPath, stem});
        QImage page(stem + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        page = page.convertToFormat(QImage::Format_RGB32);
        const QList<int> columns = GreenLines(page, true, page.height() / 4);
        const QList<int> rows = GreenLines(page, false, page.width() / 2);
        QVERIFY2(columns.size() >= 2, qPrintable(QString::number(columns.size())));
        QVERIFY2(rows.size() >= 2, qPrintable(QString::number(rows.size())));
        const QRectF printable(fixture.dialogs().printableInches.topLeft() * kDpi,
                               fixture.dialogs().printableInches.size() * kDpi);
        const double width = columns.last() - columns.first();
        const double height = rows.last() - rows.first();
        QVERIFY2(qAbs(width / printable.width() - 0.95) < 0.02, qPrintable(QString::number(width)));
        QVERIFY(qAbs(height / width - 1.5 / 2.0) < 0.03);
        QVERIFY(qAbs((columns.first() + columns.last()) / 2.0 - printable.center().x()) < 3);
        QVERIFY(qAbs((rows.first() + rows.last()) / 2.0 - printable.center().y()) < 3);
    }

    void printFullSize_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("printed");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("note");
        const QString cancelled = QStringLiteral("Printing was cancelled.");
        QTest::newRow("printed") << int(FullSizeChoice::Print) << true << QString()
                                 << QStringLiteral("Printed 8 pages of small.tr2 at full size.");
        QTest::newRow("print dialog cancelled")
            << int(FullSizeChoice::CancelPrintDialog) << false << QString() << QString();
        QTest::newRow("Cancel") << int(FullSizeChoice::Cancel) << false << QString() << cancelled;
        QTest::newRow("Escape") << int(FullSizeChoice::Escape) << false << QString() << cancelled;
        QTest::newRow("too large") << int(FullSizeChoice::TooLarge) << false
                                   << QStringLiteral("The design is too large to print at full "
                                                     "size: it would take more than 999 pages.")
                                   << QString();
    }

    void printFullSize() {
        QFETCH(int, choice);
        QFETCH(bool, printed);
        QFETCH(QString, error);
        QFETCH(QString, note);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("small.tr2"), SmallBoardDesign()));
        ScriptedDialogs& dialogs = fixture.dialogs();
        switch (FullSizeChoice(choice)) {
        case FullSizeChoice::Print:
            break;
        case FullSizeChoice::CancelPrintDialog:
            dialogs.printOk = false;
            break;
        case FullSizeChoice::Cancel:
            dialogs.fullSizePrintScript = [](FullSizePrintDialog& dialog) {
                dialog.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
            };
            break;
        case FullSizeChoice::Escape:
            dialogs.fullSizePrintScript = [](FullSizePrintDialog& dialog) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            };
            break;
        case FullSizeChoice::TooLarge:
            fixture.design().boardX = 2000.0f; // 50 m
            fixture.design().boardY = 2000.0f;
            break;
        }
        const QByteArray saved = fixture.savedForm();

        fixture.trigger("PrintFullSize1");

        QCOMPARE(dialogs.printDialogsShown, 1);
        QCOMPARE(dialogs.fullSizePrintsShown, dialogs.printOk ? 1 : 0);
        QCOMPARE(fixture.savedForm(), saved);
        QVERIFY(!fixture.design().changed);
        QCOMPARE(fixture.form().statusBar()->currentMessage(), note);
        const QList<ShownBox> errors =
            error.isEmpty() ? QList<ShownBox>{} : QList<ShownBox>{{error, "Error"}};
        QCOMPARE(dialogs.messages, errors);
        QCOMPARE(QFile::exists(dialogs.pdfPath), printed);
        if (!printed) {
            return;
        }
        // The overview page and the pages the board spans, at the printer's own resolution.
        const QByteArray pdf = fixture.readFile(QStringLiteral("out.pdf"));
        QVERIFY(pdf.count("/Type /Page\n") > 2);
        if (PopplerInstalled()) {
            const QString info = Poppler("pdfinfo", {dialogs.pdfPath});
            QVERIFY2(info.contains(QStringLiteral("small.tr2 - Lapwerk V2.1")), qPrintable(info));
            // The pages keep 10 mm from the paper's edges, as lapwerk-cli's do.
            const QString overview = Poppler("pdftotext", {"-l", "1", dialogs.pdfPath, "-"});
            QVERIFY2(overview.contains(QStringLiteral("8 pages of 190 x 277 mm")),
                     qPrintable(overview));
        }
    }

    void sectionListPrintedAfterTheDesignIsBlack() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.trigger("Print1");
        fixture.dialogs().pdfPath = fixture.path(QStringLiteral("list.pdf"));
        fixture.trigger("PrintTracklist1");
        if (!PopplerInstalled()) {
            QSKIP("poppler-utils is not installed: the page is not looked at");
        }
        const QString stem = fixture.path(QStringLiteral("list"));
        Poppler("pdftoppm", {"-r", "60", "-png", "-singlefile", fixture.dialogs().pdfPath, stem});
        const QImage page =
            QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!page.isNull());
        int dark = 0;
        int coloured = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb pixel = page.pixel(x, y);
                const int spread = qMax(qMax(qRed(pixel), qGreen(pixel)), qBlue(pixel)) -
                                   qMin(qMin(qRed(pixel), qGreen(pixel)), qBlue(pixel));
                dark += qGray(pixel) < 128 ? 1 : 0;
                coloured += spread > 40 ? 1 : 0;
            }
        }
        QVERIFY(dark > 100);
        QCOMPARE(coloured, 0);
    }

    void secondDesignPrintStartsFromBlack() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.trigger("Print1");
        fixture.dialogs().pdfPath = fixture.path(QStringLiteral("again.pdf"));
        fixture.trigger("Print1");
        if (!PopplerInstalled()) {
            QSKIP("poppler-utils is not installed: the page is not looked at");
        }
        const QString stem = fixture.path(QStringLiteral("again"));
        Poppler("pdftoppm", {"-r", "60", "-png", "-singlefile", fixture.dialogs().pdfPath, stem});
        const QImage page =
            QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!page.isNull());
        // The header line, above the board: dark and grey only.
        int dark = 0;
        for (int y = 0; y < page.height() / 20; ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb pixel = page.pixel(x, y);
                QVERIFY(qAbs(qRed(pixel) - qGreen(pixel)) < 40 &&
                        qAbs(qGreen(pixel) - qBlue(pixel)) < 40);
                dark += qGray(pixel) < 128 ? 1 : 0;
            }
        }
        QVERIFY(dark > 20);
    }

    void printingLeavesTheCurrentTrackAndTheScreenPass() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.trigger("InsertTrackSection1");
        const int current = fixture.design().currentTrack;
        const int selected = fixture.design().tracks[current].selectedSection;
        const int32_t screenScale = fixture.records().view.walk.zoomScale;
        const int32_t lane1 = fixture.design().tracks[current].lane1Length;

        fixture.trigger("Print1");

        QCOMPARE(fixture.design().currentTrack, current);
        QCOMPARE(fixture.design().tracks[current].selectedSection, selected);
        QCOMPARE(fixture.design().tracks[current].lane1Length, lane1);
        QCOMPARE(fixture.records().view.walk.zoomScale, screenScale);
    }

    void cancelledPrintDialogPrintsNothing() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.dialogs().printOk = false;
        fixture.trigger("Print1");
        fixture.trigger("PrintTracklist1");
        QCOMPARE(fixture.dialogs().printDialogsShown, 2);
        QVERIFY(!QFile::exists(fixture.dialogs().pdfPath));
        QCOMPARE(fixture.form().listForm()->reportLines(), QStringList{"TrackList"});
    }

    void boardOfNoSizeIsRefusedBeforeTheJob() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.design().boardX = 0.0f;
        fixture.trigger("Print1");
        QCOMPARE(fixture.dialogs().messages.size(), 1);
        QCOMPARE(fixture.dialogs().messages[0].caption, QStringLiteral("Error"));
        QVERIFY(!QFile::exists(fixture.dialogs().pdfPath));
    }

    void pageSetupShowsTheDialogOnly() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.trigger("PageSetup1");
        QCOMPARE(fixture.dialogs().pageSetupsShown, 1);
        QCOMPARE(fixture.dialogs().printDialogsShown, 0);
        QVERIFY(!QFile::exists(fixture.dialogs().pdfPath));
    }

    void sectionListIsBuiltIntoItsWindow() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        QVERIFY(!fixture.form().listForm()->isVisible());

        fixture.trigger("Tracklist1");

        QVERIFY(fixture.form().listForm()->isVisible());
        const QStringList lines = fixture.form().listForm()->reportLines();
        QVERIFY(lines.size() >= 5);
        QCOMPARE(lines[0], QStringLiteral("one.tr2 - Lapwerk V2.1      2.00    x  1.50    "));
        QCOMPARE(lines[1], QString());
        QVERIFY(lines[2].startsWith(QStringLiteral("C151       Straight 350 mm")));
        QVERIFY(lines.contains(QStringLiteral("\tTrack 1")));
        const QStringList tail = lines.mid(lines.size() - 6);
        QCOMPARE(tail, (QStringList{"", "\tC151\tStraight 350 mm", "L\tC152\tCurve R1 45",
                                    "\tC151\tStraight 350 mm", "", "--- END ---"}));
    }

    void sectionListShowsTheBoardTextsAsTyped() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.find<QLineEdit>("Xboard")->setText(QStringLiteral("3"));
        fixture.trigger("Tracklist1");
        QCOMPARE(fixture.form().listForm()->reportLines().first(),
                 QStringLiteral("untitled.tr2 - Lapwerk V2.1     3        x  2.00    "));
    }

    void sectionListStaysUntilBuiltAgain() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.trigger("Tracklist1");
        const QStringList before = fixture.form().listForm()->reportLines();
        fixture.makeChanged();
        QCOMPARE(fixture.form().listForm()->reportLines(), before);
        fixture.trigger("Tracklist1");
        QVERIFY(fixture.form().listForm()->reportLines().contains(QStringLiteral("\tTrack 2")));
    }

    void printsTheSectionListToAPdfFile() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));

        fixture.trigger("PrintTracklist1");

        // The window's text is renewed, shown or not.
        QVERIFY(!fixture.form().listForm()->isVisible());
        QCOMPARE(fixture.form().listForm()->reportLines().last(), QStringLiteral("--- END ---"));
        const QByteArray pdf = fixture.readFile(QStringLiteral("out.pdf"));
        QVERIFY(pdf.startsWith("%PDF"));
        if (!PopplerInstalled()) {
            QSKIP("poppler-utils is not installed: the pages are not looked at");
        }
        const QString pdfPath = fixture.dialogs().pdfPath;
        QVERIFY(Poppler("pdfinfo", {pdfPath}).contains(QStringLiteral("Track Design")));
        const QString text = Poppler("pdftotext", {QStringLiteral("-layout"), pdfPath, "-"});
        QVERIFY2(text.contains(QStringLiteral("one.tr2 - Lapwerk V2.1")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("--- END ---")));
        QVERIFY(
            !text.contains(QRegularExpression("^\\s*1\\s*$", QRegularExpression::MultilineOption)));
        // On paper the list ends with the parts list; the window's text does not hold it.
        const QString afterEnd = text.mid(text.indexOf(QStringLiteral("--- END ---")));
        QVERIFY2(afterEnd.contains(
                     QRegularExpression("\\n *Part +Name +Used +Owned +Left over +To buy *\\n")),
                 qPrintable(afterEnd));
        QVERIFY2(
            afterEnd.contains(QRegularExpression("\\n *C151 +Straight 350 mm +2 +4 +2 +0 *\\n")),
            qPrintable(afterEnd));
        QVERIFY2(afterEnd.contains(QRegularExpression("\\n *C152 +Curve R1 45 +1 +8 +7 +0 *\\n")),
                 qPrintable(afterEnd));
        QVERIFY(!fixture.form().listForm()->reportLines().contains(
            QRegularExpression(QStringLiteral("^Part +Name"))));
    }

    void printedPartsListMatchesThePanel_data() {
        QTest::addColumn<QString>("design");
        QTest::newRow("oval") << QStringLiteral("oval.tr2");
        QTest::newRow("figure eight") << QStringLiteral("figure-eight.tr2");
        QTest::newRow("grouped") << QStringLiteral("grouped.tr2");
    }

    void printedPartsListMatchesThePanel() {
        QFETCH(QString, design);
        const auto example = [](const char* name) {
            QFile file(QStringLiteral(LAPWERK_EXAMPLES "/") + QLatin1String(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.writeFile(QStringLiteral("parts.def"), example("parts.def").constData());
        fixture.writeFile(QStringLiteral("sections.own"), example("sections.own").constData());
        fixture.restart();
        fixture.open(QStringLiteral(LAPWERK_EXAMPLES "/") + design);
        fixture.trigger("PrintTracklist1");
        if (!PopplerInstalled()) {
            QSKIP("poppler-utils is not installed: the pages are not looked at");
        }
        const QString text =
            Poppler("pdftotext", {QStringLiteral("-layout"), fixture.dialogs().pdfPath, "-"});
        const QString table = text.mid(text.indexOf(QStringLiteral("--- END ---")));

        QListWidget* parts = fixture.list("DeelList");
        int rows = 0;
        for (int i = 0; i < parts->count(); ++i) {
            const QString leftOver = fixture.list("OverList")->item(i)->text();
            if (leftOver.isEmpty()) {
                continue;
            }
            const QStringList part = parts->item(i)->text().split(QLatin1Char('\t'));
            const int used = fixture.list("TellerList")->item(i)->text().toInt();
            const int left = leftOver.toInt();
            const QString line =
                QStringLiteral("\\n *%1 +%2 +%3 +%4 +%5 +%6 *\\n")
                    .arg(QRegularExpression::escape(part[0]), QRegularExpression::escape(part[1]))
                    .arg(used)
                    .arg(used + left)
                    .arg(left)
                    .arg(qMax(0, -left));
            QVERIFY2(table.contains(QRegularExpression(line)), qPrintable(line + "\n" + table));
            ++rows;
        }
        QVERIFY(rows > 0);
        QCOMPARE(table.count(QRegularExpression(QStringLiteral("\\n *C\\d+"))), rows);
    }
};

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
