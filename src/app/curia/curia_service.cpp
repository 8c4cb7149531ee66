#include "curia_service.h"

#include "curia/archive.h"
#include "curia/check.h"
#include "curia/check_page.h"
#include "curia/error.h"
#include "curia/html.h"
#include "curia/office_page.h"
#include "curia/parish_register.h"
#include "report_child.h"

#include <httplib.h>

#include <atomic>
#include <csignal>
#include <ctime>
#include <iostream>
#include <mutex>
#include <thread>

namespace quendra::curia {

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

// "20261209-211445", UTC.
std::string stampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    return std::to_string(utc.tm_year + 1900) + two(utc.tm_mon + 1) + two(utc.tm_mday) + "-" + two(utc.tm_hour) +
           two(utc.tm_min) + two(utc.tm_sec);
}

void page(httplib::Response& response, int status, const std::string& html) {
    response.status = status;
    response.set_content(html, kHtml);
}

void errorPage(httplib::Response& response, int status, const std::string& title, const std::string& text) {
    page(response, status, htmlDocument(title, "<p>" + escapeHtml(text) + "</p>\n<p><a href=\"/\">Tutte le parrocchie</a></p>"));
}

class Service {
public:
    explicit Service(const ServiceOptions& options) : options_(options) {}

    void check(const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(archiveMutex_);
        try {
            const CheckResult result = checkTransmission(options_.inbox, options_.archive, request.get_param_value("cod"),
                                                         request.get_param_value("kr"), request.get_param_value("kw"),
                                                         stampNow());
            page(response, result.state == CheckState::BadRequest ? 400 : 200, checkPageHtml(result));
        } catch (const CuriaError& error) {
            errorPage(response, 500, "Trasmissione non archiviata",
                      std::string(error.what()) + ". Riprovi fra qualche minuto ricaricando questa pagina.");
        }
    }

    void office(const httplib::Request& request, httplib::Response& response) {
        std::vector<RegisteredParish> parishes;
        std::string note;
        if (options_.parishRegister) {
            try {
                parishes = readParishRegister(*options_.parishRegister);
            } catch (const CuriaError& error) {
                note = error.what();
            }
        }
        std::lock_guard lock(archiveMutex_);
        std::string html = officePageHtml(officeRows(archivedYears(options_.archive), parishes),
                                          request.get_param_value("ordine"));
        if (!note.empty()) html.insert(html.find("</h1>") + 6, "<p class=\"danni\">" + escapeHtml(note) + "</p>\n");
        page(response, 200, html);
    }

    void parishYear(const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(archiveMutex_);
        const auto year = archivedYear(options_.archive, request.get_param_value("chiave"), request.get_param_value("anno"));
        const auto files = year ? filedFiles(year->current) : std::nullopt;
        if (!files) return errorPage(response, 404, "Esercizio non trovato", "L'archivio non contiene questo esercizio.");
        const YearReview review = reviewYear(*files, yearNumberOf(*files));
        page(response, 200, parishYearPageHtml(*year, review));
    }

    void document(const httplib::Request& request, httplib::Response& response) {
        const std::string kind = request.get_param_value("tipo");
        if (kind != "bilancio" && kind != "giornale" && kind != "cartella") {
            return errorPage(response, 404, "Documento sconosciuto", "Documenti: bilancio, giornale, cartella.");
        }
        std::optional<ArchivedYear> year;
        std::optional<FiledFiles> files;
        {
            std::lock_guard lock(archiveMutex_);
            year = archivedYear(options_.archive, request.get_param_value("chiave"), request.get_param_value("anno"));
            if (year) files = filedFiles(year->current);
        }
        if (!files) return errorPage(response, 404, "Esercizio non trovato", "L'archivio non contiene questo esercizio.");
        // Transmission folders are never changed once filed, so the report reads them unlocked.
        const std::string yearNumber = yearNumberOf(*files);
        const MadeDocument made = makeDocument(options_.reportProgram, kind, files->journal, files->chart, yearNumber);
        if (!made.error.empty()) return errorPage(response, 500, "Documento non disponibile", made.error);
        const bool workbook = kind == "cartella";
        const std::string name = kind + "-" + year->key + "-" + yearNumber + (workbook ? ".xlsx" : ".pdf");
        response.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
        response.set_content(made.bytes, workbook ? "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"
                                                  : "application/pdf");
    }

private:
    static std::string yearNumberOf(const FiledFiles& files) { return files.journal.filename().string().substr(2, 6); }

    ServiceOptions options_;
    std::mutex archiveMutex_;
};

}  // namespace

int serve(const ServiceOptions& options) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    Service service(options);
    httplib::Server server;
    server.set_payload_max_length(64 * 1024);
    server.set_read_timeout(10, 0);
    server.set_write_timeout(60, 0);
    server.set_default_headers({{"Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'"},
                                {"X-Content-Type-Options", "nosniff"},
                                {"Referrer-Policy", "no-referrer"},
                                {"Cache-Control", "no-store"}});
    server.Get("/upload/tovald/checktovald.php",
               [&](const httplib::Request& q, httplib::Response& r) { service.check(q, r); });
    server.Get("/", [&](const httplib::Request& q, httplib::Response& r) { service.office(q, r); });
    server.Get("/parrocchia", [&](const httplib::Request& q, httplib::Response& r) { service.parishYear(q, r); });
    server.Get("/documento", [&](const httplib::Request& q, httplib::Response& r) { service.document(q, r); });
    // Whatever escapes a handler (a folder that cannot be read) is a plain Italian page.
    server.set_exception_handler([](const httplib::Request&, httplib::Response& r, std::exception_ptr) {
        errorPage(r, 500, "Errore del servizio", "La richiesta non è riuscita. Riprovi fra qualche minuto.");
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& r) {
        if (r.body.empty()) errorPage(r, r.status, "Pagina non trovata", "Questo indirizzo non esiste.");
    });

    const int port = options.port == 0 ? server.bind_to_any_port(options.host)
                                       : (server.bind_to_port(options.host, options.port) ? options.port : -1);
    if (port < 0) {
        std::cerr << "Impossibile ascoltare su " << options.host << ":" << options.port << "\n";
        return 1;
    }
    std::cout << "In ascolto su " << options.host << ":" << port << std::endl;
    std::atomic<bool> stopping{false};
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        stopping = true;
        server.stop();
    });
    server.listen_after_bind();
    // A listen that ended on its own leaves the stopper waiting: wake it.
    if (!stopping) pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}

}  // namespace quendra::curia
