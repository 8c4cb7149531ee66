#include "printing/summary_figures.h"

#include "storage/account_code.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

#include <string_view>

namespace quendra::printing {

namespace {

namespace journal = storage::journal;

struct Pair {
    double income = 0;
    double expense = 0;

    double difference() const { return income - expense; }
};

struct Pairs {
    Pair grand, section, account, subAccount;

    void add(double income, double expense) {
        for (Pair* pair : {&grand, &section, &account, &subAccount}) {
            pair->income += income;
            pair->expense += expense;
        }
    }
    void zero() { *this = {}; }
};

enum class Sign { LiquidPlus, Plus, Minus };

struct SectionQuery {
    std::string condition;
    Sign sign;
};

std::array<SectionQuery, kSummarySectionCount> sectionQueries() {
    const std::string liquidCashBox = "(" + storage::liquidityFilter(journal::kCodd) + ")";
    return {{
        {"cod = codd", Sign::LiquidPlus},
        {"cod like \" E%\" and " + liquidCashBox, Sign::Plus},
        {"cod like \" A%\" and " + liquidCashBox, Sign::Plus},
        {"(cod like \" C%\" or cod like \" P%\") and " + liquidCashBox, Sign::Plus},
        {storage::otherAssetsFilter(journal::kCod), Sign::Minus},
        {"cod like \" P%\"", Sign::Minus},
    }};
}

double signOf(Sign sign, std::string_view cod) {
    switch (sign) {
    case Sign::LiquidPlus:
        return storage::isLiquid(cod) ? 1.0 : -1.0;
    case Sign::Plus:
        return 1.0;
    case Sign::Minus:
        break;
    }
    return -1.0;
}

class SectionWalk {
public:
    SectionWalk(storage::QueryResult& rows, Pairs& pairs, Sign sign)
        : rows_(rows),
          pairs_(pairs),
          sign_(sign),
          cod_(rows.fieldIndex(journal::kCod)),
          income_(rows.fieldIndex(journal::kEinnahme)),
          expense_(rows.fieldIndex(journal::kAusgabe)) {
        rows_.first();
    }

    SectionFigures walk() {
        SectionFigures figures;
        while (!rows_.eof()) figures.accounts.push_back(mainAccount());
        const Pair& section = pairs_.section;
        if (section.income != 0 || section.expense != 0) {
            figures.sum = section.difference();
            pairs_.section = {};
        }
        return figures;
    }

private:
    MainAccountFigure mainAccount() {
        MainAccountFigure account;
        account.prefix = std::string(storage::groupPrefix(cod()));
        while (!rows_.eof() && storage::groupPrefix(cod()) == account.prefix) {
            account.lastCode = cod();
            account.subAccounts.push_back(subAccount());
        }
        if (pairs_.account.difference() != 0) {
            account.difference = pairs_.account.difference();
            pairs_.account = {};
        }
        return account;
    }

    SubAccountFigure subAccount() {
        SubAccountFigure sub;
        sub.code = cod();
        while (!rows_.eof() && cod() == sub.code) {
            const double sign = signOf(sign_, sub.code);
            pairs_.add(sign * rows_.asNumber(income_), sign * rows_.asNumber(expense_));
            rows_.next();
        }
        if (pairs_.subAccount.difference() != 0) {
            sub.difference = pairs_.subAccount.difference();
            pairs_.subAccount = {};
        }
        return sub;
    }

    std::string cod() const { return rows_.asText(cod_).substr(0, storage::kCodeLength); }

    storage::QueryResult& rows_;
    Pairs& pairs_;
    Sign sign_;
    std::size_t cod_, income_, expense_;
};

}  // namespace

SummaryFigures summaryFigures(const std::filesystem::path& journalPath) {
    SummaryFigures figures;
    Pairs pairs;
    const auto queries = sectionQueries();
    for (std::size_t s = 0; s < kSummarySectionCount; ++s) {
        const auto rows = storage::runSelect("select * from " + years::quotedTable(journalPath) + " where " +
                                             queries[s].condition + " order by cod,datum,nummer");
        figures.sections[s] = SectionWalk(*rows, pairs, queries[s].sign).walk();
        switch (s) {
        case 0:
            // The opening balances stay out of the totals below.
            pairs.zero();
            break;
        case 2:
            figures.saldo = pairs.grand.difference();
            break;
        case 3:
            figures.totalLiquidity = pairs.grand.difference();
            break;
        case 5:
            figures.totalProperty = pairs.grand.difference();
            break;
        default:
            break;
        }
    }
    return figures;
}

}  // namespace quendra::printing
