#include "help_form.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

using namespace lapwerk;

class HelpFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void contentsPageOpens() {
        THelpForm form;
        QVERIFY(!form.isVisible());
        form.showContents();
        QVERIFY(form.isVisible());
        QCOMPARE(form.currentUrl(), QUrl(QStringLiteral("qrc:/help/index.html")));
        QVERIFY(form.HelpBrowser->toPlainText().contains(QStringLiteral("Lapwerk Help")));
    }

    void contextsOpenTheirTopics_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("main window") << 1 << "qrc:/help/mainwindow.html";
        QTest::newRow("no such context") << 99 << "qrc:/help/index.html";
        QTest::newRow("zero") << 0 << "qrc:/help/index.html";
    }

    void contextsOpenTheirTopics() {
        QFETCH(int, context);
        QFETCH(QString, page);
        THelpForm form;
        form.showContext(context);
        QCOMPARE(form.currentUrl(), QUrl(page));
        QVERIFY(!form.HelpBrowser->toPlainText().isEmpty());
    }

    void everyLinkOfEveryPageResolves_data() {
        QTest::addColumn<QString>("page");
        for (const char* page : {"index", "mainwindow", "building", "editing", "closing", "files",
                                 "printing", "options"}) {
            QTest::newRow(page) << QStringLiteral(":/help/%1.html").arg(QLatin1String(page));
        }
    }

    void everyLinkOfEveryPageResolves() {
        QFETCH(QString, page);
        THelpForm form; // registers the pages
        QFile file(page);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY(html.contains(QStringLiteral("<title>")));
        static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)\""));
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const QString target = QStringLiteral(":/help/") + match.next().captured(1);
            QVERIFY2(QFile::exists(target), qPrintable(page + QStringLiteral(" -> ") + target));
        }
    }

    void backReturnsToThePreviousPage() {
        THelpForm form;
        form.showContents();
        form.showContext(THelpForm::kMainWindowContext);
        form.HelpBrowser->backward();
        QCOMPARE(form.currentUrl(), QUrl(QStringLiteral("qrc:/help/index.html")));
    }
};

QTEST_MAIN(HelpFormTest)
#include "help_form_test.moc"
