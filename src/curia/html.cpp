#include "curia/html.h"

#include "storage/amount_format.h"

namespace quendra::curia {

std::string htmlDocument(std::string_view title, std::string_view body) {
    return "<!DOCTYPE html>\n<html lang=\"it\"><head><meta charset=\"utf-8\"><title>" + escapeHtml(title) +
           "</title><style>"
           "body{font-family:'Liberation Sans',Arial,sans-serif;margin:2em;color:#222}"
           "table{border-collapse:collapse;margin:0.5em 0 1.5em}"
           "td,th{border:1px solid #bbb;padding:0.25em 0.6em;text-align:left}"
           "td.num{text-align:right;font-variant-numeric:tabular-nums}"
           "th{background:#eee}.avvisi{color:#a40}.danni{color:#b00}.ok{color:#060}"
           "</style></head><body>\n<h1>" +
           escapeHtml(title) + "</h1>\n" + std::string(body) + "\n</body></html>\n";
}

std::string amountText(double value) { return storage::formatNumber(value, storage::Picture::Amount); }

std::string labelRow(std::string_view label, std::string_view value) {
    return "<tr><th>" + escapeHtml(label) + "</th><td>" + escapeHtml(value) + "</td></tr>\n";
}

std::string figuresTable(const KeyFigures& f) {
    const auto row = [](std::string_view label, const std::string& value) {
        return "<tr><th>" + escapeHtml(label) + "</th><td class=\"num\">" + escapeHtml(value) + "</td></tr>\n";
    };
    return "<table class=\"cifre\">\n" + row("Movimenti", std::to_string(f.movements)) +
           row("ENTRATE", amountText(f.income)) + row("USCITE", amountText(f.expense)) +
           row("SALDO entrate/uscite", amountText(f.saldo)) + row("TOTALE liquidità", amountText(f.totalLiquidity)) +
           row("SOMMA ATTIVA", amountText(f.assets)) + row("SOMMA PASSIVA", amountText(f.liabilities)) +
           row("ATTIVA - PASSIVA", amountText(f.net)) + "</table>\n";
}

std::string plannedSection(const std::optional<PlannedFigures>& planned) {
    if (!planned) return {};
    const auto row = [](std::string_view label, double actual, double plannedAmount) {
        std::string cells = "<tr><th>" + escapeHtml(label) + "</th>";
        for (double value : {actual, plannedAmount, actual - plannedAmount}) {
            cells += "<td class=\"num\">" + escapeHtml(amountText(value)) + "</td>";
        }
        return cells + "</tr>\n";
    };
    return "<h2>Preventivo</h2>\n<table class=\"cifre\">\n"
           "<tr><th></th><th>consuntivo</th><th>preventivo</th><th>differenza</th></tr>\n" +
           row("ENTRATE", planned->actualIncome, planned->income) + row("USCITE", planned->actualExpense, planned->expense) +
           row("SALDO", planned->actualSaldo(), planned->saldo()) + "</table>\n";
}

std::string textList(const std::vector<std::string>& items, std::string_view whenEmpty) {
    if (items.empty()) return "<p>" + escapeHtml(whenEmpty) + "</p>\n";
    std::string out = "<ul>\n";
    for (const std::string& item : items) out += "<li>" + escapeHtml(item) + "</li>\n";
    return out + "</ul>\n";
}

}  // namespace quendra::curia
