#include "printing/property_form.h"

#include "printing/form_parts.h"
#include "printing/print_text.h"
#include "printing/property_figures.h"
#include "storage/amount_format.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace quendra::printing {

namespace {

// Far below any screen page: the next page check starts a new one.
constexpr int kBeyondScreenPage = 10000;

std::string gridAmount(double value) { return storage::formatNumber(value, storage::Picture::EditAmount); }

class PropertyDrawing {
public:
    explicit PropertyDrawing(PageEngine& engine)
        : engine_(engine), canvas_(engine.canvas()), s_(engine.state()), c_(engine.state().columns) {}

    void draw() {
        engine_.clearListArea();
        canvas_.setPenWidth(2);
        drawFormHeading(engine_, "(Modulo 2 di 4)", "SITUAZIONE PATRIMONIALE");
        steps(1);

        // The grid from r to the expense edge: four tenths for the labels (account names
        // are long), three for each column of figures.
        r_ = c_.leftEdge + canvas_.textWidth("B. ");
        const int span = c_.expenseEdge - r_;
        opening_ = r_ + roundHalfEven(span * 0.4);
        yearEnd_ = r_ + roundHalfEven(span * 0.7);
        // k: the column headings sit a little right of their lines, the closing double rule
        // is k apart. Rules above a line of text lie in the small gap between two lines, a
        // twentieth of a line step up (k itself crossed the text of small screen fonts).
        k_ = s_.onPaper() ? -6 : 3;
        lift_ = roundHalfEven(engine_.zeile() * 0.05);
        if (lift_ == 0) lift_ = s_.onPaper() ? -1 : 1;
        markWidth_ = canvas_.textWidth("A. ");
        labelStart_ = r_ + markWidth_;

        realEstate();
        const PropertyFigures f = propertyFigures(engine_.year().journalPath);
        grid(f);
        reserved();
    }

private:
    void steps(double n) { s_.y += roundHalfEven(n * engine_.zeile()); }
    void bold(bool on) { canvas_.setBold(on); }
    void text(int x, const std::string& t) { canvas_.drawText(x, s_.y, t); }
    void ruleAcross(int y) { canvas_.drawLine(c_.leftEdge, y, c_.expenseEdge, y); }
    void gridRule() { canvas_.drawLine(r_, s_.y - lift_, c_.expenseEdge, s_.y - lift_); }
    void rowStep() {
        steps(1);
        gridRule();
    }
    // On screen the next page check opens a new screen page; on paper it breaks a full one.
    bool newSection() {
        if (!s_.onPaper()) s_.y = kBeyondScreenPage;
        return engine_.contr();
    }

    void realEstate() {
        steps(1);
        bold(true);
        text(c_.leftEdge, "A. Imobilie");
        steps(2);
        bold(false);
        text(c_.leftEdge, "Ci sono variazioni allo stato immobiliare?   ");
        steps(1);
        text(c_.leftEdge, "Autorizzazione della Velmora: ");
        steps(2);
        ruleAcross(s_.y - lift_);
        steps(1);
        ruleAcross(s_.y - lift_);
        steps(2);
        bold(true);
    }

    void row(const std::string& label, const std::string& opening, const std::string& yearEnd) {
        text(labelStart_, label);
        // Each figure keeps a mark's width from the rules on both sides.
        if (!opening.empty()) engine_.drawAmount(yearEnd_ - markWidth_, s_.y, opening, yearEnd_ - opening_ - 2 * markWidth_);
        engine_.drawAmount(c_.expenseEdge - markWidth_, s_.y, yearEnd, c_.expenseEdge - yearEnd_ - 2 * markWidth_);
    }
    void row(const std::string& label, const PropertyColumns& values) {
        row(label, gridAmount(values.opening), gridAmount(values.yearEnd));
    }
    void groups(const std::vector<PropertyLine>& lines) {
        for (const PropertyLine& l : lines) {
            row(groupLabel(engine_.codtext(l.keyCode), " - " + l.prefix), {l.opening, l.yearEnd});
            rowStep();
        }
    }
    // A long account name is cut so that the label, key included, stays in its column.
    std::string groupLabel(const std::string& name, const std::string& key) {
        const int room = opening_ - markWidth_ - labelStart_ - canvas_.textWidth(key);
        return cutToWidth(canvas_, name, room) + key;
    }
    // "I. Attiva", "I. PASSIVA": a heading row one and a half lines high.
    void blockHeading(const std::string& heading) {
        bold(true);
        steps(0.5);
        text(labelStart_, heading);
        bold(false);
        steps(1.5);
        gridRule();
    }

    void grid(const PropertyFigures& f) {
        if (!newSection()) return;
        const std::string& year = engine_.year().year();
        text(c_.leftEdge, "B. Capitali");
        bold(false);
        steps(2);
        const int top = s_.y - lift_;
        canvas_.drawLine(r_, top, c_.expenseEdge, top);
        text(opening_ + std::abs(k_), "     Situazione al 01/01/" + year);
        text(yearEnd_ + std::abs(k_), "     Situazione al 31/12/" + year);
        rowStep();

        blockHeading("I. Attiva");
        groups(f.liquid);
        groups(f.otherAssets);
        row("     Somma  liquidità", f.liquidSum);
        rowStep();
        row("     Somma altro", f.otherSum);
        rowStep();
        bold(true);
        row("     SOMMA ATTIVA", f.assets);
        rowStep();
        bold(false);

        steps(1);
        blockHeading("I. PASSIVA");
        groups(f.liabilities);
        bold(true);
        row("     SOMMA PASSIVA", f.liabilitiesSum);
        rowStep();
        steps(0.5);
        row("     ATTIVA - PASSIVA", f.net);
        rowStep();
        bold(false);
        row("     Cambiamento anno precedente", "", gridAmount(f.change));
        rowStep();

        canvas_.setPenWidth(2);
        for (const int x : {r_, opening_, yearEnd_, c_.expenseEdge}) canvas_.drawLine(x, top, x, s_.y - lift_);
        steps(2);
        canvas_.setPenWidth(3);
        ruleAcross(s_.y);
        ruleAcross(s_.y + k_);
        canvas_.setPenWidth(2);
        steps(2);
    }

    // A writing line at the foot of the current line, from x to the expense edge.
    void writingLine(int x) { canvas_.drawLine(x, s_.y - lift_, c_.expenseEdge, s_.y - lift_); }
    void contributionRow(const std::string& label) {
        text(opening_, label);
        steps(1);
        writingLine(opening_);
    }

    void reserved() {
        if (!newSection()) return;
        text(c_.leftEdge, "Riservato alla Velmora");
        steps(2);
        bold(true);
        text(c_.leftEdge, "PARROCO");
        steps(1);
        const int dateLineEnd = c_.leftEdge + canvas_.textWidth("AMAMAM 03.03.3333");
        for (const auto& [left, right] : {std::pair{"il", "Entrate:"}, std::pair{"Prot.No", "Detrazioni:"}}) {
            bold(false);
            text(c_.leftEdge, left);
            bold(true);
            text(opening_, right);
            bold(false);
            steps(1);
            canvas_.drawLine(c_.leftEdge, s_.y - lift_, dateLineEnd, s_.y - lift_);
            writingLine(opening_);
        }
        steps(1.5);
        contributionRow("Tasse 3%");
        contributionRow("Tasse 4%");
        bold(true);
        contributionRow("Contribute diocesani 3%");
        contributionRow("Contribute diocesani 4%");
        contributionRow("Totale contributi");
        canvas_.drawLine(opening_, s_.y, c_.expenseEdge, s_.y);
        bold(false);
        steps(2);
        text(c_.leftEdge, "per la revisione quendra");
        steps(3);
        canvas_.drawLine(c_.leftEdge, s_.y, yearEnd_, s_.y);
    }

    PageEngine& engine_;
    Canvas& canvas_;
    PrintState& s_;
    const Columns& c_;
    int r_ = 0, k_ = 0, lift_ = 0, markWidth_ = 0, labelStart_ = 0;
    int opening_ = 0, yearEnd_ = 0;  // the lines before the two columns of figures
};

}  // namespace

void drawPropertyForm(PageEngine& engine) { PropertyDrawing(engine).draw(); }

}  // namespace quendra::printing
