#include "part_panel.h"

#include "file_text.h"
#include "list_rows.h"

#include "part_facts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk {

namespace {

constexpr int kMargin = 8;        ///< left and top edge to the controls, bottom edge to the lists
constexpr int kRightMargin = 10;  ///< right edge of the panel to OverList
constexpr int kRowGap = 4;        ///< filter box to the lists
constexpr int kMinPartWidth = 60; ///< the narrowest part list the panel allows
/// TellerList and OverList as the panel always had them, the narrowest they get.
constexpr int kMinUsedWidth = 25;
constexpr int kMinLeftWidth = 30;
constexpr int kHeadingGap = 4; ///< filter box to the first heading

QListWidget* MakeList(QWidget* parent, const char* name, const char* accessible) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessible);
    SetUpRowList(list);
    return list;
}

QLabel* MakeHeading(QWidget* parent, const char* name, const char* text) {
    auto* heading = new QLabel(QString::fromLatin1(text), parent);
    heading->setObjectName(name);
    heading->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    return heading;
}

/// "number<tab>name" split at the tab.
std::pair<QString, QString> NumberAndName(const QString& row) {
    const qsizetype tab = row.indexOf(QLatin1Char('\t'));
    return tab < 0 ? std::pair{row, QString()} : std::pair{row.left(tab), row.mid(tab + 1)};
}

/// Where a heading ending at x = `right` stands in a row at `top` of `height` pixels.
QRect HeadingRect(const QLabel* heading, int right, int top, int height) {
    const int width = heading->fontMetrics().horizontalAdvance(heading->text());
    return QRect(right - width, top, width, height);
}

QString PartToolTip(const Part& part, bool metric) {
    const PartFacts facts = DescribePart(part, metric);
    QStringList lines{DecodeFileText(part.number) + QStringLiteral("  ") +
                          DecodeFileText(part.name),
                      QString::fromUtf8(facts.kind)};
    for (const std::string& size : facts.sizes) {
        lines << QString::fromUtf8(size);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

/// Draws "number<tab>name" as two columns: the numbers in a column as wide as the longest of
/// them, the names after it, ending in an ellipsis where the list is too narrow for them.
class PartColumnsDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// Makes the number column wide enough for every number in `rows`.
    void fitNumbers(const QListWidget* list) {
        const QFontMetrics metrics(list->font());
        int widest = 0;
        for (int i = 0; i < list->count(); ++i) {
            widest = std::max(
                widest, metrics.horizontalAdvance(NumberAndName(list->item(i)->text()).first));
        }
        numberWidth_ = widest + metrics.averageCharWidth();
    }

    /// Width of the widest row of `list` drawn whole: its number column and its name, pixels.
    int widestRow(const QListWidget* list) const {
        const QFontMetrics metrics(list->font());
        int widest = 0;
        for (int i = 0; i < list->count(); ++i) {
            widest = std::max(
                widest, metrics.horizontalAdvance(NumberAndName(list->item(i)->text()).second));
        }
        return kRowInset + numberWidth_ + widest;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const auto [number, name] = NumberAndName(opt.text);
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget != nullptr ? widget->style() : nullptr;
        if (style != nullptr) {
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        }
        const bool selected = (opt.state & QStyle::State_Selected) != 0;
        const QRect row = opt.rect.adjusted(kRowInset, 0, 0, 0);
        const QRect nameRect = row.adjusted(numberWidth_, 0, 0, 0);
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(QPalette::Normal,
                                          selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(row, Qt::AlignLeft | Qt::AlignVCenter, number);
        painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                          opt.fontMetrics.elidedText(name, Qt::ElideRight, nameRect.width()));
        painter->restore();
    }

private:
    static constexpr int kRowInset = 2; ///< row's left edge to its number, pixels
    int numberWidth_ = 0;
};

MainPanel::MainPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("MainPanel");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(1);

    filter_ = new QLineEdit(this);
    filter_->setObjectName("PartFilter");
    filter_->setAccessibleName("Part filter");
    filter_->setPlaceholderText("Filter");
    showLibrary(QString());
    filter_->setClearButtonEnabled(true);
    usedHeading_ = MakeHeading(this, "UsedHeading", "Used");
    leftHeading_ = MakeHeading(this, "LeftHeading", "Left");

    deelList_ = MakeList(this, "DeelList", "Part list");
    deelList_->setSelectionMode(QAbstractItemView::SingleSelection);
    columns_ = new PartColumnsDelegate(deelList_);
    deelList_->setItemDelegate(columns_);
    tellerList_ = MakeList(this, "TellerList", "Used count");
    MakeDisplayOnly(tellerList_);
    overList_ = MakeList(this, "OverList", "Left-over count");
    MakeDisplayOnly(overList_);
    ScrollTogether(deelList_, tellerList_);
    ScrollTogether(deelList_, overList_);
    setCountWidths(kMinUsedWidth, kMinLeftWidth);

    connect(deelList_, &QListWidget::itemSelectionChanged, this, &MainPanel::partClicked);
    connect(deelList_, &QListWidget::itemDoubleClicked, this, &MainPanel::partDoubleClicked);
    connect(filter_, &QLineEdit::textChanged, this, &MainPanel::hideFilteredRows);
    // Enter takes the user from the filter to the list it narrowed.
    connect(filter_, &QLineEdit::returnPressed, deelList_,
            [this] { deelList_->setFocus(Qt::OtherFocusReason); });
}

void MainPanel::fillPartList(const PartLibrary& library) {
    std::vector<std::string> rows;
    for (int i = 0; i < library.count && i < kMaxParts; ++i) {
        const Part& part = library.parts[i];
        rows.push_back(std::string(part.number) + "\t" + part.name);
    }
    SetRows(deelList_, rows);
    columns_->fitNumbers(deelList_);
    hideFilteredRows();
    selectPart(0);
}

int MainPanel::fittingWidth() const {
    // The list's frame, its scroll bar and a pixel either side to spare.
    const int listEdges = 2 * deelList_->frameWidth() +
                          deelList_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    const int partWidth = columns_->widestRow(deelList_) + listEdges;
    // placeControls lets the part list and the count columns share their borders.
    return kMargin + partWidth + usedWidth_ + leftWidth_ - 2 + kRightMargin;
}

void MainPanel::showPartFacts(const PartLibrary& library, bool metric) {
    const int rows = std::min(deelList_->count(), static_cast<int>(library.count));
    for (int i = 0; i < rows; ++i) {
        deelList_->item(i)->setToolTip(PartToolTip(library.parts[i], metric));
    }
}

void MainPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeControls();
}

void MainPanel::setCountWidths(int used, int left) {
    if (used == usedWidth_ && left == leftWidth_) {
        return;
    }
    usedWidth_ = used;
    leftWidth_ = left;
    setMinimumWidth(kMargin + kMinPartWidth + usedWidth_ + leftWidth_ + kRightMargin);
    placeControls();
}

void MainPanel::placeControls() {
    // The count columns keep to the right edge, each as wide as its counts need; the part list
    // takes the rest (at the first start's width, 145 pixels beside columns of 25 and 30).
    const int leftX = width() - kRightMargin - leftWidth_;
    const int usedX = leftX + 1 - usedWidth_;
    const int partWidth = std::max(1, usedX + 1 - kMargin);
    const int rowHeight = filter_->sizeHint().height();
    // A heading may reach over the column left of it; it ends where its column's text ends.
    const int textInset = overList_->frameWidth() + 2;
    const QRect used =
        HeadingRect(usedHeading_, usedX + usedWidth_ - textInset, kMargin, rowHeight);
    const QRect left =
        HeadingRect(leftHeading_, leftX + leftWidth_ - textInset, kMargin, rowHeight);
    usedHeading_->setGeometry(used);
    leftHeading_->setGeometry(left);
    filter_->setGeometry(kMargin, kMargin,
                         std::max(1, std::min(partWidth, used.left() - kHeadingGap - kMargin)),
                         rowHeight);
    const int listTop = kMargin + rowHeight + kRowGap;
    const int listHeight = std::max(1, height() - listTop - kMargin);
    deelList_->setGeometry(kMargin, listTop, partWidth, listHeight);
    tellerList_->setGeometry(usedX, listTop, usedWidth_, listHeight);
    overList_->setGeometry(leftX, listTop, leftWidth_, listHeight);
}

void MainPanel::hideFilteredRows() {
    for (int row = 0; row < deelList_->count(); ++row) {
        const auto [number, name] = NumberAndName(deelList_->item(row)->text());
        const bool shown = PartFilterMatches(filter_->text(), number, name);
        for (QListWidget* list : {deelList_, tellerList_, overList_}) {
            list->setRowHidden(row, !shown);
        }
    }
    // What Insert would lay stays in sight: a hidden selection moves to the first row shown.
    const int selected = partSelection();
    if (selected >= 0 && deelList_->isRowHidden(selected)) {
        for (int row = 0; row < deelList_->count(); ++row) {
            if (!deelList_->isRowHidden(row)) {
                selectPart(row);
                break;
            }
        }
    }
    alignCountColumns();
}

void MainPanel::alignCountColumns() {
    const int scrolled = deelList_->verticalScrollBar()->value();
    tellerList_->verticalScrollBar()->setValue(scrolled);
    overList_->verticalScrollBar()->setValue(scrolled);
}

void MainPanel::showLibrary(const QString& path) {
    const QString hint =
        QStringLiteral("Shows only the parts whose number or name holds this text");
    filter_->setToolTip(path.isEmpty() ? hint : hint + QStringLiteral("\nPart library: ") + path);
}

void MainPanel::showCounts(const PartCountRows& rows) {
    SetRows(tellerList_, rows.used);
    SetRows(overList_, rows.leftOver);
    setCountWidths(WidthForRows(tellerList_, kMinUsedWidth),
                   WidthForRows(overList_, kMinLeftWidth));
    // A part the design needs more of than the user owns stands out in red.
    const int counted = std::min(overList_->count(), static_cast<int>(rows.leftOverCount.size()));
    for (int i = 0; i < counted; ++i) {
        QListWidgetItem* left = overList_->item(i);
        left->setForeground(rows.leftOverCount[i] < 0 ? Qt::red : Qt::black);
        // A blank cell is none left; a screen reader says so.
        left->setData(Qt::AccessibleTextRole, QString::number(rows.leftOverCount[i]));
    }
    for (QListWidget* list : {tellerList_, overList_}) {
        for (int i = 0; i < list->count(); ++i) {
            list->item(i)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            list->setRowHidden(i, i < deelList_->count() && deelList_->isRowHidden(i));
        }
    }
    // Keep the count columns on the part list's rows after a rebuild.
    alignCountColumns();
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
