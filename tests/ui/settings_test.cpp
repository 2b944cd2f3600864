// The settings store: the values as stored, and what one run leaves for the next.

#include "window_fixture.h"

#include "part_panel.h"
#include "settings.h"

#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using lapwerk::test::WindowFixture;

namespace {

QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Lapwerk V2");
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void flags_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected"); // -1: ignored
        QTest::newRow("integer 1") << QVariant(1) << 1;
        QTest::newRow("integer 0") << QVariant(0) << 0;
        QTest::newRow("any other integer is true") << QVariant(7) << 1;
        QTest::newRow("integer as text") << QVariant(QString("0")) << 0;
        QTest::newRow("words are no integer") << QVariant(QString("true")) << -1;
        QTest::newRow("bytes") << QVariant(QByteArray("\x01", 1)) << -1;
        QTest::newRow("list") << QVariant(QStringList{"1"}) << -1;
        QTest::newRow("real") << QVariant(1.0) << -1;
    }

    void flags() {
        QFETCH(QVariant, stored);
        QFETCH(int, expected);
        const std::optional<bool> flag = lapwerk::FlagFromSetting(stored);
        QCOMPARE(flag.has_value(), expected != -1);
        if (flag) {
            QCOMPARE(*flag, expected == 1);
        }
    }

    void boardSizes_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("inches");
        QTest::newRow("8 bytes") << QVariant(lapwerk::BoardSizeToSetting(59.05511811)) << true
                                 << 59.05511811;
        QTest::newRow("negative") << QVariant(lapwerk::BoardSizeToSetting(-3.5)) << true << -3.5;
        QTest::newRow("4 bytes") << QVariant(QByteArray(4, '\0')) << false << 0.0;
        QTest::newRow("text") << QVariant(QString("78.7")) << false << 0.0;
        QTest::newRow("number") << QVariant(78.7) << false << 0.0;
        QTest::newRow("not a number")
            << QVariant(lapwerk::BoardSizeToSetting(std::numeric_limits<double>::quiet_NaN()))
            << false << 0.0;
        QTest::newRow("infinite") << QVariant(lapwerk::BoardSizeToSetting(
                                         std::numeric_limits<double>::infinity()))
                                  << false << 0.0;
        QTest::newRow("beyond a float")
            << QVariant(lapwerk::BoardSizeToSetting(1e300)) << false << 0.0;
    }

    void boardSizes() {
        QFETCH(QVariant, stored);
        QFETCH(bool, accepted);
        QFETCH(double, inches);
        const std::optional<double> size = lapwerk::BoardSizeFromSetting(stored);
        QCOMPARE(size.has_value(), accepted);
        if (size) {
            QCOMPARE(*size, inches);
        }
    }

    void firstStartUsesTheDefaults() {
        WindowFixture window;
        QCOMPARE(window.design().boardX, 78.74016f);
        QCOMPARE(window.design().boardY, 78.74016f);
        QCOMPARE(window.find<QLineEdit>("Xboard")->text(), QString(" 2.00"));
    }

    void shutdownWritesEveryValue() {
        WindowFixture window;
        window.trigger("Grid");
        auto* box = window.find<QLineEdit>("Xboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "1.5");
        window.find<QLineEdit>("Yboard")->setFocus();
        window.quit();
        QSettings store = Store();
        QCOMPARE(store.value("Grid").toInt(), 0);
        for (const char* name : {"Metric", "FilledIn", "Segments", "Ruler"}) {
            QCOMPARE(store.value(name).toInt(), 1);
        }
        const QByteArray xboard = store.value("Xboard").toByteArray();
        QCOMPARE(xboard.size(), 8);
        double width = 0;
        std::memcpy(&width, xboard.constData(), sizeof width);
        QVERIFY(std::fabs(width - 59.0551) < 1e-3);
        QVERIFY(store.value("Toolbars").typeId() == QMetaType::QByteArray);
    }

    void nextStartReadsWhatTheLastOneSaved() {
        WindowFixture window;
        window.trigger("Grid");
        window.trigger("Metric");
        window.design().boardX = 59.05511811f;
        window.design().boardY = 40.0f;
        window.restart();
        QVERIFY(!window.action("Grid")->isChecked());
        QVERIFY(!window.action("Metric")->isChecked());
        QVERIFY(window.action("Ruler")->isChecked());
        QCOMPARE(window.design().grid, 0);
        QCOMPARE(window.find<QLineEdit>("Xboard")->text(), QString("59.06"));
        QCOMPARE(window.find<QLineEdit>("Yboard")->text(), QString("40.00"));
    }

    void windowPanelAndSmoothDrawingComeBack() {
        WindowFixture window;
        window.form().setGeometry(40, 30, 700, 520);
        auto* splitter = window.find<QSplitter>("MainSplitter");
        splitter->setSizes({380, 300});
        QCOMPARE(window.form().mainPanel()->width(), 300);
        window.trigger("SmoothDrawing");
        window.restart();
        QCOMPARE(window.form().geometry(), QRect(40, 30, 700, 520));
        QCOMPARE(window.form().mainPanel()->width(), 300);
        QVERIFY(window.action("SmoothDrawing")->isChecked());
        QCOMPARE(Store().value("SmoothDrawing").toInt(), 1);
        // A wider window widens the drawing area; the panel keeps its width.
        const int areaWidth = window.area()->width();
        window.form().resize(800, 520);
        QTRY_COMPARE(window.area()->width(), areaWidth + 100);
        QCOMPARE(window.form().mainPanel()->width(), 300);
    }

    void maximisedWindowComesBackMaximised() {
        WindowFixture window;
        window.form().showMaximized();
        QTRY_VERIFY(window.form().isMaximized());
        window.restart();
        QVERIFY(window.form().isMaximized());
        window.form().showNormal();
        QTRY_COMPARE(window.form().size(), QSize(600, 458));
    }

    void firstStartKeepsTheDesignedLayout() {
        WindowFixture window;
        QCOMPARE(window.form().size(), QSize(600, 458));
        QCOMPARE(window.form().mainPanel()->width(), lapwerk::MainPanel::kWidth);
        QVERIFY(!window.action("SmoothDrawing")->isChecked());
        window.quit();
        QCOMPARE(Store().value("PanelWidth").toInt(), lapwerk::MainPanel::kWidth);
        QCOMPARE(Store().value("SmoothDrawing").toInt(), 0);
    }

    void firstStartShowsWholePartNames() {
        // The example library's longest names need more than the panel's narrowest width.
        WindowFixture window(WindowFixture::Parts::Example);
        const lapwerk::MainPanel* panel = window.form().mainPanel();
        QVERIFY(panel->fittingWidth() > lapwerk::MainPanel::kWidth);
        // Up to half the window's first width of 600 pixels.
        QCOMPARE(panel->width(), std::min(panel->fittingWidth(), 300));
    }

    void valuesOfTheWrongTypeAreIgnored() {
        WindowFixture window;
        // The first run's shutdown writes the store; these values stand for what another
        // program left there before the next run.
        window.quit();
        {
            QSettings store = Store();
            store.setValue("Segments", QStringList{"no", "flag"});
            store.setValue("Ruler", 0);
            store.setValue("Xboard", QString("12"));
            store.setValue("Yboard", lapwerk::BoardSizeToSetting(20.0));
            store.setValue("Toolbars", QStringList{"x"});
            store.setValue("Geometry", 12);
            store.setValue("PanelWidth", QString("wide"));
            store.setValue("SmoothDrawing", QString("yes"));
            store.sync();
        }
        window.restart();
        QVERIFY(window.action("Segments")->isChecked());
        QVERIFY(!window.action("Ruler")->isChecked());
        QCOMPARE(window.design().boardX, 78.74016f);
        QCOMPARE(window.design().boardY, 20.0f);
        QCOMPARE(window.form().size(), QSize(600, 458));
        QCOMPARE(window.form().mainPanel()->width(), lapwerk::MainPanel::kWidth);
        QVERIFY(!window.action("SmoothDrawing")->isChecked());
    }

    void boardOfNoSizeIsNeitherStoredNorRead() {
        WindowFixture window;
        window.quit();
        {
            QSettings store = Store();
            store.setValue("Xboard", lapwerk::BoardSizeToSetting(0.0));
            store.setValue("Yboard", lapwerk::BoardSizeToSetting(-3.5));
            store.sync();
        }
        window.restart();
        QCOMPARE(window.design().boardX, 78.74016f);
        QCOMPARE(window.design().boardY, 78.74016f);
        // A design file can bring a board of 0; the store keeps the last real size.
        window.restart();
        window.open(window.writeFile(QStringLiteral("flat.tr2"), "0\n40\n0\n"));
        QCOMPARE(window.design().boardX, 0.0f);
        window.quit();
        QSettings store = Store();
        QCOMPARE(
            static_cast<float>(lapwerk::BoardSizeFromSetting(store.value("Xboard")).value_or(0)),
            78.74016f);
        QCOMPARE(lapwerk::BoardSizeFromSetting(store.value("Yboard")).value_or(0), 40.0);
    }

    void toolbarPositionsComeBack() {
        WindowFixture window;
        window.form().addToolBar(Qt::LeftToolBarArea, window.find<QToolBar>("ZoomDock"));
        window.find<QToolBar>("SpeedDock")->hide();
        window.restart();
        auto* zoom = window.find<QToolBar>("ZoomDock");
        QCOMPARE(window.form().toolBarArea(zoom), Qt::LeftToolBarArea);
        QCOMPARE(window.find<QSlider>("ZoomBar")->orientation(), Qt::Vertical);
        QVERIFY(window.find<QToolBar>("SpeedDock")->isHidden());
        // A hidden toolbar is offered again in the window's context menu.
        std::unique_ptr<QMenu> menu(window.form().createPopupMenu());
        QAction* speed = nullptr;
        for (QAction* item : menu->actions()) {
            if (item->text() == "SpeedDock") {
                speed = item;
            }
        }
        QVERIFY(speed != nullptr);
        QVERIFY(!speed->isChecked());
        speed->trigger();
        QVERIFY(!window.find<QToolBar>("SpeedDock")->isHidden());
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
