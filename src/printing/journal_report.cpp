#include "printing/journal_report.h"

#include "printing/journal_range.h"
#include "printing/journal_rules.h"
#include "printing/print_text.h"
#include "storage/query/query.h"

#include <cmath>
#include <stdexcept>

namespace quendra::printing {

namespace {

// Heading of a closing section, with the rule under it.
void drawClosingHeading(PageEngine& engine, std::string_view heading) {
    PrintState& s = engine.state();
    if (engine.contr()) engine.canvas().drawText(s.columns.leftEdge, s.y, heading);
    if (s.frames) {
        const int ruleY = s.y + engine.zeile() - s.ruleOffset;
        engine.canvas().drawLine(s.columns.leftEdge, ruleY, s.columns.expenseEdge + 10, ruleY);
    }
    s.y += engine.zeile();
}

// The rows of a closing section, amounts in swapped columns.
template <typename Filter>
void drawClosingRows(PageEngine& engine, storage::QueryResult& rows, Filter belongs) {
    for (rows.first(); !rows.eof() && !engine.state().stopped(); rows.next()) {
        const JournalLine line = JournalLine::of(rows);
        if (belongs(line.cod)) engine.zeilez1(line);
    }
}

// The closing sum of a section: its balance without sign, at the column given.
void drawClosingSum(PageEngine& engine, std::string_view label, double balance, int amountEdge) {
    PrintState& s = engine.state();
    engine.canvas().setBold(true);
    if (engine.contr()) {
        engine.canvas().drawText(s.columns.leftEdge, s.y, label);
        engine.drawAmount(amountEdge, s.y, euro(std::fabs(balance)));
    }
    engine.canvas().setBold(false);
    engine.liniensumme();
}

}  // namespace

void runJournal(PageEngine& engine, const ReportOptions& options) {
    const JournalRangeReading reading = journalRangeOf(options);
    if (!reading.ok()) throw std::invalid_argument(reading.error);
    PrintState& s = engine.state();
    const auto& journal = engine.year().journalPath;

    const JournalSums carry = carryOverSums(journal, reading.range);
    s.zeroSums();
    s.subAccount = carry.running;
    s.grand = carry.running;
    s.section = carry.liabilities;
    s.assets = carry.assets;
    const BoundQuery query = rangeQuery(journal, reading.range);
    const auto rows = storage::runSelect(query.sql, query.params);

    s.journalFinished = false;
    engine.drucktitel();
    engine.kopf();
    s.carryLabel = "RIPORTO";
    if (s.subAccount.difference() != 0 || s.grand.difference() != 0) engine.ubertrag();
    s.carryLabel = "SOMMA";

    for (rows->first(); !rows->eof(); rows->next()) {
        const JournalLine line = JournalLine::of(*rows);
        addToClosingSections(line.cod, line.income, line.expense, s.section, s.assets);
        if (!isListedInJournal(line.cod, line.codd)) continue;
        if (!s.stopped()) engine.zeilez(line);
        s.subAccount.add(line.income, line.expense);
        s.grand.add(line.income, line.expense);
    }

    engine.canvas().setBold(true);
    engine.zeilets();
    s.journalFinished = true;

    if (s.section.difference() > 0) {
        s.y += 2 * engine.zeile();
        engine.canvas().setBold(false);
        drawClosingHeading(engine, "PASSIVITÀ (prestiti bancari, fondi, debiti ecc.)");
        drawClosingRows(engine, *rows, isLiability);
        drawClosingSum(engine, "SOMMA PASSIVITÀ ", s.section.difference(), s.columns.expenseEdge);
        s.y += 2 * engine.zeile();
    }
    if (s.assets.difference() != 0) {
        s.y += engine.zeile();
        engine.canvas().setBold(false);
        drawClosingHeading(engine, "ATTIVITÀ (titoli ecc.)");
        drawClosingRows(engine, *rows, isOtherAsset);
        drawClosingSum(engine, "SOMMA ATTIVITÀ.", s.assets.difference(), s.columns.incomeEdge);
    }
    engine.canvas().setBold(false);
    s.journalFinished = false;
}

}  // namespace quendra::printing
