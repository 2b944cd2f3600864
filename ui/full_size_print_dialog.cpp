#include "full_size_print_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace lapwerk {

FullSizePrintDialog::FullSizePrintDialog(const Design& design, const PartLibrary& library,
                                         QPrinter& printer, FullSizePages which, QWidget* owner)
    : QDialog(owner), design_(std::make_shared<const Design>(design)), library_(library),
      printer_(printer), which_(which) {
    setObjectName("FullSizePrintForm");
    setWindowTitle(QStringLiteral("Print Full Size"));
    pageLabel_ = new QLabel(QStringLiteral("Preparing the pages..."));
    pageLabel_->setObjectName("PageLabel");
    progressBar_ = new QProgressBar;
    progressBar_->setObjectName("PrintProgress");
    progressBar_->setRange(0, 0);
    auto* buttons = new QDialogButtonBox;
    cancelButton_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancelButton_->setObjectName("CancelButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageLabel_);
    layout->addWidget(progressBar_);
    layout->addWidget(buttons);
    setMinimumWidth(320);

    connect(buttons, &QDialogButtonBox::rejected, this, &FullSizePrintDialog::reject);
    connect(&job_, &QFutureWatcherBase::progressRangeChanged, progressBar_,
            &QProgressBar::setRange);
    connect(&job_, &QFutureWatcherBase::progressValueChanged, this, &FullSizePrintDialog::showPage);
    connect(&job_, &QFutureWatcherBase::finished, this, &QDialog::accept);
}

FullSizePrintDialog::~FullSizePrintDialog() {
    cancelRequested_ = true;
    job_.waitForFinished();
}

void FullSizePrintDialog::run() {
    // The job reads the design copy, the library and the cancel flag, and paints on the printer,
    // which the modal dialog keeps from the user until the job has ended.
    job_.setFuture(QtConcurrent::run([design = design_, &library = library_, &printer = printer_,
                                      which = which_, cancel = &cancelRequested_,
                                      counted = &pageCount_](QPromise<ExportError>& promise) {
        promise.addResult(PrintFullSize(*design, library, printer, which,
                                        [&promise, cancel, counted](int page, int pageCount) {
                                            counted->store(pageCount);
                                            promise.setProgressRange(0, pageCount);
                                            promise.setProgressValue(page);
                                            return !cancel->load();
                                        }));
    }));
    exec();
    job_.waitForFinished();
    outcome_ = job_.result();
}

void FullSizePrintDialog::showPage(int page) {
    pageLabel_->setText(
        QStringLiteral("Printing page %1 of %2...").arg(page + 1).arg(progressBar_->maximum()));
    progressBar_->setValue(page);
}

void FullSizePrintDialog::reject() {
    cancelRequested_ = true;
    if (!job_.isRunning()) {
        QDialog::reject();
        return;
    }
    cancelButton_->setEnabled(false);
    pageLabel_->setText(QStringLiteral("Cancelling after this page..."));
}

} // namespace lapwerk
