#pragma once

#include <QWidget>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

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

/// The foot of a window whose search runs in the background: a message under its list, then
/// the progress row beside the window's accept and Cancel buttons.
struct SearchFoot {
    QLabel* message; ///< hidden until there is something to say
    ProgressRow* progress;
    QPushButton* accept; ///< disabled until there is something to accept
};

/// Adds the foot to `layout` of `dialog`, whose search runs as `job`: the accept button reads
/// `acceptCaption` and is named `acceptName`; it accepts the dialog and Cancel rejects it.
SearchFoot AddSearchFoot(QDialog& dialog, QVBoxLayout& layout, BackgroundJob& job,
                         const QString& acceptCaption, const QString& acceptName);

} // namespace lapwerk
