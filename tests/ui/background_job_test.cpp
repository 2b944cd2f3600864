// The background job: its work's results reach the window in order and before its end, a stop
// reaches the work, and a job started anew drops what the old work still had to show.
#include "background_job.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <vector>

using lapwerk::BackgroundJob;
using lapwerk::JobControl;

class BackgroundJobTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void postsArriveInOrderBeforeTheEnd() {
        BackgroundJob job;
        std::vector<int> shown;
        bool endedAfterEveryPost = false;
        connect(&job, &BackgroundJob::finished, this,
                [&] { endedAfterEveryPost = shown.size() == 100; });
        QSignalSpy progress(&job, &BackgroundJob::progressChanged);
        job.start([&shown](JobControl& control) {
            for (int i = 0; i < 100; ++i) {
                control.setProgress(i / 100.0);
                control.post([&shown, i] { shown.push_back(i); });
            }
        });
        QTRY_VERIFY(endedAfterEveryPost);
        for (int i = 0; i < 100; ++i) {
            QCOMPARE(shown[i], i);
        }
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(1).toInt(), 1000);
    }

    void stopReachesTheWorkAndANewStartDropsTheOld() {
        BackgroundJob job;
        std::atomic<bool> sawStop = false;
        int oldShown = 0, newShown = 0;
        job.start([&](JobControl& control) {
            control.post([&oldShown] { ++oldShown; });
            while (!control.stopRequested()) {
                QThread::msleep(1);
            }
            sawStop = true;
        });
        QVERIFY(job.running());
        // Starting again stops the old work and waits for it; what it posted is not shown.
        job.start([&newShown](JobControl& control) { control.post([&newShown] { ++newShown; }); });
        QVERIFY(sawStop);
        QTRY_COMPARE(newShown, 1);
        QCoreApplication::processEvents();
        QCOMPARE(oldShown, 0);
        job.requestStop();
        QTRY_VERIFY(!job.running());
    }
};

QTEST_MAIN(BackgroundJobTest)
#include "background_job_test.moc"
