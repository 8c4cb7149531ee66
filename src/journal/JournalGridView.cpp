#include "journal/JournalGridView.h"

#include "journal/journal_listing.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace quendra::journal {

JournalGridView::JournalGridView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Every row the same height: the view never measures the rows it does not show.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
}

void JournalGridView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    // A reset may give the header its default sizes back.
    if (model) connect(model, &QAbstractItemModel::modelReset, this, &JournalGridView::sizeColumns);
    sizeColumns();
}

void JournalGridView::showRow(int row) {
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // A reset lays the rows out only when the event loop next runs; until then the
    // scroll range is the old one and the last row could not be reached.
    updateGeometries();
    scrollTo(index);
}

void JournalGridView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        emit deleteRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void JournalGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    sizeColumns();
}

void JournalGridView::sizeColumns() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const std::array<int, kListColumnCount> widths = listColumnWidths(width());
    for (std::size_t column = 0; column < widths.size(); ++column) setColumnWidth(int(column), widths[column]);
}

}  // namespace quendra::journal
