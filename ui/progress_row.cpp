#include "progress_row.h"

#include "background_job.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>

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

} // namespace lapwerk
