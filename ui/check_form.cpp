#include "check_form.h"

#include "tool_window.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace lapwerk {

TCheckForm::TCheckForm(QWidget* owner) : QWidget(owner), findingList_(new QListWidget(this)) {
    MakeToolWindow(*this);
    setObjectName("CheckForm");
    setWindowTitle("Design Check");
    findingList_->setObjectName("FindingList");
    findingList_->setAccessibleName("Findings");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(findingList_);
    resize(420, 240);
    // A double click or Return on a finding.
    connect(findingList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QVariant index = item->data(Qt::UserRole);
        if (check_ && index.isValid()) {
            Q_EMIT findingChosen(check_->findings[index.toInt()]);
        }
    });
}

void TCheckForm::showCheck(std::shared_ptr<const LayoutCheck> check, const Design& design) {
    check_ = std::move(check);
    findingList_->clear();
    if (check_->findings.empty()) {
        findingList_->addItem("Nothing found: no crossing, no collision, every section on the "
                              "board.");
        return;
    }
    for (size_t i = 0; i < check_->findings.size(); ++i) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(FindingText(check_->findings[i], design)), findingList_);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
}

void TCheckForm::showAndRaise() {
    ShowToolWindow(*this);
}

} // namespace lapwerk
