#include "printing/page_engine.h"

#include "printing/print_text.h"
#include "storage/amount_format.h"
#include "storage/dbase/row_reader.h"
#include "storage/journal_record.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace quendra::printing {

namespace {

// The 15 of Druckfont / Bildschirmfont: a positive whole number, else 15.
int fontSetting(const std::string& text) {
    const auto value = storage::parseWholeNumber(text);
    return value && *value > 0 && *value < 1000 ? static_cast<int>(*value) : 15;
}

std::string timeText(std::chrono::system_clock::time_point now) {
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[16];
    std::strftime(buffer, sizeof buffer, "%H:%M:%S", &local);
    return buffer;
}

// "(" + code + label + text, appended piece by piece.
std::string headingText(std::string_view code, std::string_view label, std::string_view text) {
    std::string out(1, '(');
    out.append(code).append(label).append(text);
    return out;
}

}  // namespace

int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

JournalLine JournalLine::of(const storage::RowReader& row) {
    namespace kr = storage::journal;
    JournalLine line;
    line.number = row.asInteger(kr::kNummer);
    line.date = row.asDate(kr::kDatum);
    line.cod = row.asText(kr::kCod);
    line.codd = row.asText(kr::kCodd);
    line.text = row.asText(kr::kText);
    line.income = row.asNumber(kr::kEinnahme);
    line.expense = row.asNumber(kr::kAusgabe);
    line.opening = row.asInteger(kr::kEroeffnung);
    return line;
}

PageEngine::PageEngine(PrintState& state, Canvas& canvas, Pager& pager, const ReportYear& year,
                       const platform::Clock& clock)
    : state_(state), canvas_(canvas), pager_(pager), year_(year), clock_(clock), chart_(year.chartPath) {}

std::string PageEngine::yearCaption() const {
    const ChartTextRow parish = chart_.parish();
    return "QUENDRA: " + parish.text + " (" + parish.texth + ") - " + year_.yearSlash();
}

int PageEngine::sized(double k) const { return roundHalfEven(k * state_.scale); }

void PageEngine::bodyFont() { canvas_.setFont(Font{"Arial", sized(10), false}); }

void PageEngine::drawRight(int x, int y, std::string_view text) { canvas_.drawText(x - canvas_.textWidth(text), y, text); }

void PageEngine::drawAmount(int x, int y, std::string_view text, int room) {
    const Font font = canvas_.font();
    Font smaller = font;
    while (canvas_.textWidth(text) > room && smaller.size > 1) {
        smaller.size -= std::max(1, smaller.size / 20);
        canvas_.setFont(smaller);
    }
    drawRight(x, y, text);
    canvas_.setFont(font);
}

void PageEngine::drawAmount(int edge, int y, std::string_view text) {
    const Columns& c = state_.columns;
    // The income cell lies between its rules at entrateWidth() + 10 left and 10 right of
    // the edge; the expense cell between the two edges, 10 in from each rule.
    const int room = edge == c.incomeEdge ? entrateWidth() : c.expenseEdge - c.incomeEdge - 20;
    drawAmount(edge, y, text, room);
}

void PageEngine::clearListArea() {
    if (!state_.onPaper()) {
        canvas_.clear();
    }
}

void PageEngine::drawPageNumber() {
    // Never bold, even when a bold line broke the page.
    const bool bold = canvas_.font().bold;
    canvas_.setBold(false);
    canvas_.drawText(950, state_.bottom - 50, "- " + std::to_string(state_.pageCounter) + " -");
    canvas_.setBold(bold);
}

void PageEngine::computeColumns(bool onScreen, int screenWidth) {
    Columns& c = state_.columns;
    const int nw = state_.numberWidth;
    if (onScreen) {
        const double u = screenWidth / 800.0;
        const int m = roundHalfEven(0.05 * screenWidth);
        c = {roundHalfEven(u),       roundHalfEven(35 * u),         roundHalfEven(55 * u),
             roundHalfEven(140 * u), roundHalfEven(230 * u),        screenWidth - 2 * nw - m,
             screenWidth - nw - m,   screenWidth - m};
    } else {
        c = {111, 200, 225, 460, 730, 1860 - 2 * nw, 1860 - nw, 1860};
    }
}

void PageEngine::setUpScreen(int screenWidth, int screenHeight) {
    state_.paging = PagingState::Waiting;
    state_.screenHeight = screenHeight;
    state_.frames = year_.settings.frameLines != "0";
    canvas_.setPenWidth(1);
    canvas_.setFont(Font{"Arial", 130, false});
    state_.scale = static_cast<double>(screenWidth) /
                   canvas_.textWidth(replicate('a', fontSetting(year_.settings.screenFont)));
    state_.bodySize = sized(10);
    bodyFont();
    state_.lineStep = zeile();
    state_.ruleOffset = roundHalfEven(state_.lineStep * 0.125);
    state_.y = 1;
    state_.numberWidth = canvas_.textWidth("999.999.999.999.999");
    computeColumns(true, screenWidth);
    if (state_.kind != ReportKind::Journal) {
        state_.zeroSums();
    }
}

void PageEngine::setUpPaper() {
    state_.paging = PagingState::Paper;
    state_.frames = year_.settings.frameLines != "0";
    state_.top = year_.settings.topMargin;
    state_.bottom = year_.settings.bottomMargin;
    canvas_.setPenWidth(2);
    canvas_.setFont(Font{"Arial", 55, false});
    state_.scale = 1440.0 / canvas_.textWidth(replicate('a', fontSetting(year_.settings.printerFont)));
    state_.bodySize = sized(10);
    bodyFont();
    state_.lineStep = zeile();
    state_.ruleOffset = roundHalfEven(state_.lineStep / 10.0);
    state_.numberWidth = canvas_.textWidth("999.999.999.999");
    computeColumns(false, 0);
    if (state_.kind != ReportKind::Journal) {
        state_.zeroSums();
    }
    state_.pageCounter = 1;
    state_.y = state_.top;
}

void PageEngine::finish() {
    if (state_.onPaper()) {
        drawPageNumber();
        return;
    }
    if (!state_.stopped()) {
        state_.paging = PagingState::Waiting;
        pager_.endOfReport();
    }
    clearListArea();
}

int PageEngine::zeile() {
    const double height = canvas_.fontHeight();
    return state_.onPaper() ? roundHalfEven(1.2 * height) : roundHalfEven(-1.2 * height);
}

bool PageEngine::journalCarries() const { return state_.kind == ReportKind::Journal && !state_.journalFinished; }

bool PageEngine::contr() {
    PrintState& s = state_;
    // On a page too short for its heading, the heading would break the page again, for
    // ever: it goes on the page just begun, and the next line breaks it.
    if (breakingPage_) {
        return true;
    }
    struct Breaking {
        bool& flag;
        explicit Breaking(bool& f) : flag(f) { flag = true; }
        ~Breaking() { flag = false; }
    };
    if (s.onPaper()) {
        if (s.y < s.bottom - s.ruleOffset) {
            const Breaking breaking(breakingPage_);
            if (journalCarries()) {
                s.carryLabel = "SOMMA";
                liniensumme();
                s.y -= s.ruleOffset;
                ubertrag();
                s.carryLabel = "RIPORTO";
            }
            s.y = s.top;
            drawPageNumber();
            ++s.pageCounter;
            canvas_.newPage();
            if (journalCarries()) {
                drucktitel();
                kopf();
                ubertrag();
            }
        }
        return true;
    }
    // Once stopped, nothing more is drawn: not even the closing carry line.
    if (s.stopped()) {
        return false;
    }
    if (s.y > s.screenHeight - roundHalfEven(s.screenHeight / 4.0)) {
        const Breaking breaking(breakingPage_);
        if (journalCarries()) {
            s.carryLabel = "RIPORTO";
            liniensumme();
            ubertrag();
        }
        if (!pager_.nextPage()) {
            s.paging = PagingState::Stopped;
            s.y = 1;
            return false;
        }
        clearListArea();
        s.y = 1;
        s.paging = PagingState::Waiting;
        if (journalCarries()) {
            drucktitel();
            kopf();
            s.carryLabel = "ÜBERTRAG";
            ubertrag();
        }
        if (s.kind == ReportKind::AllMovements || s.kind == ReportKind::AccountsAndSubs ||
            s.kind == ReportKind::AccountsOnly) {
            Kopfformulare();
        }
    }
    return true;
}

void PageEngine::Kopfformulare() {
    if (!contr()) {
        return;
    }
    const std::string caption = yearCaption();
    canvas_.setFont(Font{"Arial", sized(13), true});
    state_.y += roundHalfEven(zeile() / 2.0);
    const int x = state_.columns.leftEdge;
    canvas_.drawText(x, state_.y, caption);
    const int captionWidth = canvas_.textWidth(caption);
    setSize(7);
    const int smallStep = zeile();
    canvas_.drawText(x + captionWidth, state_.y + roundHalfEven(smallStep / 3.0),
                     "    (Data: " + clock_.today().toDisplay() + " - " + timeText(clock_.now()) + ")");
    setSize(13);
    state_.y += 2 * zeile();
    bodyFont();
}

void PageEngine::drucktitel() {
    clearListArea();
    canvas_.setFont(Font{"Arial", sized(12), true});
    const ChartTextRow parish = chart_.parish();
    canvas_.drawText(state_.columns.leftEdge, state_.y,
                     "Giornale della parrocchia: " + parish.text + ", " + parish.texth + " - esercizio " +
                         year_.yearSlash());
    state_.y += 2 * zeile();
    bodyFont();
}

void PageEngine::kopf() {
    if (!state_.frames || !contr()) {
        return;
    }
    const Columns& c = state_.columns;
    const int y = state_.y;
    canvas_.drawText(c.leftEdge, y, "  No");
    canvas_.drawText(c.dateColumn, y, "Data");
    canvas_.drawText(c.codeColumn, y, "codice  -  (cassa)");
    canvas_.drawText(c.textColumn, y, "oggetto");
    drawRight(c.incomeEdge, y, "entrate");
    drawRight(c.expenseEdge, y, "uscite");
    canvas_.setBold(false);
    linien();
    const int top = y - state_.ruleOffset;
    const int foot = y + zeile() - state_.ruleOffset;
    canvas_.drawLine(c.leftEdge, top, c.expenseEdge + 10, top);
    canvas_.drawLine(c.leftEdge, foot, c.expenseEdge + 10, foot);
    state_.y += zeile();
}

void PageEngine::linien() {
    if (!state_.frames) {
        return;
    }
    const Columns& c = state_.columns;
    const int top = state_.y - state_.ruleOffset;
    const int foot = state_.y + zeile() - state_.ruleOffset;
    for (const int x : {c.leftEdge, c.dateColumn - 10, c.codeColumn - 10, c.textColumn - 10,
                        c.incomeEdge - entrateWidth() - 10, c.incomeEdge + 10, c.expenseEdge + 10}) {
        canvas_.drawLine(x, top, x, foot);
    }
}

int PageEngine::entrateWidth() {
    if (entrateWidth_ < 0 || !(canvas_.font() == entrateFont_)) {
        entrateFont_ = canvas_.font();
        entrateWidth_ = canvas_.textWidth("ENTRATE");
    }
    return entrateWidth_;
}

void PageEngine::liniensumme() {
    if (!state_.frames) {
        return;
    }
    const Columns& c = state_.columns;
    const int top = state_.y - state_.ruleOffset;
    const int foot = state_.y + zeile() - state_.ruleOffset;
    const int a = c.incomeEdge - entrateWidth() - 10;
    const int b = c.incomeEdge + 10;
    const int e = c.expenseEdge + 10;
    for (const int x : {a, b, e}) {
        canvas_.drawLine(x, top, x, foot);
    }
    canvas_.drawLine(a, top, e, top);
    canvas_.drawLine(a, foot, e, foot);
}

void PageEngine::drawRow(const JournalLine& row, double leftAmount, double rightAmount) {
    if (!contr()) {
        return;
    }
    const Columns& c = state_.columns;
    const int y = state_.y;
    drawRight(c.numberEdge, y, movementNumber(row.number));
    canvas_.drawText(c.dateColumn, y, row.date.toDisplay());
    canvas_.drawText(c.codeColumn, y, std::string(chars(row.cod, 2, 5)) + " - (" + std::string(chars(row.codd, 2, 5)) + ")");
    const std::string description = (row.opening == 1 ? "(prima apertura) - " + row.text : row.text) + " ";
    canvas_.drawText(c.textColumn, y, cutToWidth(canvas_, description, c.textEnd - c.textColumn));
    drawAmount(c.incomeEdge, y, euro(leftAmount));
    drawAmount(c.expenseEdge, y, euro(rightAmount));
    linien();
    state_.y += zeile();
}

void PageEngine::zeilez(const JournalLine& row) { drawRow(row, row.income, row.expense); }

void PageEngine::zeilez1(const JournalLine& row) { drawRow(row, row.expense, row.income); }

void PageEngine::drawAmounts(const SumPair& pair) {
    drawAmount(state_.columns.incomeEdge, state_.y, euro(pair.income));
    drawAmount(state_.columns.expenseEdge, state_.y, euro(pair.expense));
}

void PageEngine::drawDifference(double difference) {
    const Columns& c = state_.columns;
    canvas_.drawText(c.textEnd - state_.numberWidth - canvas_.textWidth("dif.:"), state_.y, "(dif.:");
    drawAmount(c.textEnd, state_.y, euro(difference) + ")", state_.numberWidth - canvas_.textWidth("( "));
}

void PageEngine::zeilezz() {
    if (!contr()) {
        return;
    }
    const Columns& c = state_.columns;
    canvas_.drawText(c.textColumn, state_.y, cutToWidth(canvas_, "RIPORTO ", c.textEnd - c.textColumn));
    drawAmounts(state_.subAccount);
    linien();
    state_.y += zeile();
}

void PageEngine::ubertrag() {
    canvas_.drawText(state_.columns.textColumn, state_.y, state_.carryLabel);
    drawDifference(state_.subAccount.difference());
    drawAmounts(state_.subAccount);
    linien();
    state_.y += zeile();
}

void PageEngine::zeileuk(std::string_view key) { zeileuk(key, codtext1(key)); }

void PageEngine::zeileuk(std::string_view key, std::string_view text) {
    if (!contr()) {
        return;
    }
    canvas_.setFont(Font{"Arial", sized(11), true});
    state_.y += roundHalfEven(zeile() / 2.0);
    canvas_.drawText(state_.columns.leftEdge, state_.y, headingText(chars(key, 2, 5), ") - sottoconto: ", text));
    state_.y += zeile();
    bodyFont();
    if (state_.kind == ReportKind::AllMovements) {
        kopf();
    }
}

void PageEngine::zeilehk(std::string_view key) { zeilehk(key, codtext(key)); }

void PageEngine::zeilehk(std::string_view key, std::string_view text) {
    if (!contr()) {
        return;
    }
    canvas_.setFont(Font{"Arial", sized(12), true});
    state_.y += roundHalfEven(zeile() / 2.0);
    canvas_.drawText(state_.columns.leftEdge, state_.y, headingText(trimmed(key), ") - conto: ", text));
    state_.y += zeile();
    bodyFont();
}

void PageEngine::sumLineEnd() {
    canvas_.setBold(false);
    liniensumme();
    state_.y += zeile();
}

void PageEngine::zeileus() {
    if (!contr()) {
        return;
    }
    const Columns& c = state_.columns;
    canvas_.setBold(true);
    if (state_.kind == ReportKind::AllMovements) {
        const int ruleY = state_.y - state_.ruleOffset;
        canvas_.drawLine(c.leftEdge, ruleY, c.expenseEdge + 10, ruleY);
    }
    canvas_.drawText(c.leftEdge, state_.y, "Somma sottoconti:");
    if (state_.cashBoxMode) {
        drawDifference(state_.subAccount.difference());
    }
    drawAmounts(state_.subAccount);
    sumLineEnd();
}

void PageEngine::zeilehs() {
    if (!contr()) {
        return;
    }
    canvas_.setBold(true);
    canvas_.drawText(state_.columns.leftEdge, state_.y,
                     cutToWidth(canvas_, "Somma conti: " + state_.lastMainText + " ", state_.columns.textEnd));
    drawAmounts(state_.account);
    sumLineEnd();
}

void PageEngine::zeilets() {
    if (!contr()) {
        return;
    }
    canvas_.setBold(true);
    canvas_.drawText(state_.columns.leftEdge, state_.y, "TOTALE: ");
    drawDifference(state_.grand.difference());
    drawAmounts(state_.grand);
    sumLineEnd();
}

}  // namespace quendra::printing
