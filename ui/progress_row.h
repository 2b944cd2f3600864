#pragma once

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace lapwerk {

class BackgroundJob;

/// A progress bar and a stop button for a BackgroundJob: shown while the job runs, the bar
/// following its progress and the button asking it to stop.
class ProgressRow final : public QWidget {
    Q_OBJECT
public:
    /// `barName` and `buttonName` name the bar and the button for tests and screen readers;
    /// `caption` is the button's text.
    ProgressRow(BackgroundJob& job, const QString& barName, const QString& caption,
                const QString& buttonName, QWidget* parent = nullptr);

    /// Shows the row for a job that has just started, its progress not told yet.
    void start();

    QPushButton* stopButton() const { return stopButton_; }

Q_SIGNALS:
    /// The stop button was pressed; the job has been asked to stop.
    void stopPressed();

private:
    QProgressBar* bar_;
    QPushButton* stopButton_;
};

} // namespace lapwerk
