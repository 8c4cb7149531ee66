#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace quendra::journal {

// The program's own manual, shown by Qt's text browser: the help key lands on the
// section of the window's help context, the Aiuto menu on the contents.
class THilfe : public QWidget {
    Q_OBJECT

public:
    explicit THilfe(QWidget* mainWindow);

    // Shows the page at the anchor ("" for its top), in front of the window the user
    // works in, a modal dialog included.
    void showPage(const QString& file, const QString& anchor);
    QUrl source() const;

private:
    QWidget* mainWindow_;
    QTextBrowser* browser_;
};

}  // namespace quendra::journal
