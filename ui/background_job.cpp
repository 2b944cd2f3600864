#include "background_job.h"

#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lapwerk {

namespace {

/// The steps of a job that reports fractions.
constexpr int kFractionSteps = 1000;

} // namespace

void JobControl::setProgress(double fraction) {
    setSteps(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kFractionSteps)),
             kFractionSteps);
}

void JobControl::setSteps(int done, int total) {
    // Only a change is shown: the work may report thousands of times a second.
    const int64_t steps = (int64_t{done} << 32) | static_cast<uint32_t>(total);
    if (shownSteps_.exchange(steps) == steps) {
        return;
    }
    post([&job = job_, done, total] { Q_EMIT job.progressChanged(done, total); });
}

void JobControl::post(std::function<void()> shown) {
    QMetaObject::invokeMethod(
        &job_,
        [&job = job_, generation = generation_, shown = std::move(shown)] {
            if (generation == job.generation_) {
                shown();
            }
        },
        Qt::QueuedConnection);
}

BackgroundJob::BackgroundJob(QObject* owner) : QObject(owner) {
    // The watcher's end arrives after everything the work posted, as both are queued events
    // of this thread, posted in that order.
    connect(&watcher_, &QFutureWatcherBase::finished, this, &BackgroundJob::finished);
}

BackgroundJob::~BackgroundJob() {
    stopAndWait();
}

void BackgroundJob::start(Work work) {
    stopAndWait();
    control_.reset(new JobControl(*this, ++generation_));
    watcher_.setFuture(
        QtConcurrent::run([control = control_, work = std::move(work)] { work(*control); }));
}

void BackgroundJob::requestStop() {
    if (control_) {
        control_->stop_ = true;
    }
}

void BackgroundJob::stopAndWait() {
    requestStop();
    watcher_.waitForFinished();
}

} // namespace lapwerk
