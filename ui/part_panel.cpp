#include "part_panel.h"

#include "list_rows.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextOption>

#include <algorithm>

namespace lapwerk {

namespace {

constexpr int kListTop = 8;
constexpr int kListHeight = 345;

// Draws "number<tab>name" with tab stops every 8 dialog units (two average characters), as
// the part list always showed them.
class TabStopDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget != nullptr ? widget->style() : nullptr;
        if (style != nullptr) {
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        }
        QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
        textOption.setWrapMode(QTextOption::NoWrap);
        textOption.setTabStopDistance(2.0 * opt.fontMetrics.averageCharWidth());
        const bool selected = (opt.state & QStyle::State_Selected) != 0;
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(QPalette::Normal,
                                          selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRectF(opt.rect.adjusted(2, 0, 0, 0)), text, textOption);
        painter->restore();
    }
};

QListWidget* MakeList(QWidget* parent, const char* name, const char* accessible, int left,
                      int width) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessible);
    list->setGeometry(left, kListTop, width, kListHeight);
    SetUpRowList(list);
    return list;
}

} // namespace

MainPanel::MainPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("MainPanel");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(1);
    setFixedWidth(kWidth);

    deelList_ = MakeList(this, "DeelList", "Part list", 8, 145);
    deelList_->setSelectionMode(QAbstractItemView::SingleSelection);
    deelList_->setItemDelegate(new TabStopDelegate(deelList_));
    tellerList_ = MakeList(this, "TellerList", "Used count", 152, 25);
    MakeDisplayOnly(tellerList_);
    overList_ = MakeList(this, "OverList", "Left-over count", 176, 30);
    MakeDisplayOnly(overList_);
    ScrollTogether(deelList_, tellerList_);
    ScrollTogether(deelList_, overList_);

    connect(deelList_, &QListWidget::itemSelectionChanged, this, &MainPanel::partClicked);
    connect(deelList_, &QListWidget::itemDoubleClicked, this, &MainPanel::partDoubleClicked);
}

void MainPanel::fillPartList(const PartLibrary& library) {
    std::vector<std::string> rows;
    for (int i = 0; i < library.count && i < kMaxParts; ++i) {
        const Part& part = library.parts[i];
        rows.push_back(std::string(part.number) + "\t" + part.name);
    }
    SetRows(deelList_, rows);
    selectPart(0);
}

void MainPanel::showCounts(const PartCountRows& rows) {
    SetRows(tellerList_, rows.used);
    SetRows(overList_, rows.leftOver);
    // A part the design needs more of than the user owns stands out in red.
    const int counted = std::min(overList_->count(), static_cast<int>(rows.leftOverCount.size()));
    for (int i = 0; i < counted; ++i) {
        overList_->item(i)->setForeground(rows.leftOverCount[i] < 0 ? Qt::red : Qt::black);
    }
    // Keep the count columns on the part list's rows after a rebuild.
    const int scrolled = deelList_->verticalScrollBar()->value();
    tellerList_->verticalScrollBar()->setValue(scrolled);
    overList_->verticalScrollBar()->setValue(scrolled);
}

int MainPanel::partSelection() const {
    const QList<QListWidgetItem*> selected = deelList_->selectedItems();
    return selected.isEmpty() ? -1 : deelList_->row(selected.first());
}

void MainPanel::selectPart(int row) {
    if (row >= 0 && row < deelList_->count()) {
        deelList_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    } else {
        deelList_->clearSelection();
    }
}

} // namespace lapwerk
