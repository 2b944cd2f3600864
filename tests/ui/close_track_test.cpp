// Edit > Close Track... as a user meets it: the search runs while the dialog is open, the
// selected proposal is previewed over the drawing area without touching the design, Apply adds
// it as one undo step and Cancel leaves everything as it was.

#include "window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

using lapwerk::CloseTrackDialog;
using lapwerk::kOverlayColour;
using lapwerk::test::WindowFixture;

namespace {

/// A closed oval of the metric parts, ten sections: a straight, a half turn of four curves, a
/// straight and a half turn; its first `sections` sections.
QByteArray Oval(int sections) {
    static const char* const kSections[] = {"C151 L", "C152 L", "C152 L", "C152 L", "C152 L",
                                            "C151 L", "C152 L", "C152 L", "C152 L", "C152 L"};
    QByteArray text = "# Lapwerk V2 format\n"
                      "# Board X size\n78.74\n# Board Y size\n59.06\n"
                      "# Number of lines\n0\n"
                      "# Length in parts\n" +
                      QByteArray::number(sections) +
                      "\n# Angle\n0\n"
                      "# Begin X position\n-1200\n"
                      "# Begin Y position\n1400\n# In Group\n0\n";
    for (int i = 0; i < sections; ++i) {
        text += kSections[i];
        text += '\n';
    }
    return text;
}

/// What the tests compare of a track: where it begins, its sections and its selection.
QString Describe(const lapwerk::Track& track) {
    QString text =
        QStringLiteral("%1 %2 %3 |").arg(track.beginX).arg(track.beginY).arg(track.angle);
    for (int i = 0; i < track.sectionCount; ++i) {
        text +=
            QStringLiteral(" %1%2").arg(track.partIndex[i]).arg(QLatin1Char(track.direction[i]));
    }
    return text + QStringLiteral(" | %1").arg(track.selectedSection);
}

/// Number of pixels of the overlay colour in what the drawing area shows.
int OverlayPixels(QWidget* area) {
    const QImage shown = area->grab().toImage();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            count += (shown.pixel(x, y) & 0xffffff) == (kOverlayColour & 0xffffff) ? 1 : 0;
        }
    }
    return count;
}

template <typename T> T* Child(QDialog& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no child %s", name);
    }
    return child;
}

QTreeWidget* Proposals(CloseTrackDialog& dialog) {
    return Child<QTreeWidget>(dialog, "ProposalList");
}

void Press(CloseTrackDialog& dialog, const char* button) {
    QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
}

} // namespace

class CloseTrackTest : public QObject {
    Q_OBJECT

    /// A window with the oval's first `sections` sections open.
    static void OpenOval(WindowFixture& window, int sections) {
        window.open(window.writeFile(QStringLiteral("oval.tr2"), Oval(sections).constData()));
    }

private Q_SLOTS:
    void applyAddsTheProposalAsOneUndoStep() {
        WindowFixture window(WindowFixture::Parts::Metric);
        OpenOval(window, 8);
        const QString opened = Describe(window.current());
        const QImage picture = window.area()->buffer();
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            QTRY_VERIFY(!dialog.searching());
            QTreeWidget* list = Proposals(dialog);
            QVERIFY(list->topLevelItemCount() > 0);
            QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("2 × C152 L (Curve R1 45)"));
            QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("0"));
            QCOMPARE(list->currentItem(), list->topLevelItem(0));
            // The best proposal is previewed over the picture, which stays as the pass left it.
            QVERIFY(!window.area()->overlayLines().empty());
            QVERIFY(OverlayPixels(window.area()) > 0);
            QCOMPARE(window.area()->buffer(), picture);
            QCOMPARE(Describe(window.current()), opened);
            QCOMPARE(window.design().changed, 0);
            Press(dialog, "ApplyButton");
        };
        window.trigger("CloseTrack1");

        QCOMPARE(window.dialogs().closeTracksShown, 1);
        QCOMPARE(window.current().sectionCount, 10);
        QCOMPARE(window.current().selectedSection, 9);
        QVERIFY(window.form().statusText().contains(QStringLiteral("| closed")));
        QVERIFY(window.area()->overlayLines().empty());
        QCOMPARE(OverlayPixels(window.area()), 0);
        QCOMPARE(window.design().changed, 1);
        QVERIFY(window.action("UndoItem")->isEnabled());

        window.trigger("UndoItem");
        QCOMPARE(Describe(window.current()), opened);
        QVERIFY(!window.action("UndoItem")->isEnabled());
        QVERIFY(window.form().statusText().contains(QStringLiteral("| open: gap")));
    }

    // The oval with a straight too many: the best proposal takes it off, and applying it is
    // one undo step.
    void aPieceTooManyIsTakenOff() {
        WindowFixture window(WindowFixture::Parts::Metric);
        QByteArray text = Oval(10).replace("Length in parts\n10", "Length in parts\n11");
        window.open(window.writeFile(QStringLiteral("long.tr2"), text + "C151 L\n"));
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            QTRY_VERIFY(!dialog.searching());
            QTreeWidget* list = Proposals(dialog);
            QVERIFY(list->topLevelItemCount() > 0);
            QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("Remove C151"));
            Press(dialog, "ApplyButton");
        };
        window.trigger("CloseTrack1");
        QCOMPARE(window.current().sectionCount, 10);
        QVERIFY(window.form().statusText().contains(QStringLiteral("| closed")));
        window.trigger("UndoItem");
        QCOMPARE(window.current().sectionCount, 11);
    }

    void cancelLeavesEverythingAsItWas() {
        WindowFixture window(WindowFixture::Parts::Metric);
        OpenOval(window, 6);
        const QString opened = Describe(window.current());
        const QString status = window.form().statusText();
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            QTRY_VERIFY(!dialog.searching());
            QTreeWidget* list = Proposals(dialog);
            QVERIFY(list->topLevelItemCount() > 1);
            const std::vector<QLine> best = window.area()->overlayLines();
            list->setCurrentItem(list->topLevelItem(1));
            QVERIFY(window.area()->overlayLines() != best);
            QVERIFY(OverlayPixels(window.area()) > 0);
            Press(dialog, "CancelButton");
        };
        window.trigger("CloseTrack1");

        QCOMPARE(window.dialogs().closeTracksShown, 1);
        QCOMPARE(Describe(window.current()), opened);
        QCOMPARE(window.form().statusText(), status);
        QCOMPARE(window.design().changed, 0);
        QVERIFY(!window.action("UndoItem")->isEnabled());
        QVERIFY(window.area()->overlayLines().empty());
        QCOMPARE(OverlayPixels(window.area()), 0);
    }

    void previewFollowsTheView() {
        WindowFixture window(WindowFixture::Parts::Metric);
        OpenOval(window, 8);
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            QTRY_VERIFY(!dialog.searching());
            const std::vector<QLine> before = window.area()->overlayLines();
            const int width = window.area()->width();
            window.form().resize(window.form().width() + 100, window.form().height());
            QTRY_VERIFY(window.area()->width() != width);
            const int shift = window.area()->width() / 2 - width / 2;
            const std::vector<QLine> after = window.area()->overlayLines();
            QCOMPARE(after.size(), before.size());
            for (size_t i = 0; i < before.size(); ++i) {
                QCOMPARE(after[i], before[i].translated(shift, 0));
            }
            // Moved over the design, the view takes the preview with it.
            window.area()->panBy(20, -10);
            const std::vector<QLine> panned = window.area()->overlayLines();
            QCOMPARE(panned.size(), after.size());
            for (size_t i = 0; i < after.size(); ++i) {
                QCOMPARE(panned[i], after[i].translated(-20, 10));
            }
        };
        window.trigger("CloseTrack1");
    }

    void saysWhatItCannotPropose_data() {
        QTest::addColumn<int>("sections");
        QTest::addColumn<int>("maxPieces");
        QTest::addColumn<bool>("ownedOnly");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("message");
        QTest::newRow("closed") << 10 << 6 << false << "gap 0.5 mm, heading error 0.0°"
                                << "Track 1 already closes.";
        QTest::newRow("no sections") << 0 << 6 << false << "no sections"
                                     << "Track 1 has no sections.";
        QTest::newRow("too few pieces")
            << 7 << 2 << false << "gap 683.6 mm, heading error 135.0°"
            << "No sequence of at most 2 pieces closes track 1; try more pieces.";
        QTest::newRow("too few pieces, owned only")
            << 7 << 2 << true << "gap 683.6 mm, heading error 135.0°"
            << "No sequence of at most 2 pieces closes track 1; try more pieces or include "
               "pieces you do not own.";
    }

    void saysWhatItCannotPropose() {
        QFETCH(int, sections);
        QFETCH(int, maxPieces);
        QFETCH(bool, ownedOnly);
        QFETCH(QString, now);
        QFETCH(QString, message);
        WindowFixture window(WindowFixture::Parts::Metric);
        OpenOval(window, sections);
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Close Track 1"));
            QCOMPARE(Child<QLabel>(dialog, "NowLabel")->text(), now);
            // Each option change starts the search again; the last one's outcome is shown.
            Child<QSpinBox>(dialog, "MaxPieces")->setValue(maxPieces);
            Child<QCheckBox>(dialog, "OwnedOnly")->setChecked(ownedOnly);
            QTRY_VERIFY(!dialog.searching());
            QCOMPARE(Proposals(dialog)->topLevelItemCount(), 0);
            QCOMPARE(Child<QLabel>(dialog, "MessageLabel")->text(), message);
            QVERIFY(!Child<QPushButton>(dialog, "ApplyButton")->isEnabled());
            QVERIFY(window.area()->overlayLines().empty());
        };
        window.trigger("CloseTrack1");
        QCOMPARE(window.dialogs().closeTracksShown, 1);
        QCOMPARE(window.current().sectionCount, sections);
    }

    void stopEndsALongSearch() {
        // With the example library the oval's parts are a straight and half straights.
        WindowFixture window(WindowFixture::Parts::Example);
        OpenOval(window, 8);
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            QTRY_VERIFY(!dialog.searching());
            // Ten pieces of the example library take seconds; the window goes on answering.
            Child<QSpinBox>(dialog, "MaxPieces")->setValue(10);
            QVERIFY(dialog.searching());
            QVERIFY(Child<QProgressBar>(dialog, "SearchProgress")->isVisible());
            Press(dialog, "StopButton");
            QTRY_VERIFY(!dialog.searching());
            QVERIFY(!Child<QProgressBar>(dialog, "SearchProgress")->isVisible());
            QCOMPARE(Child<QLabel>(dialog, "MessageLabel")->text(),
                     QStringLiteral("The search for track 1 was cancelled."));
            // Closing the dialog in the middle of a search ends the search with it.
            Child<QCheckBox>(dialog, "OwnedOnly")->setChecked(true);
            QVERIFY(dialog.searching());
        };
        window.trigger("CloseTrack1");
        QCOMPARE(window.dialogs().closeTracksShown, 1);
    }

    // 4 straights and 8 curves owned: the best layout, previewed over the board, is the longest
    // oval; Add to Design lays it as a new track, and one Undo takes it away again.
    void suggestedLayoutIsAddedAsOneUndoStep() {
        WindowFixture window(WindowFixture::Parts::Metric);
        window.dialogs().suggestLayoutsScript = [&](lapwerk::SuggestLayoutsDialog& dialog) {
            Child<QSpinBox>(dialog, "MaxSeconds")->setValue(1);
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.searching(), 20000);
            QListWidget* layouts = dialog.findChild<QListWidget*>("LayoutList");
            QVERIFY(layouts->count() > 0);
            QCOMPARE(layouts->currentRow(), 0);
            QVERIFY(!window.area()->overlayLines().empty());
            QCOMPARE(dialog.selectedLayout()->pieces.size(), size_t{12});
            QMetaObject::invokeMethod(&dialog, &QDialog::accept);
        };
        window.trigger("SuggestLayouts1");
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(window.current().sectionCount, 12);
        QVERIFY2(window.form().statusText().startsWith("Track 2 of 2") &&
                     window.form().statusText().endsWith("| closed"),
                 qPrintable(window.form().statusText()));
        QVERIFY(window.area()->overlayLines().empty());

        // Beside a track, only the left-over pieces are offered at first. With the pieces of
        // the design too, the layout has no room beside the track on this board, and the
        // window says so; on a board twice as wide it is laid clear of the track.
        const auto offerAll = [&](bool room) {
            return [&, room](lapwerk::SuggestLayoutsDialog& dialog) {
                auto* leftOver = Child<QCheckBox>(dialog, "LeftOverOnly");
                QVERIFY(leftOver->isChecked());
                leftOver->setChecked(false);
                Child<QSpinBox>(dialog, "MaxSeconds")->setValue(1);
                QTRY_VERIFY_WITH_TIMEOUT(!dialog.searching(), 20000);
                QVERIFY(dialog.selectedLayout().has_value());
                QCOMPARE(Child<QLabel>(dialog, "MessageLabel")->isVisible(), !room);
                if (room) {
                    QMetaObject::invokeMethod(&dialog, &QDialog::accept);
                }
            };
        };
        window.dialogs().suggestLayoutsScript = offerAll(false);
        window.trigger("SuggestLayouts1");
        QCOMPARE(window.tracksInUse(), 2);
        window.design().boardX *= 2;
        window.dialogs().suggestLayoutsScript = offerAll(true);
        window.trigger("SuggestLayouts1");
        QCOMPARE(window.tracksInUse(), 3);
        QVERIFY2(window.form().layoutCheck().findings.empty(),
                 qPrintable(window.form().statusText()));
        window.trigger("UndoItem");
        window.trigger("UndoItem");
        QCOMPARE(window.tracksInUse(), 1);
        QVERIFY(!window.action("UndoItem")->isEnabled());
    }

    // A time typed into either window's time box starts a new search once the editing ends,
    // not at every digit; the search then keeps to it.
    void aTypedTimeStartsOneSearch() {
        WindowFixture window(WindowFixture::Parts::Metric);
        auto typeTime = [](QDialog& dialog, auto searching) {
            QSpinBox* seconds = Child<QSpinBox>(dialog, "MaxSeconds");
            QTRY_VERIFY_WITH_TIMEOUT(!searching(), 20000);
            auto* edit = seconds->findChild<QLineEdit*>();
            seconds->setFocus();
            seconds->selectAll();
            QTest::keyClicks(edit, "12");
            QVERIFY(!searching());
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(seconds->value(), 12);
            QVERIFY(searching());
        };
        OpenOval(window, 8);
        window.dialogs().closeTrackScript = [&](CloseTrackDialog& dialog) {
            Child<QSpinBox>(dialog, "MaxPieces")->setValue(2);
            typeTime(dialog, [&] { return dialog.searching(); });
        };
        window.trigger("CloseTrack1");
        window.dialogs().suggestLayoutsScript = [&](lapwerk::SuggestLayoutsDialog& dialog) {
            Child<QSpinBox>(dialog, "MaxSeconds")->setValue(1);
            typeTime(dialog, [&] { return dialog.searching(); });
        };
        window.trigger("SuggestLayouts1");
    }
};

QTEST_MAIN(CloseTrackTest)
#include "close_track_test.moc"
