#pragma once

#include <QTableView>

namespace quendra::journal {

// The journal list: whole rows selected, no typing, columns in the designed proportions
// of its width, and Ctrl+Del as the list's own delete.
class JournalGridView : public QTableView {
    Q_OBJECT

public:
    explicit JournalGridView(QWidget* parent = nullptr);
    void setModel(QAbstractItemModel* model) override;
    // Makes the row current and selected and scrolls it wholly into view, also right
    // after the model was reset (a new movement at the bottom).
    void showRow(int row);

signals:
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void sizeColumns();
};

}  // namespace quendra::journal
