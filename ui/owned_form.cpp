#include "owned_form.h"

#include "tool_window.h"

#include "file_text.h"
#include "list_rows.h"

#include "part_counts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace lapwerk {

namespace {

enum Column { kNumberColumn, kNameColumn, kOwnedColumn, kColumns };

} // namespace

/// A table whose only editable column is Owned: Tab and Enter go on to the next visible row's
/// count, Shift+Tab to the previous one.
class OwnedTable final : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action != MoveNext && action != MovePrevious) {
            return QTableWidget::moveCursor(action, modifiers);
        }
        const int step = action == MoveNext ? 1 : -1;
        for (int row = currentRow() + step; row >= 0 && row < rowCount(); row += step) {
            if (!isRowHidden(row)) {
                return model()->index(row, kOwnedColumn);
            }
        }
        return currentIndex();
    }
};

namespace {

/// Edits a count with its text selected, so that typing replaces it; Enter ends the edit as
/// Tab does, since a column of counts is typed top down.
class CountDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        QStyledItemDelegate::setEditorData(editor, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->selectAll();
        }
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Q_EMIT commitData(editor);
                Q_EMIT closeEditor(editor, QAbstractItemDelegate::EditNextItem);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

} // namespace

TOwnedForm::TOwnedForm(QWidget* owner)
    : QWidget(owner), filter_(new QLineEdit(this)), problem_(new QLabel(this)),
      table_(new OwnedTable(0, kColumns, this)) {
    MakeToolWindow(*this);
    setObjectName("OwnedForm");
    setWindowTitle("Owned Pieces");
    filter_->setObjectName("OwnedFilter");
    filter_->setPlaceholderText("Filter");
    filter_->setToolTip("Shows only the parts whose number or name holds this text");
    filter_->setClearButtonEnabled(true);
    filter_->setAccessibleName("Filter");
    problem_->setObjectName("OwnedProblem");
    problem_->setWordWrap(true);
    problem_->hide();
    table_->setObjectName("OwnedTable");
    table_->setAccessibleName("Owned pieces");
    table_->setItemDelegateForColumn(kOwnedColumn, new CountDelegate(table_));
    table_->setHorizontalHeaderLabels({"Number", "Name", "Owned"});
    table_->verticalHeader()->hide();
    // Rows as dense as a list's: a collection is long.
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed | QAbstractItemView::CurrentChanged);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(filter_);
    layout->addWidget(table_);
    layout->addWidget(problem_);
    resize(380, 420);
    connect(filter_, &QLineEdit::textChanged, this, &TOwnedForm::hideFilteredRows);
    connect(filter_, &QLineEdit::returnPressed, this, &TOwnedForm::goToFirstShownCount);
    // Only the counts can be typed, so the cursor stays in their column.
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column != kOwnedColumn) {
            table_->setCurrentCell(row, kOwnedColumn);
        }
    });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == kOwnedColumn) {
            problem_->hide();
            Q_EMIT countEdited(item->row(), item->text());
        }
    });
}

void TOwnedForm::refuseCount(int part, const QString& why) {
    problem_->setText(why);
    problem_->show();
    // The editor that took the count closes, moving on, after this; the count opens again
    // once it has.
    QTimer::singleShot(0, this, [this, part] {
        table_->setCurrentCell(part, kOwnedColumn);
        table_->editItem(table_->item(part, kOwnedColumn));
    });
}

void TOwnedForm::goToFirstShownCount() {
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (!table_->isRowHidden(row)) {
            table_->setCurrentCell(row, kOwnedColumn);
            table_->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

QTableWidget* TOwnedForm::table() const {
    return table_;
}

void TOwnedForm::showCollection(const PartLibrary& library, const Inventory& inventory) {
    filling_ = true;
    const int parts = ListedPartCount(library);
    table_->setRowCount(parts);
    for (int part = 0; part < parts; ++part) {
        const QString cells[kColumns] = {DecodeFileText(library.parts[part].number),
                                         DecodeFileText(library.parts[part].name),
                                         QString::number(inventory.owned[part])};
        for (int column = 0; column < kColumns; ++column) {
            QTableWidgetItem* item = table_->item(part, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                table_->setItem(part, column, item);
            }
            item->setText(cells[column]);
            item->setFlags(column == kOwnedColumn ? item->flags() | Qt::ItemIsEditable
                                                  : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (column == kOwnedColumn) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
        }
    }
    table_->resizeColumnToContents(kNumberColumn);
    hideFilteredRows();
    filling_ = false;
}

void TOwnedForm::hideFilteredRows() {
    for (int row = 0; row < table_->rowCount(); ++row) {
        table_->setRowHidden(row, !PartFilterMatches(filter_->text(),
                                                     table_->item(row, kNumberColumn)->text(),
                                                     table_->item(row, kNameColumn)->text()));
    }
}

void TOwnedForm::showAndRaise() {
    ShowToolWindow(*this);
    table_->setFocus();
    if (table_->currentRow() < 0 && table_->rowCount() > 0) {
        table_->setCurrentCell(0, kOwnedColumn);
    }
}

} // namespace lapwerk
