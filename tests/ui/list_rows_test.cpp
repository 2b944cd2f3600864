// The row lists of the part panel and the lane-length window: display-only columns that scroll
// with the list beside them, so long libraries and many tracks stay readable.

#include "window_fixture.h"

#include "length_form.h"
#include "list_rows.h"

#include <QScrollBar>
#include <QWheelEvent>

using lapwerk::test::Rows;
using lapwerk::test::WindowFixture;

namespace {

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back(std::to_string(i));
    }
    return rows;
}

void Wheel(QWidget* target, int notchesDown) {
    const QPoint at = target->rect().center();
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120 * notchesDown),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

class ListRowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void rowsAreReplacedWhole() {
        QListWidget list;
        lapwerk::SetUpRowList(&list);
        lapwerk::SetRows(&list, {"a", "b", "c"});
        lapwerk::SetRows(&list, {"", "d"});
        QCOMPARE(Rows(&list), (QStringList{"", "d"}));
    }

    void followerScrollsWithItsLeaderBothWays() {
        QListWidget leader;
        QListWidget follower;
        for (QListWidget* list : {&leader, &follower}) {
            lapwerk::SetUpRowList(list);
            list->resize(60, 100);
            lapwerk::SetRows(list, Numbered(40));
        }
        lapwerk::MakeDisplayOnly(&follower);
        lapwerk::ScrollTogether(&leader, &follower);
        leader.show();
        follower.show();
        leader.verticalScrollBar()->setValue(12);
        QCOMPARE(follower.verticalScrollBar()->value(), 12);
        Wheel(follower.viewport(), 1);
        QVERIFY(follower.verticalScrollBar()->value() > 12);
        QCOMPARE(leader.verticalScrollBar()->value(), follower.verticalScrollBar()->value());
    }

    void laneLengthsOfManyTracksCanBeScrolledTo() {
        WindowFixture window;
        lapwerk::Design& design = window.design();
        for (int i = 0; i < 29; ++i) {
            QVERIFY(lapwerk::AllocateTrack(design) >= 0);
        }
        // Metric redraws and refreshes the lists.
        window.trigger("Metric");
        lapwerk::TLengthForm* lengths = window.form().lengthForm();
        lengths->showAndRaise();
        QCOMPARE(lengths->trackNrList()->count(), 30);
        QCOMPARE(lengths->trackNrList()->item(29)->text(), QString("Track 30"));
        Wheel(lengths->trackLength2List()->viewport(), 4);
        const int scrolled = lengths->trackNrList()->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QCOMPARE(lengths->trackLength1List()->verticalScrollBar()->value(), scrolled);
        QCOMPARE(lengths->trackLength2List()->verticalScrollBar()->value(), scrolled);
    }

    void countColumnsKeepTheirPlaceAcrossARefresh() {
        QListWidget parts;
        QListWidget used;
        for (QListWidget* list : {&parts, &used}) {
            lapwerk::SetUpRowList(list);
            list->resize(60, 100);
            lapwerk::SetRows(list, Numbered(40));
        }
        lapwerk::ScrollTogether(&parts, &used);
        parts.show();
        used.show();
        parts.verticalScrollBar()->setValue(20);
        lapwerk::SetRows(&used, Numbered(40));
        QCOMPARE(used.verticalScrollBar()->value(), 20);
    }
};

QTEST_MAIN(ListRowsTest)
#include "list_rows_test.moc"
