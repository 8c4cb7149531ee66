#include "journal/calculator.h"

#include "storage/amount_format.h"

namespace quendra::journal {

namespace {

constexpr char kDecimalSeparator = ',';

}  // namespace

void Calculator::digit(int d) {
    if (failed() || d < 0 || d > 9) return;
    if (state_ == CalculatorState::NewNumber || display_ == "0") display_.clear();
    display_ += char('0' + d);
    typed();
}

void Calculator::decimal() {
    if (failed()) return;
    // A new number after a result starts at "0,", not inside the result's decimals.
    if (state_ == CalculatorState::NewNumber) display_ = "0";
    if (display_.find(kDecimalSeparator) == std::string::npos) display_ += kDecimalSeparator;
    typed();
}

void Calculator::backspace() {
    if (failed()) return;
    if (!display_.empty()) display_.pop_back();
    if (display_.empty() || display_ == "-") display_ = "0";
    typed();
}

void Calculator::negate() {
    if (failed()) return;
    show(-displayValue());
    if (!failed()) state_ = CalculatorState::NewNumber;
    afterOperator_ = false;
}

void Calculator::apply(CalculatorOperator op) {
    if (failed()) return;
    if (afterOperator_ && op != CalculatorOperator::Equals) {
        pending_ = op;
        return;
    }
    const double d = displayValue();
    double result = d;
    switch (pending_) {
        case CalculatorOperator::Multiply: result = operand_ * d; break;
        case CalculatorOperator::Add: result = operand_ + d; break;
        case CalculatorOperator::Subtract: result = operand_ - d; break;
        case CalculatorOperator::Divide:
            if (d == 0) {
                fail(CalculatorState::Error);
                return;
            }
            result = operand_ / d;
            break;
        case CalculatorOperator::None:
        case CalculatorOperator::Equals: break;
    }
    show(result);
    if (failed()) return;
    state_ = CalculatorState::NewNumber;
    operand_ = displayValue();
    pending_ = op;
    afterOperator_ = op != CalculatorOperator::Equals;
}

void Calculator::clear() {
    display_ = "0";
    operand_ = 0;
    pending_ = CalculatorOperator::None;
    state_ = CalculatorState::NewNumber;
    afterOperator_ = false;
}

void Calculator::resetDisplay() {
    display_ = storage::formatNumber(0, storage::Picture::Calculator);
    state_ = CalculatorState::NewNumber;
    afterOperator_ = false;
}

std::optional<double> Calculator::value() const {
    if (failed()) return std::nullopt;
    return displayValue();
}

double Calculator::displayValue() const { return storage::parseAmount(display_).value_or(0); }

void Calculator::show(double value) {
    std::string text = storage::formatNumber(value, storage::Picture::Calculator);
    if (text.size() > kDisplayWidth) {
        fail(CalculatorState::Overflow);
        return;
    }
    display_ = std::move(text);
}

void Calculator::fail(CalculatorState state) {
    state_ = state;
    display_ = state == CalculatorState::Error ? "Error" : "Overflow";
    afterOperator_ = false;
}

void Calculator::typed() {
    state_ = CalculatorState::Typing;
    afterOperator_ = false;
    if (display_.size() > kDisplayWidth) fail(CalculatorState::Overflow);
}

}  // namespace quendra::journal
