#include "printing/statement_listing.h"

#include "printing/form_parts.h"
#include "printing/print_text.h"
#include "storage/account_code.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"

namespace quendra::printing {

namespace {

namespace kr = storage::journal;

// How a closing line of a section is laid out: its size, and the line steps before and
// after it (before the font changes, or after).
struct SumLineLayout {
    double size = 12;
    int stepsBeforeFont = 0;
    int stepsAfterFont = 1;
};

// A bold label padded with dots so that the amount, right-aligned at the income edge,
// follows at the same distance on every such line.
void drawDottedSum(PageEngine& engine, std::string_view label, double amount, const SumLineLayout& layout,
                   int dottedWidth) {
    PrintState& s = engine.state();
    Canvas& canvas = engine.canvas();
    s.y += layout.stepsBeforeFont * engine.zeile();
    canvas.setBold(true);
    engine.setSize(layout.size);
    const std::string text = dotted(canvas, std::string(label), dottedWidth);
    s.y += layout.stepsAfterFont * engine.zeile();
    if (engine.contr()) {
        canvas.drawText(s.columns.leftEdge, s.y, text);
        engine.drawAmount(s.columns.incomeEdge, s.y, euro(amount),
                          s.columns.incomeEdge - s.columns.leftEdge - canvas.textWidth(text + " "));
    }
    canvas.setBold(false);
    s.y += 2 * engine.zeile();
}

class StatementWalk {
public:
    StatementWalk(PageEngine& engine, const StatementSection& section)
        : engine_(engine), s_(engine.state()), section_(section) {}

    // Draws the section's accounts; false when it had no rows.
    bool run(storage::QueryResult& rows) {
        cod_ = rows.fieldIndex(kr::kCod);
        for (rows.first(); !rows.eof();) {
            if (!headingDrawn_) drawHeading();
            drawMainAccount(rows);
        }
        return headingDrawn_;
    }

private:
    void drawHeading() {
        engine_.canvas().setBold(true);
        engine_.setSize(15);
        if (engine_.contr()) engine_.canvas().drawText(s_.columns.leftEdge, s_.y, section_.heading);
        engine_.canvas().setBold(false);
        headingDrawn_ = true;
    }

    void drawMainAccount(storage::QueryResult& rows) {
        const std::string prefix(storage::groupPrefix(rows.asText(cod_)));
        s_.groupPrefix = prefix;
        s_.y += engine_.zeile();
        engine_.canvas().setBold(true);
        engine_.zeilehk(prefix);
        engine_.canvas().setBold(false);
        while (!rows.eof() && storage::groupPrefix(rows.asText(cod_)) == prefix) drawSubAccount(rows);
        if (s_.account.difference() != 0) {
            engine_.canvas().setBold(true);
            engine_.zeilehs();
            engine_.canvas().setBold(false);
        }
        s_.account.zero();
    }

    void drawSubAccount(storage::QueryResult& rows) {
        const std::string key = rows.asText(cod_).substr(0, 6);
        s_.subAccountKey = key;
        s_.lastCod = key;
        const auto chartRow = engine_.chart().exact(key);
        s_.lastText = chartRow ? chartRow->text : std::string();
        s_.lastMainText = chartRow ? chartRow->texth : engine_.codtext(s_.groupPrefix);
        if (s_.kind != ReportKind::AccountsOnly) engine_.zeileuk(key, s_.lastText);
        const int sign = section_.sign;
        for (; !rows.eof() && rows.asText(cod_).substr(0, 6) == key; rows.next()) {
            const JournalLine line = JournalLine::of(rows);
            const double income = sign * line.income, expense = sign * line.expense;
            for (SumPair* pair : {&s_.grand, &s_.account, &s_.section, &s_.subAccount}) pair->add(income, expense);
            if (s_.kind == ReportKind::AllMovements && !s_.stopped()) engine_.zeilez(line);
        }
        if (!s_.subAccount.isZero()) {
            if (s_.kind != ReportKind::AccountsOnly) engine_.zeileus();
            s_.subAccount.zero();
        }
    }

    PageEngine& engine_;
    PrintState& s_;
    const StatementSection& section_;
    std::size_t cod_ = 0;
    bool headingDrawn_ = false;
};

}  // namespace

StatementOption statementOptionOf(SelectionOption selection, const ReportOptions& options) {
    if (selection == SelectionOption::Text && !options.text.empty()) return TextOption{options.text};
    if (selection == SelectionOption::DateRange) {
        return dateOptionOf(options);
    }
    return std::monostate{};
}

void runStatementListing(PageEngine& engine, const ReportOptions& options) {
    PrintState& s = engine.state();
    const StatementOption option = statementOptionOf(s.option, options);
    const bool narrowed = !std::holds_alternative<std::monostate>(option);

    engine.setSize(11);
    const int dottedWidth =
        s.columns.incomeEdge - s.columns.leftEdge - engine.canvas().textWidth("100.000.000.000");
    engine.clearListArea();
    engine.Kopfformulare();
    for (SumPair* pair : {&s.grand, &s.account, &s.section, &s.subAccount}) pair->zero();

    for (const StatementSection& section : statementSections()) {
        const BoundQuery query = sectionQuery(engine.year().journalPath, section, option);
        const auto rows = storage::runSelect(query.sql, query.params);
        StatementWalk(engine, section).run(*rows);
        if (!s.section.isZero()) {
            const double amount = s.section.difference();
            s.section.zero();
            drawDottedSum(engine, "SOMMA   ", amount, {12, 0, 1}, dottedWidth);
        }
        if (narrowed && section.number == 3) break;
        if (section.number == 3) {
            drawDottedSum(engine, "SALDO entrate/uscite", s.grand.difference(), {12, 1, 0}, dottedWidth);
        } else if (section.number == 4) {
            drawDottedSum(engine, "TOTALE liquidità", s.grand.difference(), {12, 0, 2}, dottedWidth);
        } else if (section.number == 6) {
            drawDottedSum(engine, "TOTALE stato patrimoniale", s.grand.difference(), {15, 0, 2}, dottedWidth);
            s.grand.zero();
        }
    }
    s.grand.zero();
}

}  // namespace quendra::printing
