#include "progress_row.h"

#include "background_job.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace lapwerk {

ProgressRow::ProgressRow(BackgroundJob& job, const QString& barName, const QString& caption,
                         const QString& buttonName, QWidget* parent)
    : QWidget(parent), bar_(new QProgressBar), stopButton_(new QPushButton(caption)) {
    bar_->setObjectName(barName);
    bar_->setRange(0, 0);
    stopButton_->setObjectName(buttonName);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_, 1);
    layout->addWidget(stopButton_);
    hide();

    connect(&job, &BackgroundJob::progressChanged, this, [this](int done, int total) {
        bar_->setRange(0, total);
        bar_->setValue(done);
    });
    connect(&job, &BackgroundJob::finished, this, &QWidget::hide);
    connect(stopButton_, &QPushButton::clicked, this, [this, &job] {
        job.requestStop();
        Q_EMIT stopPressed();
    });
}

void ProgressRow::start() {
    bar_->setRange(0, 0);
    bar_->setValue(0);
    stopButton_->setEnabled(true);
    show();
}

SearchFoot AddSearchFoot(QDialog& dialog, QVBoxLayout& layout, BackgroundJob& job,
                         const QString& acceptCaption, const QString& acceptName) {
    SearchFoot foot{new QLabel,
                    new ProgressRow(job, QStringLiteral("SearchProgress"), QStringLiteral("&Stop"),
                                    QStringLiteral("StopButton")),
                    nullptr};
    foot.message->setObjectName("MessageLabel");
    foot.message->setWordWrap(true);
    foot.message->hide();
    auto* buttons = new QDialogButtonBox;
    foot.accept = buttons->addButton(acceptCaption, QDialogButtonBox::AcceptRole);
    foot.accept->setObjectName(acceptName);
    foot.accept->setEnabled(false);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName("CancelButton");
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(foot.progress, 1);
    bottom->addWidget(buttons);
    layout.addWidget(foot.message);
    layout.addLayout(bottom);
    // Return accepts wherever the focus is but on a button of its own. The dialog takes its
    // default button only from a button that is already within it.
    Q_ASSERT(foot.accept->window() == &dialog);
    foot.accept->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return foot;
}

} // namespace lapwerk
