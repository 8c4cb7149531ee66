#pragma once

#include <QWidget>

class QLineEdit;

namespace quendra::widgets {

// A data field of the entry panel with its edit field lying over it. The data field
// shows the row's value; entering it (click, Tab, setFocus) asks for the edit field,
// which is shown over it only while the user types there.
class OverlayField : public QWidget {
    Q_OBJECT

public:
    // dataName and editName are the two fields' object names.
    OverlayField(const QString& dataName, const QString& editName, QWidget* parent = nullptr);

    QLineEdit* dataField() const { return data_; }
    QLineEdit* editField() const { return edit_; }
    void setValue(const QString& text);
    // The data field's: the edit field only ever lies over it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Shows the edit field with this text, selected, and puts the cursor there.
    void begin(const QString& text);
    // Hides the edit field. The focus goes to next when given, else back to the data
    // field without entering it again, so that it never wanders to a field the user did
    // not ask for.
    void finish(QWidget* next = nullptr);
    bool isEditing() const { return editing_; }

signals:
    // The data field was entered (focus, click, Enter or F2 on it): the owner begins the
    // edit with the row's value.
    void entered();
    // Enter in the edit field.
    void committed();
    // The edit field lost the focus to another field while editing.
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* data_;
    QLineEdit* edit_;
    bool editing_ = false;
    bool returning_ = false;
};

}  // namespace quendra::widgets
