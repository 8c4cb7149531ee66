#include "statements/balance_summary.h"

#include "storage/account_code.h"
#include "storage/amount_format.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/group_sums.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"
#include "years/year_tables.h"

#include <cmath>
#include <memory>
#include <optional>

namespace quendra::statements {

namespace {

namespace journal = storage::journal;
using storage::GroupSums;
using storage::GroupWalk;
using storage::Amounts;
using SectionSums = storage::BlockTotals;

// The bank debts: their balance is taken off the liquidity in "TOTALE Banche".
constexpr std::string_view kBankDebtGroup = "P02";

std::string amount(double value) { return storage::formatNumber(value, storage::Picture::Amount); }

class SummaryBuilder {
public:
    SummaryBuilder(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
                   const SummaryProgress& progress)
        : from_("select * from " + storage::quotedTable(journalPath)), chartPath_(chartPath), progress_(progress) {}

    std::vector<SummaryLine> build() {
        add("A T T I V A", LineStyle::Heading);
        SectionSums liquid;
        section(storage::liquidityFilter(journal::kCodd), journal::kCodd, Amounts::Signed, liquid);
        ruleAfterLast(Rule::UnderAmounts);
        const double lo = liquid.openingBalance();
        const double l = liquid.balance();
        add("SOMMA LIQUIDITÀ DISPONIBILE", LineStyle::Total, amount(lo), amount(l));

        SectionSums other;
        section(storage::otherAssetsFilter(journal::kCod), journal::kCod, Amounts::Absolute, other);
        ruleAfterLast(Rule::UnderAmounts);
        const double oo = other.openingBalance();
        const double o = other.balance();
        add("SOMMA ALTRO", LineStyle::Total, amount(std::fabs(oo)), amount(std::fabs(o)));
        ruleAfterLast(Rule::FullWidth);
        // What was paid into the other assets left the cash boxes as Ausgabe: O is negative
        // then, and the assets are the liquidity minus O.
        add("SOMMA ATTIVA", LineStyle::Total, amount(lo - oo), amount(l - o));

        add({}, LineStyle::Blank);
        add("P A S S I V A", LineStyle::Heading);
        SectionSums liabilities;
        double bankOpening = 0;
        double bankClosing = 0;
        section(std::string(journal::kCod) + " like \" P%\"", journal::kCod, Amounts::Absolute, liabilities,
                [&](const GroupSums& g) {
                    if (storage::classAndGroup(g.prefix) != kBankDebtGroup) return;
                    bankOpening -= g.openingBalance();
                    bankClosing -= g.balance();
                });
        bankOpening += lo;
        bankClosing += l;
        ruleAfterLast(Rule::FullWidth);
        const double qo = liabilities.openingBalance();
        const double q = liabilities.balance();
        add("SOMMA PASSIVA", LineStyle::Total, amount(std::fabs(qo)), amount(std::fabs(q)));

        add({}, LineStyle::Blank);
        add("ATTIVA - PASSIVA", LineStyle::Total, amount(lo - oo - qo), amount(l - o - q));
        ruleAfterLast(Rule::FullWidth);
        add("CAMBIAMENTO ANNO PRECEDENTE", LineStyle::Total, {}, amount((l - o - q) - (lo - oo - qo)));

        add({}, LineStyle::Blank);
        add("TOTALE Banche", LineStyle::Banks, amount(bankOpening), amount(bankClosing));
        return std::move(lines_);
    }

private:
    // One section's groups: each shown group gets its line and goes into sums. everyGroup
    // sees every group, shown or not.
    void section(const std::string& where, std::string_view groupingField, Amounts amounts, SectionSums& sums,
                 const std::function<void(const GroupSums&)>& everyGroup = {}) {
        const auto rows = storage::runSelect(from_ + " where " + where + " order by " + std::string(groupingField));
        GroupWalk walk(*rows, groupingField);
        while (const std::optional<GroupSums> g = walk.next()) {
            if (everyGroup) everyGroup(*g);
            if (g->netsToZero()) continue;
            const double opening = g->openingBalance();
            const double closing = g->balance();
            add(groupText(*g), LineStyle::Group,
                amount(amounts == Amounts::Absolute ? std::fabs(opening) : opening),
                amount(amounts == Amounts::Absolute ? std::fabs(closing) : closing));
            sums.add(*g, amounts);
        }
    }

    // The prefix begins with the code's blank, so the dash is followed by two blanks.
    std::string groupText(const GroupSums& g) {
        if (!chart_) {
            chart_.emplace(chartPath_, storage::OpenMode::Shared);
            chart_->setOrder(storage::chart::kCod);
        }
        return codtext(*chart_, g.keyCode) + " - " + g.prefix;
    }

    void add(std::string text, LineStyle style, std::string opening = {}, std::string closing = {}) {
        lines_.push_back({std::move(text), std::move(opening), std::move(closing), style, Rule::None});
        report();
    }

    void ruleAfterLast(Rule rule) {
        lines_.back().ruleAfter = rule;
        report();
    }

    void report() const {
        if (progress_) progress_(lines_);
    }

    std::string from_;
    std::filesystem::path chartPath_;
    const SummaryProgress& progress_;
    std::optional<storage::Cursor> chart_;
    std::vector<SummaryLine> lines_;
};

}  // namespace

std::vector<SummaryLine> balanceSummary(const std::filesystem::path& journalPath,
                                        const std::filesystem::path& chartPath, const SummaryProgress& progress) {
    return SummaryBuilder(journalPath, chartPath, progress).build();
}

std::string codtext(storage::Cursor& chartByCod, std::string_view code) {
    chartByCod.findNearest(std::string(code));
    if (chartByCod.eof()) return {};
    return chartByCod.asText(storage::chart::kTextH);
}

}  // namespace quendra::statements
