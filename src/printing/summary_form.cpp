#include "printing/summary_form.h"

#include "printing/form_parts.h"
#include "printing/print_text.h"
#include "printing/summary_figures.h"

#include <array>
#include <functional>
#include <string>

namespace quendra::printing {

namespace {

std::array<std::string, kSummarySectionCount> sectionHeadings(const std::string& year) {
    return {"Situazione al 01/01/" + year + " (Saldo anno precedente)",
            "Entrate",
            "Uscite",
            "Altre liquidità",
            "Attività (Titoli ecc.)",
            "Passività (Prestiti bancanari, fondi, debiti ecc.)"};
}

class SummaryDrawing {
public:
    SummaryDrawing(PageEngine& engine, SummaryForm form)
        : engine_(engine), canvas_(engine.canvas()), s_(engine.state()), c_(engine.state().columns), form_(form) {}

    void draw() {
        canvas_.setFont(Font{"Arial", engine_.sized(11), false});
        w100_ = canvas_.textWidth("100.000.000.000");
        engine_.clearListArea();
        const std::string& year = engine_.year().year();
        if (details()) {
            drawFormHeading(engine_, "(Modulo 3 di 4)", "CONTO SOTTOCONTO DETTAGLI anno - " + year);
        } else {
            drawFormHeading(engine_, "(Modulo 1 di 4)", "RIEPILOGO");
        }
        steps(2);

        const SummaryFigures figures = summaryFigures(engine_.year().journalPath);
        const auto headings = sectionHeadings(year);
        // The last two sections and the closing total go onto a sheet together.
        constexpr std::size_t closing = kSummarySectionCount - 2;
        for (std::size_t section = 0; section < kSummarySectionCount; ++section) {
            if (section == closing) {
                keepTogether(heightOf([&] {
                    for (std::size_t rest = closing; rest < kSummarySectionCount; ++rest)
                        drawSection(rest, headings[rest], figures);
                }));
            }
            drawSection(section, headings[section], figures);
        }
    }

private:
    void drawSection(std::size_t section, const std::string& heading, const SummaryFigures& figures) {
        steps(2);
        canvas_.setBold(true);
        text(c_.leftEdge, heading);
        canvas_.setBold(false);
        for (const MainAccountFigure& account : figures.sections[section].accounts) mainAccount(account);
        sectionEnd(section, figures.sections[section]);
        if (section == 2) total("SALDO entrate/uscite", figures.saldo, 1, 0);
        if (section == 3) total("TOTALE liquidità", figures.totalLiquidity, 0, 2);
        if (section == 5) total("TOTALE stato patrimoniale", figures.totalProperty, 0, 2);
    }

    // Paper: a block that does not fit below y but fits on a sheet starts the next sheet
    // (the next page check breaks), so that its closing lines never stand alone.
    void keepTogether(int height) {
        if (!s_.onPaper()) return;
        const int limit = s_.bottom - s_.ruleOffset;
        if (s_.y + height < limit && s_.top + height >= limit) s_.y = limit - 1;
    }

    // How far below y the part draws its last line; nothing is drawn.
    int heightOf(const std::function<void()>& part) {
        const int start = s_.y;
        lastLine_ = start;
        measuring_ = true;
        part();
        measuring_ = false;
        s_.y = start;
        return lastLine_ - start;
    }

    bool details() const { return form_ == SummaryForm::Details; }
    void steps(int n) { s_.y += n * engine_.zeile(); }
    int labelWidth() const { return c_.incomeEdge - c_.leftEdge - w100_; }

    // A line at the current y, after the page check.
    bool drawing() {
        if (!measuring_) return engine_.contr();
        lastLine_ = s_.y;
        return false;
    }
    void text(int x, const std::string& t) {
        if (drawing()) canvas_.drawText(x, s_.y, t);
    }
    void line(const std::string& label, int amountEdge, const std::string& amount) {
        if (!drawing()) return;
        canvas_.drawText(c_.leftEdge, s_.y, label);
        if (!amount.empty()) engine_.drawAmount(amountEdge, s_.y, amount, amountEdge - c_.leftEdge - canvas_.textWidth(label + " "));
    }

    void mainAccount(const MainAccountFigure& account) {
        if (details()) {
            steps(2);
            canvas_.setBold(true);
            text(c_.leftEdge, withoutBlanks(account.prefix) + " - " + engine_.codtext(account.prefix));
            canvas_.setBold(false);
            for (const SubAccountFigure& sub : account.subAccounts) {
                if (!sub.difference) continue;
                const std::string label =
                    dotted(canvas_, withoutBlanks(sub.code) + " " + engine_.codtext1(sub.code), labelWidth());
                steps(1);
                line(label, c_.incomeEdge, euro(*sub.difference));
            }
        }
        if (!account.difference) return;
        const std::string amount = euro(*account.difference);
        canvas_.setBold(true);
        if (details()) {
            // On the line of the last sub-account.
            if (drawing()) {
                engine_.drawAmount(c_.expenseEdge, s_.y, amount, c_.expenseEdge - c_.incomeEdge - canvas_.textWidth(" "));
            }
            canvas_.setBold(false);
            return;
        }
        // The main account's own key before its name (the line stays bold).
        const std::string label =
            dotted(canvas_, withoutBlanks(account.prefix) + " " + engine_.codtext(account.lastCode), labelWidth());
        steps(1);
        line(label, c_.incomeEdge, amount);
    }

    void sectionEnd(std::size_t section, const SectionFigures& figures) {
        if (figures.sum) {
            const std::string label = dotted(canvas_, "SOMMA", labelWidth());
            steps(1);
            canvas_.setBold(true);
            const bool incomeColumn = !details() && section < 3;
            line(label, incomeColumn ? c_.incomeEdge : c_.expenseEdge, euro(*figures.sum));
            canvas_.setBold(false);
        }
        if (section == 0) {
            steps(2);
            const int edge = details() ? c_.expenseEdge : c_.incomeEdge;
            std::string stars;
            while (c_.leftEdge + canvas_.textWidth(stars) < edge) stars += "* ";
            text(c_.leftEdge, stars);
        }
        steps(1);
    }

    // A bold total at the expense edge: `before` steps, the line, two steps after.
    void total(const std::string& label, double amount, int stepsBeforeLabel, int stepsBeforeLine) {
        steps(stepsBeforeLabel);
        canvas_.setBold(true);
        const std::string dottedLabel = dotted(canvas_, label, labelWidth());
        steps(stepsBeforeLine);
        line(dottedLabel, c_.expenseEdge, euro(amount));
        canvas_.setBold(false);
        steps(2);
    }

    PageEngine& engine_;
    Canvas& canvas_;
    PrintState& s_;
    const Columns& c_;
    SummaryForm form_;
    int w100_ = 0;
    bool measuring_ = false;
    int lastLine_ = 0;
};

}  // namespace

void drawSummaryForm(PageEngine& engine, SummaryForm form) { SummaryDrawing(engine, form).draw(); }

}  // namespace quendra::printing
