#include "curia/office_page.h"

#include "curia/html.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace quendra::curia {

namespace {

std::string stateText(const OfficeRow& row) {
    switch (row.state) {
    case YearState::Received: return "ricevuto";
    case YearState::WithWarnings: return "ricevuto, con avvisi";
    case YearState::Missing: break;
    }
    return "mancante";
}

std::string stateClass(YearState state) {
    switch (state) {
    case YearState::Received: return "ok";
    case YearState::WithWarnings: return "avvisi";
    case YearState::Missing: break;
    }
    return "danni";
}

void sortRows(std::vector<OfficeRow>& rows, std::string_view order) {
    const auto key = [order](const OfficeRow& r) {
        if (order == "luogo") return std::tie(r.deanery, r.place, r.name, r.year);
        if (order == "anno") return std::tie(r.deanery, r.year, r.name, r.place);
        return std::tie(r.deanery, r.name, r.place, r.year);
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const OfficeRow& a, const OfficeRow& b) {
        if (order == "stato" && (a.deanery != b.deanery || a.state != b.state)) {
            return std::tie(a.deanery, a.state) < std::tie(b.deanery, b.state);
        }
        return key(a) < key(b);
    });
}

std::string heading(std::string_view order) {
    std::string out = "<tr>";
    for (const auto& [name, label] : {std::pair{"parrocchia", "Parrocchia"}, {"luogo", "Luogo"}, {"anno", "Anno"},
                                      {"stato", "Stato"}}) {
        out += name == order ? "<th>" + escapeHtml(label) + " &#9662;</th>"
                             : "<th><a href=\"/?ordine=" + std::string(name) + "\">" + escapeHtml(label) + "</a></th>";
    }
    return out + "<th>Trasmissioni</th></tr>\n";
}

std::string rowHtml(const OfficeRow& row) {
    const std::string name = row.name.empty() ? "(senza nome)" : row.name;
    const std::string cell = row.state == YearState::Missing
                                 ? escapeHtml(name)
                                 : "<a href=\"" + escapeHtml(parishYearLink(row.key, row.year)) + "\">" +
                                       escapeHtml(name) + "</a>";
    return "<tr><td>" + cell + "</td><td>" + escapeHtml(row.place) + "</td><td>" + escapeHtml(row.year) +
           "</td><td class=\"" + stateClass(row.state) + "\">" + escapeHtml(stateText(row)) +
           "</td><td class=\"num\">" + std::to_string(row.transmissions) + "</td></tr>\n";
}

// "20261209-215658-12345" as "09.12.2026 21:56:58 UTC, codice 12345".
std::string transmissionLabel(const std::string& folder) {
    if (folder.size() != 21) return folder;
    return folder.substr(6, 2) + "." + folder.substr(4, 2) + "." + folder.substr(0, 4) + " " + folder.substr(9, 2) +
           ":" + folder.substr(11, 2) + ":" + folder.substr(13, 2) + " UTC, codice " + folder.substr(16);
}

}  // namespace

std::vector<OfficeRow> officeRows(const std::vector<ArchivedYear>& years, const std::vector<RegisteredParish>& parishes) {
    std::map<std::string, const RegisteredParish*> registered;
    for (const RegisteredParish& parish : parishes) registered.emplace(parish.key, &parish);
    std::vector<OfficeRow> rows;
    std::set<std::string> yearsSent;
    std::set<std::pair<std::string, std::string>> sent;
    for (const ArchivedYear& year : years) {
        OfficeRow row{year.key, year.info.name, year.info.place, year.info.deanery, year.year,
                      year.warnings.empty() ? YearState::Received : YearState::WithWarnings, year.transmissions};
        if (const auto found = registered.find(year.key); found != registered.end()) {
            row.name = found->second->name;
            row.place = found->second->place;
            row.deanery = found->second->deanery;
        }
        rows.push_back(std::move(row));
        yearsSent.insert(year.year);
        sent.emplace(year.key, year.year);
    }
    for (const RegisteredParish& parish : parishes) {
        for (const std::string& year : yearsSent) {
            if (sent.contains({parish.key, year})) continue;
            rows.push_back({parish.key, parish.name, parish.place, parish.deanery, year, YearState::Missing, 0});
            sent.emplace(parish.key, year);
        }
    }
    return rows;
}

std::string officePageHtml(std::vector<OfficeRow> rows, std::string_view order) {
    if (order != "luogo" && order != "anno" && order != "stato") order = "parrocchia";
    sortRows(rows, order);
    std::string body;
    if (rows.empty()) body = "<p>L'archivio non contiene ancora nessuna trasmissione.</p>\n";
    for (std::size_t i = 0; i < rows.size();) {
        const std::string& deanery = rows[i].deanery;
        body += "<h2>" + escapeHtml(deanery.empty() ? "(senza decanato)" : "Decanato: " + deanery) + "</h2>\n<table>\n" +
                heading(order);
        for (; i < rows.size() && rows[i].deanery == deanery; ++i) body += rowHtml(rows[i]);
        body += "</table>\n";
    }
    return htmlDocument("Rendiconti delle parrocchie", body);
}

std::string parishYearLink(std::string_view key, std::string_view year) {
    return "/parrocchia?chiave=" + std::string(key) + "&anno=" + std::string(year);
}

std::string documentLink(std::string_view key, std::string_view year, std::string_view kind) {
    return "/documento?chiave=" + std::string(key) + "&anno=" + std::string(year) + "&tipo=" + std::string(kind);
}

std::string parishYearPageHtml(const ArchivedYear& year, const YearReview& review) {
    const ReceivedInfo& info = year.info;
    std::string body = "<p><a href=\"/\">Tutte le parrocchie</a></p>\n<table>\n" + labelRow("Parrocchia", info.name) +
                       labelRow("Luogo", info.place) + labelRow("Decanato", info.deanery) +
                       labelRow("Email", info.email) + labelRow("Annotazioni", info.notes) +
                       labelRow("Trasmissioni ricevute", std::to_string(year.transmissions)) +
                       labelRow("Trasmissione corrente", transmissionLabel(year.current.filename().string())) +
                       "</table>\n";
    if (!review.whole()) {
        body += "<h2>Problemi riscontrati</h2>\n<div class=\"danni\">" + textList(review.damage, "") + "</div>\n";
    } else {
        body += "<h2>Cifre</h2>\n" + figuresTable(review.figures) + plannedSection(review.planned) + "<h2>Avvisi</h2>\n" +
                (review.warnings.empty() ? textList({}, "Nessun avviso.")
                                         : "<div class=\"avvisi\">" + textList(review.warnings, "") + "</div>\n");
    }
    body += "<h2>Documenti</h2>\n<ul>\n";
    for (const auto& [kind, label] : {std::pair{"bilancio", "Rendiconto (PDF)"}, {"giornale", "Giornale (PDF)"},
                                      {"cartella", "Cartella di lavoro (xlsx)"}}) {
        body += "<li><a href=\"" + escapeHtml(documentLink(year.key, year.year, kind)) + "\">" + escapeHtml(label) +
                "</a></li>\n";
    }
    body += "</ul>\n";
    return htmlDocument("Esercizio " + year.year + " - " + (info.name.empty() ? year.key : info.name), body);
}

}  // namespace quendra::curia
