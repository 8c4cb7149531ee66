#pragma once

#include "storage/query/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::storage {

// The sums of one group of journal rows (rows whose grouping code shares its first four
// characters): income and expense over all rows and over the opening rows, each added
// in the rows' order without rounding.
struct GroupSums {
    std::string keyCode;  // the grouping code of the group's first row
    std::string prefix;   // its first four characters, " C01"
    double openingIncome = 0;
    double openingExpense = 0;
    double income = 0;
    double expense = 0;

    double openingBalance() const { return openingIncome - openingExpense; }
    double balance() const { return income - expense; }
    // Compared with 0 exactly: a group either nets out to nothing or it is shown.
    bool netsToZero() const { return openingBalance() == 0 && balance() == 0; }
};

enum class Amounts { Signed, Absolute };

// The totals of a block of groups: the four sums of every group added, each as it is or
// as its absolute value.
struct BlockTotals {
    double openingIncome = 0;
    double openingExpense = 0;
    double income = 0;
    double expense = 0;

    void add(const GroupSums& g, Amounts amounts);
    double openingBalance() const { return openingIncome - openingExpense; }
    double balance() const { return income - expense; }
};

// Walks the rows of a query sorted by the grouping field, one group at a time. An opening
// row is one whose eroeffnung is above 0.
class GroupWalk {
public:
    GroupWalk(QueryResult& rows, std::string_view groupingField);

    std::optional<GroupSums> next();

private:
    QueryResult& rows_;
    std::size_t code_, income_, expense_, opening_;
};

}  // namespace quendra::storage
