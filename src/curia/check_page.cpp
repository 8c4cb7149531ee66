#include "curia/check_page.h"

#include "curia/html.h"

namespace quendra::curia {

namespace {

std::string arrivalText(const ArrivedFile& file) {
    switch (file.state) {
    case Arrival::Present: return "arrivato";
    case Arrival::TooLarge: return "troppo grande";
    case Arrival::Missing: break;
    }
    return "non arrivato";
}

std::string parishTable(const ReceivedInfo& info) {
    return "<h2>Parrocchia</h2>\n<table>\n" + labelRow("Parrocchia", info.name) + labelRow("Luogo", info.place) +
           labelRow("Decanato", info.deanery) + labelRow("Email", info.email) +
           labelRow("Annotazioni", info.notes) + labelRow("Anno dell'esercizio", info.year) + "</table>\n";
}

std::string notArrived(const CheckResult& result) {
    const TransmissionName& name = *result.name;
    return "<p>La trasmissione " + escapeHtml(name.code) +
           " non è ancora arrivata completa. Riprovi fra qualche minuto ricaricando questa pagina; se il "
           "messaggio resta, ripeta la trasmissione dal programma.</p>\n<table>\n" +
           labelRow(name.code + name.journalName, arrivalText(result.arrived.journal)) +
           labelRow(name.code + name.chartName, arrivalText(result.arrived.chart)) +
           labelRow(name.code + std::string(kInfoFileName), arrivalText(result.arrived.info)) + "</table>\n";
}

std::string damaged(const CheckResult& result) {
    return "<p class=\"danni\">La trasmissione " + escapeHtml(result.name->code) +
           " è danneggiata e non è stata archiviata. Ripeta la trasmissione dal programma.</p>\n" +
           "<h2>Problemi riscontrati</h2>\n" + textList(result.review.damage, "") +
           (result.review.info.name.empty() ? std::string() : parishTable(result.review.info));
}

std::string filed(const CheckResult& result) {
    const TransmissionName& name = *result.name;
    const YearReview& review = result.review;
    std::string body = "<p class=\"ok\">La trasmissione " + escapeHtml(name.code) +
                       (result.earlier ? " era già arrivata completa ed è archiviata."
                                       : " è arrivata completa ed è stata archiviata.") +
                       "</p>\n<table>\n" + labelRow(name.journalName, "tabella dBase integra (giornale)") +
                       labelRow(name.chartName, "tabella dBase integra (piano dei conti)") +
                       labelRow(std::string(kInfoFileName), "arrivato") +
                       (review.planned ? labelRow(name.budgetName(), "tabella dBase integra (preventivo)") : "") +
                       "</table>\n" + parishTable(review.info) + "<h2>Cifre dell'esercizio " + escapeHtml(name.year()) +
                       "</h2>\n" + figuresTable(review.figures) + plannedSection(review.planned) + "<h2>Avvisi</h2>\n";
    body += review.warnings.empty() ? textList({}, "Nessun avviso.")
                                    : "<div class=\"avvisi\">" + textList(review.warnings, "") + "</div>\n";
    return body;
}

}  // namespace

std::string checkPageHtml(const CheckResult& result) {
    switch (result.state) {
    case CheckState::NotArrived:
        return htmlDocument("Trasmissione " + result.name->code + ": non ancora arrivata", notArrived(result));
    case CheckState::Damaged:
        return htmlDocument("Trasmissione " + result.name->code + ": danneggiata", damaged(result));
    case CheckState::Filed:
        return htmlDocument("Trasmissione " + result.name->code + ": ricevuta", filed(result));
    case CheckState::BadRequest:
        break;
    }
    return htmlDocument("Verifica della trasmissione",
                        "<p>L'indirizzo non indica una trasmissione: servono il codice di cinque cifre (cod) e i "
                        "nomi dei file del giornale (kr, KRaaaann.dbf) e del piano dei conti (kw, KWaaaann.dbf) "
                        "dello stesso esercizio.</p>");
}

}  // namespace quendra::curia
