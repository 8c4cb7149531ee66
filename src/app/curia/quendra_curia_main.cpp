// quendra-curia: the diocesan office's side of the transmissions.

#include "curia/consolidation.h"
#include "curia/error.h"
#include "curia/parish_register.h"
#include "curia_service.h"
#include "export/export_error.h"

#ifdef QUENDRA_CURIA_PDF
#include "ConsolidationPdf.h"

#include <QGuiApplication>
#endif

#include <charconv>
#include <clocale>
#include <iostream>
#include <map>
#include <regex>
#include <unistd.h>

using namespace quendra;

namespace {

constexpr const char* kHelp =
    "Uso:\n"
    "  quendra-curia serve --inbox CARTELLA --archive CARTELLA [--listen 127.0.0.1:8080]\n"
    "                      [--registro PARROCCHIE.csv] [--report PROGRAMMA]\n"
    "  quendra-curia consolida --archive CARTELLA --year AAAA --xlsx FILE [--pdf FILE]\n"
    "                          [--registro PARROCCHIE.csv]\n"
    "\n"
    "serve: la pagina di verifica delle trasmissioni (/upload/tovald/checktovald.php), che archivia\n"
    "  ogni trasmissione completa, e la pagina dell'ufficio (/) con tutte le parrocchie.\n"
    "consolida: il rendiconto consolidato della diocesi per un anno, una riga per parrocchia.\n"
    "--registro: l'elenco delle parrocchie (nome;luogo;decanato), per sapere chi manca.\n";

int fail(const std::string& message) {
    std::cerr << message << "\n";
    return 2;
}

struct Arguments {
    std::string command;
    std::map<std::string, std::string> values;
};

Arguments parse(int argc, char** argv) {
    static const std::vector<std::string> known = {"--inbox", "--archive", "--listen", "--registro",
                                                   "--report", "--year", "--xlsx", "--pdf"};
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            args.command = "--help";
            return args;
        }
        if (!arg.starts_with("--")) {
            if (!args.command.empty()) throw curia::CuriaError("Argomento inatteso: " + arg);
            args.command = arg;
            continue;
        }
        if (std::find(known.begin(), known.end(), arg) == known.end()) {
            throw curia::CuriaError("Opzione sconosciuta: " + arg + " (vedere --help)");
        }
        if (i + 1 >= argc) throw curia::CuriaError("Manca il valore dell'opzione " + arg);
        args.values[arg] = argv[++i];
    }
    return args;
}

std::string required(const Arguments& args, const std::string& option) {
    const auto found = args.values.find(option);
    if (found == args.values.end() || found->second.empty()) throw curia::CuriaError("Manca l'opzione " + option);
    return found->second;
}

std::filesystem::path folder(const Arguments& args, const std::string& option) {
    const std::filesystem::path dir = required(args, option);
    if (!std::filesystem::is_directory(dir)) throw curia::CuriaError("Cartella non trovata: " + dir.string());
    return dir;
}

std::vector<curia::RegisteredParish> parishRegister(const Arguments& args) {
    const auto found = args.values.find("--registro");
    return found == args.values.end() ? std::vector<curia::RegisteredParish>{} : curia::readParishRegister(found->second);
}

// quendra-report beside this program.
std::filesystem::path reportBeside() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path() : self.parent_path()) / "quendra-report";
}

int serve(const Arguments& args) {
    curia::ServiceOptions options;
    options.inbox = folder(args, "--inbox");
    options.archive = folder(args, "--archive");
    if (const auto listen = args.values.find("--listen"); listen != args.values.end()) {
        std::smatch match;
        int port = -1;
        if (std::regex_match(listen->second, match, std::regex("(.+):([0-9]{1,5})"))) {
            const std::string digits = match[2];
            std::from_chars(digits.data(), digits.data() + digits.size(), port);
        }
        if (port < 0 || port > 65535) throw curia::CuriaError("Valore non valido per --listen: " + listen->second);
        options.host = match[1];
        options.port = port;
    }
    if (args.values.contains("--registro")) options.parishRegister = args.values.at("--registro");
    options.reportProgram = args.values.contains("--report") ? std::filesystem::path(args.values.at("--report"))
                                                              : reportBeside();
    return curia::serve(options);
}

int consolidate(const Arguments& args) {
    const std::filesystem::path archive = folder(args, "--archive");
    const std::string year = required(args, "--year");
    if (!std::regex_match(year, std::regex("[0-9]{4}"))) throw curia::CuriaError("Valore non valido per --year: " + year);
    const std::filesystem::path xlsx = required(args, "--xlsx");
    const curia::Consolidation result = curia::consolidate(archive, year, parishRegister(args));
    curia::saveConsolidationWorkbook(result, xlsx);
    if (args.values.contains("--pdf")) {
#ifdef QUENDRA_CURIA_PDF
        // No display, and none of Qt's English chatter on stderr.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        int argc = 1;
        char name[] = "quendra-curia";
        char* argv[] = {name, nullptr};
        QGuiApplication app(argc, argv);
        // Qt has just taken the user's locale; the amounts are formatted by our own rules.
        std::setlocale(LC_NUMERIC, "C");
        if (const std::string error = curia::writeConsolidationPdf(result, required(args, "--pdf")); !error.empty()) {
            throw curia::CuriaError(error);
        }
#else
        throw curia::CuriaError("Questa versione di quendra-curia non scrive PDF: manca Qt");
#endif
    }
    std::cout << result.parishes.size() << " parrocchie, " << result.warnings.size() << " avvisi, "
              << result.missing.size() << " mancanti\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Arguments args = parse(argc, argv);
        if (args.command == "--help") {
            std::cout << kHelp;
            return 0;
        }
        if (args.command == "serve") return serve(args);
        if (args.command == "consolida") return consolidate(args);
        return fail(args.command.empty() ? "Manca il comando: serve o consolida (vedere --help)"
                                         : "Comando sconosciuto: " + args.command + " (vedere --help)");
    } catch (const curia::CuriaError& error) {
        return fail(error.what());
    } catch (const spreadsheet::ExportError& error) {
        return fail(error.what());
    } catch (const std::exception& error) {
        return fail(std::string("Errore: ") + error.what());
    }
}
