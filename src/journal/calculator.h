#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quendra::journal {

enum class CalculatorState { NewNumber = 0, Typing = 1, Error = 2, Overflow = 3 };
enum class CalculatorOperator { None, Multiply, Add, Subtract, Divide, Equals };

// The desk calculator: a display of at most 17 characters with "," as decimal
// separator, a stored operand and a pending operator. Results show two decimals. After
// a division by zero ("Error") or a value too long for the display ("Overflow") only
// clear() is accepted.
class Calculator {
public:
    static constexpr std::size_t kDisplayWidth = 17;

    void digit(int d);  // 0..9
    void decimal();
    void backspace();
    void negate();  // "±"
    // An operator key or "=": the pending operator is applied to the stored operand and
    // the display. A second operator right after the first only replaces it.
    void apply(CalculatorOperator op);
    void clear();  // "C"
    // Shows "0,00" ready for a new number; the stored operand and the pending operator
    // stay as the last use left them.
    void resetDisplay();

    const std::string& display() const { return display_; }
    CalculatorState state() const { return state_; }
    bool failed() const { return state_ == CalculatorState::Error || state_ == CalculatorState::Overflow; }
    // The number on the display; none while it shows "Error" or "Overflow".
    std::optional<double> value() const;

private:
    double displayValue() const;
    void show(double value);
    void fail(CalculatorState state);
    void typed();

    std::string display_ = "0";
    double operand_ = 0;
    CalculatorOperator pending_ = CalculatorOperator::None;
    CalculatorState state_ = CalculatorState::NewNumber;
    bool afterOperator_ = false;
};

}  // namespace quendra::journal
