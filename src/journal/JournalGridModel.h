#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>

namespace quendra::storage {
class Cursor;
}

namespace quendra::journal {

class JournalListing;

// The journal list ("No", "data", "conto", "cassa", "oggetto", "entrata", "uscita") over a
// reading cursor. It keeps record numbers only; a row's texts are read when the view
// draws it, so a year of any size lists at once.
class JournalGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit JournalGridModel(storage::Cursor& reader, QObject* parent = nullptr);
    ~JournalGridModel() override;

    // After rows were added, deleted or reordered, or a key field changed.
    void reload();
    // After fields of one row changed in place.
    void rowChanged(std::uint32_t recordNumber);

    std::uint32_t recordAt(int row) const;
    // -1 when the record is not listed.
    int rowOf(std::uint32_t recordNumber) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::unique_ptr<JournalListing> listing_;
};

}  // namespace quendra::journal
