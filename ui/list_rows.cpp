#include "list_rows.h"

#include "file_text.h"

#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace lapwerk {

void SetUpRowList(QListWidget* list) {
    QFont font = list->font();
    font.setPointSize(8);
    list->setFont(font);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setTextElideMode(Qt::ElideNone);
    list->setFrameShape(QFrame::Box);
    list->setLineWidth(1);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    list->setPalette(palette);
}

void MakeDisplayOnly(QListWidget* list) {
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ScrollTogether(QListWidget* leader, QListWidget* follower) {
    QScrollBar* a = leader->verticalScrollBar();
    QScrollBar* b = follower->verticalScrollBar();
    QObject::connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
    QObject::connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
}

void SetRows(QListWidget* list, const std::vector<std::string>& rows) {
    const int scrolled = list->verticalScrollBar()->value();
    list->clear();
    for (const std::string& row : rows) {
        auto* item = new QListWidgetItem(DecodeFileText(row), list);
        item->setSizeHint(QSize(0, kListRowHeight));
    }
    list->verticalScrollBar()->setValue(scrolled);
}

int WidthForRows(const QListWidget* list, int minimum) {
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
    }
    // The item's text margins and the list's frame, and a pixel either side to spare.
    const int itemMargins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    return std::max(minimum, widest + itemMargins + 2 * list->frameWidth() + 2);
}

bool PartFilterMatches(const QString& wanted, const QString& number, const QString& name) {
    const QString text = wanted.trimmed();
    return number.contains(text, Qt::CaseInsensitive) || name.contains(text, Qt::CaseInsensitive);
}

} // namespace lapwerk
