// quendra-import: a bank statement proposed as movements of a year, and with --applica
// posted, without a window.

#include "bankimport/csv_columns.h"
#include "bankimport/posting.h"
#include "bankimport/proposal_line.h"
#include "bankimport/statement_file.h"
#include "storage/account_code.h"
#include "storage/settings_file.h"
#include "storage/year_files.h"

#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace quendra;

constexpr const char* kUsage =
    "uso: quendra-import --data CARTELLA --year AAAANN --cassa CODICE FILE [--applica] [--tralascia-errori]\n"
    "  Mostra i movimenti proposti dall'estratto conto FILE (camt.053 o CSV) per la banca\n"
    "  CODICE (es. C0201) nell'esercizio AAAANN: data, lato, importo, conto proposto, stato\n"
    "  (nuovo, importato, doppio?) e causale.\n"
    "  --applica           registra i movimenti nuovi che hanno un conto e ne stampa i numeri\n"
    "  --tralascia-errori  con --applica: registra anche se alcune righe hanno errori,\n"
    "                      tralasciando quelle righe\n";

struct Options {
    std::filesystem::path data;
    std::string year;
    std::string cashBox;
    std::filesystem::path file;
    bool apply = false;
    bool skipErrors = false;
};

bool parse(int argc, char** argv, Options& options) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--applica") options.apply = true;
        else if (arg == "--tralascia-errori") options.skipErrors = true;
        else if (arg == "--data" && hasValue) options.data = argv[++i];
        else if (arg == "--year" && hasValue) options.year = argv[++i];
        else if (arg == "--cassa" && hasValue) options.cashBox = argv[++i];
        else if (arg.starts_with("--")) return false;
        else positional.push_back(arg);
    }
    if (positional.size() != 1 || options.data.empty() || options.year.empty() || options.cashBox.empty()) return false;
    options.file = positional[0];
    return true;
}

int fail(const std::string& message) {
    std::cerr << "quendra-import: " << message << '\n';
    return 1;
}

int run(const Options& options) {
    if (!storage::yearNumberOf("kr" + options.year + ".dbf")) return fail("esercizio \"" + options.year + "\" non valido");
    // Typed as in the journal's "cassa" field (C0201), or as stored.
    std::string cashBox = options.cashBox.size() == storage::kCodeLength ? options.cashBox : " " + options.cashBox;
    for (char& c : cashBox) c = char(std::toupper(static_cast<unsigned char>(c)));
    const bankimport::ImportTarget target{options.data, options.year, cashBox};
    if (!std::filesystem::exists(target.journal())) {
        return fail("l'esercizio " + options.year + " non esiste in " + options.data.string());
    }
    if (!bankimport::isCashBoxOfChart(target)) {
        return fail("\"" + options.cashBox + "\" non è una cassa o banca del piano dei conti");
    }
    const storage::Settings settings = storage::readSettings(options.data / storage::kSettingsFileName);
    const bankimport::StatementFile file = bankimport::readStatementFile(
        options.file, target.year(), bankimport::rememberedColumns(settings, target.cashBox));
    for (const bankimport::StatementError& error : file.statement.errors) {
        std::cerr << bankimport::errorLine(error) << '\n';
    }
    if (file.kind == bankimport::StatementKind::NotAStatement ||
        (file.kind == bankimport::StatementKind::Csv && !file.columns)) {
        return 1;
    }
    const std::vector<bankimport::Proposal> proposals = bankimport::propose(file.statement, target);
    for (const bankimport::Proposal& proposal : proposals) std::cout << bankimport::proposalLine(proposal) << '\n';
    const bool hasErrors = !file.statement.errors.empty();
    if (!options.apply) return hasErrors ? 1 : 0;
    if (hasErrors && !options.skipErrors) {
        return fail("nulla è stato registrato: il file ha righe con errori (--tralascia-errori per tralasciarle)");
    }
    for (const bankimport::PostedMovement& posted : bankimport::postProposals(proposals, target)) {
        std::cout << "registrato n. " << posted.number << ": " << proposals[posted.proposal].text << '\n';
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return run(options);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
