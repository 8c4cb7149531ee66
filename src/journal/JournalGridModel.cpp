#include "journal/JournalGridModel.h"

#include "journal/journal_listing.h"

namespace quendra::journal {

JournalGridModel::JournalGridModel(storage::Cursor& reader, QObject* parent)
    : QAbstractTableModel(parent), listing_(std::make_unique<JournalListing>(reader)) {}

JournalGridModel::~JournalGridModel() = default;

void JournalGridModel::reload() {
    beginResetModel();
    listing_->reload();
    endResetModel();
}

void JournalGridModel::rowChanged(std::uint32_t recordNumber) {
    listing_->rowChanged(recordNumber);
    const int row = rowOf(recordNumber);
    if (row >= 0) emit dataChanged(index(row, 0), index(row, int(kListColumnCount) - 1));
}

std::uint32_t JournalGridModel::recordAt(int row) const {
    return row >= 0 && std::size_t(row) < listing_->rowCount() ? listing_->recordAt(std::size_t(row)) : 0;
}

int JournalGridModel::rowOf(std::uint32_t recordNumber) const {
    const std::optional<std::size_t> row = listing_->rowOf(recordNumber);
    return row ? int(*row) : -1;
}

int JournalGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(listing_->rowCount());
}

int JournalGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(kListColumnCount);
}

QVariant JournalGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto column = ListColumn(index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool right = column == ListColumn::Number || column == ListColumn::Income || column == ListColumn::Expense;
        return QVariant::fromValue(Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) return {};
    return QString::fromStdString(listing_->cells(std::size_t(index.row()))[std::size_t(index.column())]);
}

QVariant JournalGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= int(kListColumnCount)) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromUtf8(kListColumnTitles[std::size_t(section)].data(),
                             qsizetype(kListColumnTitles[std::size_t(section)].size()));
}

}  // namespace quendra::journal
