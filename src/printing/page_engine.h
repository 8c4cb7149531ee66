#pragma once

// The page engine every report draws through.
//
// A run: the caller (print window or quendra-report) fills PrintState's report kind and
// modes, makes a PageEngine over a Canvas and a Pager, calls setUpScreen() or
// setUpPaper(), hands the engine to the report function (report_catalog.h) and then
// calls finish(). The report walks its rows and, line after line, calls the primitives
// below; each of them asks contr() first, which breaks the page when y has passed the
// page end (paper: page number, new sheet; screen: wait for "&avanti" / "&esci") and
// answers false once the user has stopped the preview: from then on nothing is drawn,
// the report only runs out its loops. Positions come from state().columns, y from
// state().y; a report that draws lines of its own (the annual-report forms) uses
// canvas(), zeile(), sized() and contr() the same way.

#include "platform/clock.h"
#include "printing/canvas.h"
#include "printing/chart_texts.h"
#include "printing/pager.h"
#include "printing/print_state.h"
#include "printing/report_year.h"
#include "storage/dbase/date.h"

#include <string>
#include <string_view>

namespace quendra::storage {
class RowReader;
}

namespace quendra::printing {

// The fields of a journal row that a row line prints.
struct JournalLine {
    long long number = 0;
    storage::Date date;
    std::string cod;
    std::string codd;
    std::string text;
    double income = 0;   // Einnahme
    double expense = 0;  // Ausgabe
    long long opening = 0;

    static JournalLine of(const storage::RowReader& row);
};

int roundHalfEven(double value);

class PageEngine {
public:
    PageEngine(PrintState& state, Canvas& canvas, Pager& pager, const ReportYear& year, const platform::Clock& clock);

    // "listeClick" without running a report: the preview's geometry for a screen of the
    // given size; paging state 0.
    void setUpScreen(int screenWidth, int screenHeight);
    // "drucken" without running a report: the paper's geometry (the canvas's document has
    // begun); paging state 6, page 1, y at the top margin.
    void setUpPaper();
    // The end of every report: on paper the last page number (the caller ends the
    // document); on screen, unless stopped, the "&FINE LISTA" wait, then the list area
    // is cleared.
    void finish();

    PrintState& state() { return state_; }
    const PrintState& state() const { return state_; }
    Canvas& canvas() { return canvas_; }
    const ReportYear& year() const { return year_; }
    const ChartTexts& chart() const { return chart_; }

    // "QUENDRA: parish (place) - 2026/01".
    std::string yearCaption() const;
    // The font size k × scale, rounded; setSize() sets it on the canvas.
    int sized(double k) const;
    void setSize(double k) { canvas_.setFontSize(sized(k)); }
    // Arial, 10 × scale, normal.
    void bodyFont();
    // Draws text with its right edge at x.
    void drawRight(int x, int y, std::string_view text);
    // Draws an amount with its right edge at x, in a smaller font when it is wider than
    // room: every amount a field holds stays clear of rules, labels and its neighbour.
    void drawAmount(int x, int y, std::string_view text, int room);
    // The same in the column ending at edge, the income or the expense column.
    void drawAmount(int edge, int y, std::string_view text);
    // The preview's list area is emptied; paper is left alone.
    void clearListArea();
    // "- n -" at (950, bottom − 50).
    void drawPageNumber();

    // The primitives, under the names the reports know them by.
    int zeile();
    bool contr();
    void Kopfformulare();
    void drucktitel();
    void kopf();
    void linien();
    void liniensumme();
    void zeilez(const JournalLine& row);
    void zeilez1(const JournalLine& row);
    void zeilezz();
    void ubertrag();
    // Sub-account heading with the chart's TEXT of key, or with the text given (the row
    // linked to the current journal row).
    void zeileuk(std::string_view key);
    void zeileuk(std::string_view key, std::string_view text);
    // Main-account heading with the chart's TEXTH of key, or with the text given.
    void zeilehk(std::string_view key);
    void zeilehk(std::string_view key, std::string_view text);
    void zeileus();
    void zeilehs();
    void zeilets();
    std::string codtext(std::string_view key) const { return chart_.codtext(key); }
    std::string codtext1(std::string_view key) const { return chart_.codtext1(key); }

private:
    bool journalCarries() const;
    void computeColumns(bool onScreen, int screenWidth);
    void drawRow(const JournalLine& row, double leftAmount, double rightAmount);
    void drawAmounts(const SumPair& pair);
    void drawDifference(double difference);
    void sumLineEnd();
    // Width of "ENTRATE", where the amount cells' rules stand; asked for every line.
    int entrateWidth();

    PrintState& state_;
    Canvas& canvas_;
    Pager& pager_;
    const ReportYear& year_;
    const platform::Clock& clock_;
    ChartTexts chart_;
    Font entrateFont_;
    int entrateWidth_ = -1;
    // A page break draws the journal's heading, whose primitives ask contr() again.
    bool breakingPage_ = false;
};

}  // namespace quendra::printing
