#include "journal/TCalculator.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace quendra::journal {

namespace {

const QString kBackspace = "<";
const QString kMinus = "--";
const QString kPlusMinus = QString::fromUtf8("±");

QString buttonName(const QString& key) {
    if (key == ",") return "KeyComma";
    if (key == "/") return "KeyDivide";
    if (key == "*") return "KeyMultiply";
    if (key == kMinus) return "KeyMinus";
    if (key == "+") return "KeyPlus";
    if (key == kPlusMinus) return "KeyPlusMinus";
    if (key == "C") return "KeyClear";
    if (key == "=") return "KeyEquals";
    return "Key" + key;
}

}  // namespace

TCalculator::TCalculator(state::MainState&, platform::Services&, QWidget* parent) : QDialog(parent) {
    setObjectName("TCalculator");
    setWindowTitle("Rechner (Lire)");

    display_ = new QLineEdit(QString::fromStdString(calculator_.display()), this);
    display_->setObjectName("Display");
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight);
    display_->setFocusPolicy(Qt::NoFocus);
    QFont big = display_->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    display_->setFont(big);

    auto* grid = new QGridLayout(this);
    grid->addWidget(display_, 0, 0, 1, 4);
    const QString rows[5][4] = {
        {"7", "8", "9", "/"},
        {"4", "5", "6", "*"},
        {"1", "2", "3", kMinus},
        {"0", ",", kPlusMinus, "+"},
        {"C", "=", "", ""},
    };
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            const QString key = rows[r][c];
            if (key.isEmpty()) continue;
            auto* b = new QPushButton(key, this);
            b->setObjectName(buttonName(key));
            b->setFocusPolicy(Qt::NoFocus);
            b->setAutoDefault(false);
            b->setMinimumSize(48, 36);
            connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
            grid->addWidget(b, r + 1, c, 1, key == "=" ? 3 : 1);
        }
    }
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ButtonOK");
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);
    auto* annulla = new QPushButton("annulla", this);
    annulla->setObjectName("ButtonAnnulla");
    annulla->setAutoDefault(false);
    annulla->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(ok, 6, 0, 1, 2);
    grid->addWidget(annulla, 6, 2, 1, 2);
    connect(ok, &QPushButton::clicked, this, &TCalculator::ButtonOKClick);
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);
    setFocusPolicy(Qt::StrongFocus);
}

std::optional<double> TCalculator::askAmount() {
    calculator_.resetDisplay();
    showDisplay();
    if (exec() != QDialog::Accepted) return std::nullopt;
    const std::optional<double> value = calculator_.value();
    if (!value || *value == 0) return std::nullopt;
    return value;
}

void TCalculator::press(const QString& key) {
    const bool failedBefore = calculator_.failed();
    if (key.size() == 1 && key[0].isDigit()) calculator_.digit(key[0].digitValue());
    else if (key == ",") calculator_.decimal();
    else if (key == kBackspace) calculator_.backspace();
    else if (key == kPlusMinus) calculator_.negate();
    else if (key == "*") calculator_.apply(CalculatorOperator::Multiply);
    else if (key == "+") calculator_.apply(CalculatorOperator::Add);
    else if (key == kMinus) calculator_.apply(CalculatorOperator::Subtract);
    else if (key == "/") calculator_.apply(CalculatorOperator::Divide);
    else if (key == "=") calculator_.apply(CalculatorOperator::Equals);
    else if (key == "C") calculator_.clear();
    if (!failedBefore && calculator_.failed()) QApplication::beep();
    showDisplay();
}

void TCalculator::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: ButtonOKClick(); return;
        case Qt::Key_Backspace: press(kBackspace); return;
        case Qt::Key_Delete: press("C"); return;
        case Qt::Key_Minus: press(kMinus); return;
        default: break;
    }
    // Either decimal separator of the keyboard is the decimal key.
    if (text == "," || text == ".") press(",");
    else if (text == "c" || text == "C") press("C");
    else if (text.size() == 1 && (text[0].isDigit() || QString("/*+=").contains(text))) press(text);
    else QDialog::keyPressEvent(event);
}

void TCalculator::ButtonOKClick() {
    press("=");
    // "Error" and "Overflow" are no amount: only "C" or "annulla" get out of them.
    if (!calculator_.failed()) accept();
}

void TCalculator::showDisplay() { display_->setText(QString::fromStdString(calculator_.display())); }

}  // namespace quendra::journal
