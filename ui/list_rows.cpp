#include "list_rows.h"

#include "file_text.h"

#include <QScrollBar>

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

bool PartFilterMatches(const QString& wanted, const QString& number, const QString& name) {
    const QString text = wanted.trimmed();
    return number.contains(text, Qt::CaseInsensitive) || name.contains(text, Qt::CaseInsensitive);
}

} // namespace lapwerk
