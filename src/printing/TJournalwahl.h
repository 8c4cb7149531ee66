#pragma once

#include "printing/print_state.h"

#include <QDialog>

#include <filesystem>
#include <string>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace quendra::printing {

// "stampa giornale": the number or date range of the journal print and its output.
class TJournalwahl : public QDialog {
    Q_OBJECT

public:
    // scaleSetting: the Skala setting the window scales itself by at creation.
    explicit TJournalwahl(int scaleSetting, QWidget* parent = nullptr);

    struct Range {
        bool byDate = false;
        std::string first;
        std::string last;
        OutputTarget output = OutputTarget::Screen;
    };
    // Shows the dialog modally on the journal; "lista secondo numeri" is chosen first.
    Range choose(const std::filesystem::path& journalPath);

    void RadioGroup1Click();
    void Button1Click();  // "schermo"
    void Button2Click();  // "stampante"
    void Button3Click();  // "pdf"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish(OutputTarget output);

    std::filesystem::path journalPath_;
    Range range_;
    QRadioButton* byNumber_;
    QRadioButton* byDate_;
    QLabel* label1_;
    QLabel* label2_;
    QLineEdit* edit1_;
    QLineEdit* edit2_;
};

}  // namespace quendra::printing
