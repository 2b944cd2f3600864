#include "check_form.h"

#include "tool_window.h"

#include <QListWidget>
#include <QVBoxLayout>

#include <map>
#include <utility>
#include <vector>

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

void TCheckForm::showCheck(std::shared_ptr<const LayoutCheck> check, const Design& design,
                           const PartLibrary& library) {
    check_ = std::move(check);
    findingList_->clear();
    if (check_->findings.empty()) {
        findingList_->addItem("Nothing found: no crossing, no collision, every section on the "
                              "board.");
        return;
    }
    // The findings of each place, in the order the places first come.
    std::vector<std::vector<size_t>> places;
    std::map<std::pair<FindingKind, int>, size_t> placeIndex;
    for (size_t i = 0; i < check_->findings.size(); ++i) {
        const Finding& finding = check_->findings[i];
        const auto [at, added] =
            placeIndex.try_emplace({finding.kind, finding.place}, places.size());
        if (added) {
            places.emplace_back();
        }
        places[at->second].push_back(i);
    }
    for (const std::vector<size_t>& place : places) {
        const Finding& first = check_->findings[place.front()];
        if (place.size() == 1) {
            addRow(QString::fromStdString(FindingText(first, design, library)), place.front());
            continue;
        }
        addRow(QString::fromStdString(PlaceText(first.kind, static_cast<int>(place.size()))),
               place.front());
        for (const size_t i : place) {
            addRow(QStringLiteral("    ") + QString::fromStdString(FindingSectionsText(
                                                check_->findings[i], design, library)),
                   i);
        }
    }
}

void TCheckForm::addRow(const QString& text, size_t index) {
    auto* item = new QListWidgetItem(text, findingList_);
    item->setData(Qt::UserRole, static_cast<int>(index));
}

void TCheckForm::showAndRaise() {
    ShowToolWindow(*this);
}

} // namespace lapwerk
