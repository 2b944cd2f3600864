#include "about_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

using namespace lapwerk;

class AboutFormTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hasCaptionAndFixedSize() {
        TAboutForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("About Lapwerk 2.1"));
        QCOMPARE(form.size(), QSize(305, 311));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.isModal());
        QVERIFY(!(form.windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void showsItsTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("product") << "ProductName"
                                 << "Lapwerk";
        QTest::newRow("version") << "Version"
                                 << "V2.1";
        QTest::newRow("description") << "Comments"
                                     << "Generic Slot race track design program";
        QTest::newRow("disclaimer")
            << "Disclaimer"
            << "Dit programma is zoals het is.  Door het gebruik ervan kunnen\n"
               "geen rechten, garanties, verwachtingen of andere rechts-\n"
               "achtig geneuzel worden ontleend... Have fun!";
    }

    void showsItsTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        TAboutForm form;
        const auto* label = form.findChild<QLabel*>(name);
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), text);
    }

    void productIsLargeBoldAndVersionBoldRed() {
        TAboutForm form;
        const auto* product = form.findChild<QLabel*>(QStringLiteral("ProductName"));
        const auto* version = form.findChild<QLabel*>(QStringLiteral("Version"));
        QVERIFY(product->font().bold());
        QVERIFY(product->font().pointSize() > form.font().pointSize());
        QVERIFY(version->font().bold());
        QCOMPARE(version->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    void noticeLineIsNotEmpty() {
        TAboutForm form;
        const auto* notice = form.findChild<QLabel*>(QStringLiteral("Copyright"));
        QVERIFY(notice != nullptr);
        QVERIFY(!notice->text().trimmed().isEmpty());
    }

    void textsFitTheWindow() {
        TAboutForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (const QLabel* label : form.findChildren<QLabel*>()) {
            QVERIFY2(form.rect().contains(label->geometry()), qPrintable(label->objectName()));
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
        }
    }

    void isCentredOnTheScreen() {
        TAboutForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        const QPoint centre = form.geometry().center();
        QVERIFY(qAbs(centre.x() - screenCentre.x()) <= 1);
        QVERIFY(qAbs(centre.y() - screenCentre.y()) <= 1);
    }
};

QTEST_MAIN(AboutFormTest)
#include "about_form_test.moc"
