#include "budget/budget_reports.h"

#include "budget/budget_figures.h"
#include "printing/form_parts.h"
#include "printing/print_text.h"
#include "storage/amount_format.h"

#include <array>
#include <cmath>
#include <functional>
#include <string>

namespace quendra::budget {

namespace {

using printing::Canvas;
using printing::PageEngine;

Overview overviewOf(const PageEngine& engine) {
    const printing::ReportYear& year = engine.year();
    return makeOverview({year.chartPath, year.journalPath, budgetPathOf(year.journalPath), std::nullopt});
}

std::string amount(double value) { return storage::formatNumber(value, storage::Picture::Amount); }

// "87,5 %": one decimal, halves to even.
std::string percent(std::optional<double> share) {
    if (!share) return {};
    const auto tenths = static_cast<long long>(std::nearbyint(std::abs(*share) * 10));
    std::string whole = amount(static_cast<double>(tenths / 10));
    whole.resize(whole.size() - 3);  // the amount's ",00"
    return (*share < 0 && tenths != 0 ? "-" : "") + whole + "," + std::to_string(tenths % 10) + " %";
}

std::string sectionTitle(const SideLines& side) { return side.classLetter == 'E' ? "ENTRATE" : "USCITE"; }

bool printsAccount(const AccountLine& line, bool comparison) {
    return line.planned != 0 || (comparison && line.actual != 0);
}

bool printsGroup(const GroupLines& group, bool comparison) {
    for (const AccountLine& line : group.accounts) {
        if (printsAccount(line, comparison)) return true;
    }
    return false;
}

// Line by line through the engine: every line asks contr() first.
class Drawing {
public:
    explicit Drawing(PageEngine& engine)
        : engine_(engine), canvas_(engine.canvas()), s_(engine.state()), c_(engine.state().columns) {}

protected:
    void steps(int n) { s_.y += n * engine_.zeile(); }
    // A line that begins a new page (contr() moves y only then, to the page's top) goes
    // below the report's column titles, drawn again there.
    bool lineAllowed() {
        const int before = s_.y;
        if (!engine_.contr()) return false;
        if (s_.y != before && columnTitles_) {
            const printing::Font font = canvas_.font();
            columnTitles_();
            canvas_.setFont(font);
            steps(1);
        }
        return true;
    }
    void bold(bool on) { canvas_.setBold(on); }
    void heading(std::string_view title) {
        engine_.clearListArea();
        printing::drawFormHeading(engine_, "", title);
        engine_.bodyFont();
        steps(2);
    }
    void label(const std::string& text, int width) {
        canvas_.drawText(c_.leftEdge, s_.y, printing::cutToWidth(canvas_, text, width));
    }
    // "ENTRATE" or "USCITE" in bold, two lines down.
    void sideTitle(const SideLines& side) {
        steps(2);
        bold(true);
        if (lineAllowed()) canvas_.drawText(c_.leftEdge, s_.y, sectionTitle(side));
        bold(false);
    }
    // The main account's heading in bold; false when the report leaves the group out.
    bool groupHeading(const GroupLines& group, bool comparison, int width) {
        if (!printsGroup(group, comparison)) return false;
        steps(2);
        bold(true);
        if (lineAllowed()) label(printing::withoutBlanks(group.prefix) + " - " + group.text, width);
        bold(false);
        return true;
    }

    PageEngine& engine_;
    Canvas& canvas_;
    printing::PrintState& s_;
    const printing::Columns& c_;
    // Drawn at s_.y on every page after the first.
    std::function<void()> columnTitles_;
};

class BudgetDrawing : Drawing {
public:
    using Drawing::Drawing;

    void draw() {
        const Overview overview = overviewOf(engine_);
        heading("PREVENTIVO anno - " + engine_.year().year());
        side(overview.income);
        side(overview.expense);
        steps(1);
        bold(true);
        total("SALDO previsto (entrate - uscite)", overview.plannedSaldo());
        bold(false);
    }

private:
    int labelWidth() { return c_.incomeEdge - c_.leftEdge - canvas_.textWidth("999.999.999,99 "); }

    void side(const SideLines& side) {
        sideTitle(side);
        for (const GroupLines& group : side.groups) {
            if (!groupHeading(group, false, labelWidth())) continue;
            for (const AccountLine& line : group.accounts) {
                if (!printsAccount(line, false)) continue;
                steps(1);
                if (!lineAllowed()) continue;
                std::string text = printing::withoutBlanks(line.code) + " " + line.text;
                if (!line.note.empty()) text += " (" + line.note + ")";
                label(printing::dotted(canvas_, text, labelWidth()), labelWidth());
                engine_.drawRight(c_.incomeEdge, s_.y, amount(line.planned));
            }
            bold(true);
            if (lineAllowed()) engine_.drawRight(c_.expenseEdge, s_.y, amount(group.planned));
            bold(false);
        }
        steps(2);
        bold(true);
        total("SOMMA " + sectionTitle(side), side.planned);
        bold(false);
    }

    void total(const std::string& text, double value) {
        steps(1);
        if (!lineAllowed()) return;
        label(printing::dotted(canvas_, text, labelWidth()), labelWidth());
        engine_.drawRight(c_.expenseEdge, s_.y, amount(value));
    }
};

class ComparisonDrawing : Drawing {
public:
    using Drawing::Drawing;

    void draw() {
        const Overview overview = overviewOf(engine_);
        heading("CONFRONTO CONSUNTIVO - PREVENTIVO anno - " + engine_.year().year());
        // Widths of the bold titles, which are wider than the figures under them.
        bold(true);
        const int amountWidth = canvas_.textWidth("999.999.999,99") + canvas_.textWidth("  ");
        edges_[3] = c_.expenseEdge;
        edges_[2] = edges_[3] - canvas_.textWidth("raggiunto") - canvas_.textWidth("  ");
        edges_[1] = edges_[2] - amountWidth;
        edges_[0] = edges_[1] - amountWidth;
        labelWidth_ = edges_[0] - amountWidth - c_.leftEdge;
        bold(false);
        if (lineAllowed()) titles();
        columnTitles_ = [this] { titles(); };
        side(overview.income);
        side(overview.expense);
        steps(2);
        bold(true);
        figures("SALDO (entrate - uscite)", overview.actualSaldo(), overview.plannedSaldo());
        bold(false);
    }

private:
    void titles() {
        static constexpr std::array<const char*, 4> kTitles = {"consuntivo", "preventivo", "differenza", "raggiunto"};
        bold(true);
        for (std::size_t i = 0; i < kTitles.size(); ++i) engine_.drawRight(edges_[i], s_.y, kTitles[i]);
        bold(false);
    }

    // The four columns: actual, planned, difference, share.
    void figures(const std::string& text, double actual, double planned) {
        steps(1);
        if (!lineAllowed()) return;
        label(text, labelWidth_);
        const std::array<std::string, 4> cells = {amount(actual), amount(planned), amount(actual - planned),
                                                  percent(shareReached(actual, planned))};
        for (std::size_t i = 0; i < cells.size(); ++i) engine_.drawRight(edges_[i], s_.y, cells[i]);
    }

    void side(const SideLines& side) {
        sideTitle(side);
        for (const GroupLines& group : side.groups) {
            if (!groupHeading(group, true, labelWidth_)) continue;
            for (const AccountLine& line : group.accounts) {
                if (!printsAccount(line, true)) continue;
                figures(printing::withoutBlanks(line.code) + " " + line.text, line.actual, line.planned);
            }
            bold(true);
            figures("Totale " + printing::withoutBlanks(group.prefix), group.actual, group.planned);
            bold(false);
        }
        steps(1);
        bold(true);
        figures("SOMMA " + sectionTitle(side), side.actual, side.planned);
        bold(false);
    }

    std::array<int, 4> edges_{};
    int labelWidth_ = 0;
};

}  // namespace

void drawBudgetReport(PageEngine& engine) { BudgetDrawing(engine).draw(); }

void drawComparisonReport(PageEngine& engine) { ComparisonDrawing(engine).draw(); }

void runBudgetReport(PageEngine& engine, const printing::ReportOptions&) { drawBudgetReport(engine); }

void runComparisonReport(PageEngine& engine, const printing::ReportOptions&) { drawComparisonReport(engine); }

}  // namespace quendra::budget
