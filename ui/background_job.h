#pragma once

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace lapwerk {

/// What a job's work sees of its job, on the worker thread.
class JobControl {
public:
    /// Whether the user asked the job to stop; the work ends soon after it reads true.
    bool stopRequested() const { return stop_.load(); }
    /// Reports how far the work has come, 0..1.
    void setProgress(double fraction);
    /// Reports how far the work has come in steps of its own, `done` of `total` (0 of 0: it
    /// cannot tell yet).
    void setSteps(int done, int total);
    /// Runs `shown` on the window's thread, in order, unless the job was started anew meanwhile.
    void post(std::function<void()> shown);

private:
    friend class BackgroundJob;
    JobControl(class BackgroundJob& job, int generation) : job_(job), generation_(generation) {}

    BackgroundJob& job_;
    const int generation_;
    std::atomic<bool> stop_ = false;
    std::atomic<int64_t> shownSteps_ = -1; ///< the steps last reported, done << 32 | total
};

/// Runs one piece of core work at a time off the window's thread: the work gets a JobControl to
/// report progress, hand results to the window and see a request to stop. It reads only what
/// it was given (a copy of the design, the part library and the inventory, which do not change
/// while it runs). Starting it again, or destroying it, stops the work that runs and waits for
/// it to end.
class BackgroundJob final : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(JobControl&)>;

    explicit BackgroundJob(QObject* owner = nullptr);
    ~BackgroundJob() override;

    /// Stops the work that runs, then starts `work` on a worker thread.
    void start(Work work);
    /// Asks the work to stop; finished() follows once it has.
    void requestStop();
    /// Asks the work to stop and waits for it to end.
    void stopAndWait();
    /// Whether the work has started and has not yet ended.
    bool running() const { return watcher_.isRunning(); }

Q_SIGNALS:
    /// How far the work has come: `done` steps of `total` (0 of 0: it cannot tell).
    void progressChanged(int done, int total);
    /// The work has ended; everything it posted has been shown.
    void finished();

private:
    friend class JobControl;

    QFutureWatcher<void> watcher_;
    std::shared_ptr<JobControl> control_;
    int generation_ = 0;
};

} // namespace lapwerk
