#include "list_form.h"

#include "file_text.h"

#include <QFontInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

using namespace lapwerk;

class ListFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsHiddenWithPlaceholderLine() {
        TListForm form;
        QVERIFY(!form.isVisible());
        QCOMPARE(form.windowTitle(), QStringLiteral("Track Section List"));
        QCOMPARE(form.reportLines(), QStringList{QStringLiteral("TrackList")});
    }

    void hasFixedClientSizeAndReadOnlyText() {
        TListForm form;
        QCOMPARE(form.size(), QSize(415, 408));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.TrackList->isReadOnly());
        QCOMPARE(form.TrackList->lineWrapMode(), QTextEdit::NoWrap);
        QCOMPARE(form.TrackList->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
    }

    void usesBoldFixedPitchEightPointFont() {
        TListForm form;
        const QFont font = form.TrackList->document()->defaultFont();
        QVERIFY(font.bold());
        QCOMPARE(font.pointSize(), 8);
        QVERIFY(QFontInfo(font).fixedPitch());
        QCOMPARE(form.TrackList->palette().color(QPalette::Text), QColor(Qt::black));
    }

    void tabStopsAreEightCharactersApart() {
        TListForm form;
        const QFontMetricsF metrics(form.TrackList->document()->defaultFont());
        QCOMPARE(form.TrackList->tabStopDistance(),
                 8 * metrics.horizontalAdvance(QLatin1Char(' ')));
    }

    void eachLineIsOneParagraph_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("single line") << QStringList{QStringLiteral("--- END ---")};
        QTest::newRow("empty lines kept")
            << QStringList{QStringLiteral("head"), QString(), QString(), QStringLiteral("tail")};
        QTest::newRow("tabs and blanks kept")
            << QStringList{QStringLiteral("Length of track 1\t\t0.00 m\t0.00 m"),
                           QStringLiteral("\tTrack 1"), QStringLiteral("L\tC152\tCurve   ")};
        QTest::newRow("ends with empty line") << QStringList{QStringLiteral("x"), QString()};
    }

    void eachLineIsOneParagraph() {
        QFETCH(QStringList, lines);
        std::vector<std::string> report;
        for (const QString& line : lines) {
            report.push_back(line.toStdString());
        }
        TListForm form;
        form.setReportLines(report);
        QCOMPARE(form.reportLines(), lines);
        QCOMPARE(form.TrackList->document()->blockCount(), lines.size());
    }

    void closeBoxHides() {
        TListForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        // Hidden, not destroyed: it can be shown again with its text.
        form.show();
        QVERIFY(form.isVisible());
        QCOMPARE(form.reportLines(), QStringList{QStringLiteral("TrackList")});
    }

    void decodesFileTexts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii") << QByteArray("C151 Straight") << QStringLiteral("C151 Straight");
        QTest::newRow("utf-8") << QByteArray("Bocht 22\xc2\xb0") << QStringLiteral("Bocht 22°");
        QTest::newRow("latin-1") << QByteArray("Bocht 22\xb0") << QStringLiteral("Bocht 22°");
    }

    void decodesFileTexts() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(DecodeFileText(bytes.toStdString()), expected);
    }

    void printsEveryLineOnPagesWithoutPageNumbers() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("list.pdf"));
        std::vector<std::string> report;
        for (int i = 0; i < 200; ++i) {
            report.push_back("line " + std::to_string(i));
        }
        TListForm form;
        form.setReportLines(report);
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(QPageSize::A4));
            QVERIFY(form.printReport(printer));
        }
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        // 200 lines of 8 point text need more than one page and less than five.
        const qsizetype pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r");
        QVERIFY2(pages >= 2 && pages <= 4, qPrintable(QString::number(pages)));
    }
};

QTEST_MAIN(ListFormTest)
#include "list_form_test.moc"
