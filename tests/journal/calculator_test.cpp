#include "journal/calculator.h"

#include <gtest/gtest.h>

#include <string_view>

namespace quendra::journal {
namespace {

using Op = CalculatorOperator;

// Types a line of keys as the buttons would: digits, ',', '<' backspace, '~' plus-minus,
// '*', '+', '-', '/', '=', 'C'.
void type(Calculator& calc, std::string_view keys) {
    for (const char k : keys) {
        switch (k) {
            case ',': calc.decimal(); break;
            case '<': calc.backspace(); break;
            case '~': calc.negate(); break;
            case '*': calc.apply(Op::Multiply); break;
            case '+': calc.apply(Op::Add); break;
            case '-': calc.apply(Op::Subtract); break;
            case '/': calc.apply(Op::Divide); break;
            case '=': calc.apply(Op::Equals); break;
            case 'C': calc.clear(); break;
            default: calc.digit(k - '0'); break;
        }
    }
}

std::string after(std::string_view keys) {
    Calculator calc;
    type(calc, keys);
    return calc.display();
}

TEST(Calculator, ArithmeticShowsTwoDecimals) {
    EXPECT_EQ(after("12+3="), "15,00");
    EXPECT_EQ(after("5-8="), "-3,00");
    EXPECT_EQ(after("10/4="), "2,50");
    EXPECT_EQ(after("1,5+2,25="), "3,75");
    EXPECT_EQ(after("1234567*1000="), "1234567000,00");
    // Left to right, like a desk calculator.
    EXPECT_EQ(after("2+3*4="), "20,00");
    // The stored operand is the value shown, two decimals.
    EXPECT_EQ(after("10/3*3="), "9,99");
}

TEST(Calculator, ValueOfTheDisplay) {
    Calculator calc;
    type(calc, "12+3=");
    EXPECT_EQ(calc.value(), 15.0);
    EXPECT_EQ(calc.state(), CalculatorState::NewNumber);
}

TEST(Calculator, DivisionByZeroIsAnErrorOnlyClearLeaves) {
    Calculator calc;
    type(calc, "7/0=");
    EXPECT_EQ(calc.display(), "Error");
    EXPECT_EQ(calc.state(), CalculatorState::Error);
    EXPECT_EQ(calc.value(), std::nullopt);
    type(calc, "5,<~+=");
    EXPECT_EQ(calc.display(), "Error");
    type(calc, "C");
    EXPECT_EQ(calc.display(), "0");
    EXPECT_EQ(calc.state(), CalculatorState::NewNumber);
    type(calc, "2+2=");
    EXPECT_EQ(calc.display(), "4,00");
}

TEST(Calculator, EighteenDigitsOverflow) {
    EXPECT_EQ(after("12345678901234567"), "12345678901234567");
    Calculator calc;
    type(calc, "123456789012345678");
    EXPECT_EQ(calc.display(), "Overflow");
    EXPECT_EQ(calc.state(), CalculatorState::Overflow);
    type(calc, "1");
    EXPECT_EQ(calc.display(), "Overflow");
    type(calc, "C3");
    EXPECT_EQ(calc.display(), "3");
}

TEST(Calculator, AResultTooLongForTheDisplayOverflows) {
    // 99999999999999 shows as "99999999999999,00", 17 characters; ten times that does not fit.
    EXPECT_EQ(after("99999999999999="), "99999999999999,00");
    EXPECT_EQ(after("99999999999999*10="), "Overflow");
}

TEST(Calculator, TypingDigitsCommaAndBackspace) {
    EXPECT_EQ(after("007"), "7");
    EXPECT_EQ(after("1,,5"), "1,5");
    EXPECT_EQ(after("123<"), "12");
    EXPECT_EQ(after("12<<<"), "0");
    // After a result a digit or the comma starts a new number.
    EXPECT_EQ(after("12+3=4"), "4");
    EXPECT_EQ(after("12+3=,5"), "0,5");
}

TEST(Calculator, PlusMinusNegatesTheDisplay) {
    EXPECT_EQ(after("5~"), "-5,00");
    EXPECT_EQ(after("5~+8="), "3,00");
    EXPECT_EQ(after("12+5~="), "7,00");
}

TEST(Calculator, ASecondOperatorReplacesThePendingOne) {
    EXPECT_EQ(after("12+*3="), "36,00");
    EXPECT_EQ(after("12=+3="), "15,00");
}

TEST(Calculator, ResetDisplayStartsANewNumberAndKeepsThePendingOperation) {
    Calculator calc;
    type(calc, "12");
    calc.resetDisplay();
    EXPECT_EQ(calc.display(), "0,00");
    type(calc, "5");
    EXPECT_EQ(calc.display(), "5");

    type(calc, "C10+");
    calc.resetDisplay();
    type(calc, "5=");
    EXPECT_EQ(calc.display(), "15,00");

    type(calc, "7/0=");
    calc.resetDisplay();
    EXPECT_FALSE(calc.failed());
    EXPECT_EQ(calc.display(), "0,00");
}

}  // namespace
}  // namespace quendra::journal
