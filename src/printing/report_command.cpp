#include "printing/report_command.h"

#include "printing/journal_range.h"
#include "printing/output_guard.h"
#include "printing/report_catalog.h"
#include "storage/dbase/text_case.h"
#include "storage/year_files.h"

#include <cctype>
#include <map>
#include <regex>
#include <sstream>

namespace quendra::printing {

namespace {

const std::map<std::string, bool> kOptions = {
    // name, takes a value
    {"--data", true},  {"--year", true}, {"--journal", true}, {"--chart", true}, {"--pdf", true}, {"--xlsx", true},
    {"--da", true},    {"--a", true},    {"--testo", true},   {"--casse", true}, {"--conti", true},
    {"--dettagli", false}, {"--senza-dettagli", false}, {"--help", false},
};

bool matches(const std::string& text, const char* pattern) { return std::regex_match(text, std::regex(pattern)); }

std::vector<std::string> commaList(const std::string& option, const std::string& value, const char* pattern,
                                   const char* what) {
    std::vector<std::string> out;
    std::stringstream in(value);
    std::string item;
    while (std::getline(in, item, ',')) {
        item = storage::toUpperUtf8(item);
        if (!matches(item, pattern)) {
            throw ReportCommandError("Valore non valido per " + option + ": \"" + item + "\" (" + what + ")");
        }
        out.push_back(item);
    }
    if (out.empty()) {
        throw ReportCommandError("Valore non valido per " + option + ": lista vuota");
    }
    return out;
}

RangeBound bound(const std::string& option, const std::string& value) {
    const auto parsed = parseRangeBound(value);
    if (!parsed) {
        throw ReportCommandError("Valore non valido per " + option + ": \"" + value +
                                 "\" (un numero o una data gg.mm.aaaa)");
    }
    return *parsed;
}

// The yyyynn of a name holding "KRyyyynn" anywhere (any case).
std::string yearFromName(const std::filesystem::path& journal) {
    std::smatch match;
    const std::string name = storage::toUpperUtf8(journal.filename().string());
    if (std::regex_search(name, match, std::regex("KR([0-9]{6})"))) {
        return match[1];
    }
    return {};
}

void requireFile(const std::filesystem::path& file) {
    if (!std::filesystem::is_regular_file(file)) {
        throw ReportCommandError("File non trovato: " + file.string());
    }
}

void resolveDataYear(ReportCommand& command, const std::filesystem::path& dataDir, std::string yearNumber) {
    command.year.dataDir = dataDir;
    if (!std::filesystem::is_directory(dataDir)) {
        throw ReportCommandError("Cartella dei dati non trovata: " + dataDir.string());
    }
    command.year.settings = storage::readSettings(dataDir / storage::kSettingsFileName);
    if (yearNumber.empty()) {
        yearNumber = storage::yearNumberOf(command.year.settings.hauptdatei).value_or("");
        if (yearNumber.empty()) {
            throw ReportCommandError("Nessun esercizio corrente in " + (dataDir / storage::kSettingsFileName).string() +
                                     ": indicare --year");
        }
    }
    command.year.yearNumber = yearNumber;
    command.year.journalPath = storage::resolveCaseBlind(dataDir, storage::yearFileName(storage::YearTable::Journal, yearNumber));
    command.year.chartPath = storage::resolveCaseBlind(dataDir, storage::yearFileName(storage::YearTable::Chart, yearNumber));
}

void readReportOutput(ReportCommand& command, std::map<std::string, std::string>& values) {
    const ReportEntry* entry = findReport(command.report);
    if (entry == nullptr) {
        throw ReportCommandError("Stampa sconosciuta: " + command.report + " (vedere --help)");
    }
    if (entry->run == nullptr) {
        throw ReportCommandError("La stampa " + command.report + " non è ancora disponibile");
    }
    if (values.contains("--xlsx")) {
        throw ReportCommandError("--xlsx si usa solo con " + std::string(kWorkbookName));
    }
    if (!values.contains("--pdf") || values["--pdf"].empty()) {
        throw ReportCommandError("Manca --pdf FILE: il file PDF da scrivere");
    }
    command.pdf = values["--pdf"];
}

// The workbook holds the whole year: no selection, no PDF.
void readWorkbookOutput(ReportCommand& command, std::map<std::string, std::string>& values) {
    for (const char* option : {"--pdf", "--da", "--a", "--testo", "--casse", "--conti", "--dettagli", "--senza-dettagli"}) {
        if (values.contains(option)) {
            throw ReportCommandError(std::string(option) + " non si usa con " + std::string(kWorkbookName));
        }
    }
    if (!values.contains("--xlsx") || values["--xlsx"].empty()) {
        throw ReportCommandError("Manca --xlsx FILE: la cartella di lavoro da scrivere");
    }
    command.xlsx = values["--xlsx"];
}

// What a report reads of the options, as the print window offers them.
struct OptionUse {
    bool range = false;
    bool text = false;
    bool cashBoxes = false;
    bool accounts = false;
};

OptionUse optionUse(const ReportEntry& entry) {
    switch (entry.kind) {
    case ReportKind::ChartListing:
    case ReportKind::AnnualReport: return {};
    case ReportKind::Journal: return {true, false, false, false};
    case ReportKind::AllMovements:
    case ReportKind::AccountsAndSubs:
    case ReportKind::AccountsOnly: break;
    }
    return {true, true, entry.cashBoxMode && !entry.accountChoiceMode, entry.accountChoiceMode};
}

void refuseUnusedOptions(const ReportCommand& command, const std::map<std::string, std::string>& values) {
    const ReportEntry& entry = *findReport(command.report);
    const OptionUse use = optionUse(entry);
    const std::pair<const char*, bool> options[] = {{"--da", use.range},          {"--a", use.range},
                                                     {"--testo", use.text},        {"--casse", use.cashBoxes},
                                                     {"--conti", use.accounts},    {"--dettagli", use.cashBoxes || use.accounts},
                                                     {"--senza-dettagli", use.cashBoxes || use.accounts}};
    for (const auto& [option, used] : options) {
        if (values.contains(option) && !used) {
            throw ReportCommandError(std::string(option) + " non si usa con la stampa " + command.report);
        }
    }
    if (values.contains("--dettagli") && values.contains("--senza-dettagli")) {
        throw ReportCommandError("--dettagli e --senza-dettagli non si usano insieme");
    }
    if (values.contains("--testo") && (values.contains("--da") || values.contains("--a"))) {
        throw ReportCommandError("--testo e --da/--a non si usano insieme: una sola opzione per volta");
    }
}

// The print window's ranges: two numbers or two dates for the journal, dates for the
// other reports, never reversed.
void checkRange(const ReportCommand& command) {
    const ReportOptions& options = command.options;
    if (!options.from && !options.to) return;
    std::string error;
    if (findReport(command.report)->kind == ReportKind::Journal) {
        error = journalRangeOf(options).error;
    } else {
        try {
            dateOptionOf(options);
        } catch (const std::invalid_argument& refused) {
            error = refused.what();
        }
    }
    if (!error.empty()) throw ReportCommandError(error);
}

}  // namespace

ReportCommand parseReportCommand(const std::vector<std::string>& args, const std::filesystem::path& defaultDataDir) {
    ReportCommand command;
    std::map<std::string, std::string> values;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        const auto option = kOptions.find(arg);
        if (option == kOptions.end()) {
            throw ReportCommandError("Opzione sconosciuta: " + arg + " (vedere --help)");
        }
        if (!option->second) {
            values[arg] = "";
            continue;
        }
        if (i + 1 >= args.size()) {
            throw ReportCommandError("Manca il valore dell'opzione " + arg);
        }
        values[arg] = args[++i];
    }
    if (values.contains("--help")) {
        command.help = true;
        return command;
    }
    if (positional.size() != 1) {
        throw ReportCommandError(positional.empty() ? "Manca il nome della stampa (vedere --help)"
                                                    : "Una sola stampa per volta: " + positional[1]);
    }
    command.report = positional[0];
    if (command.workbook()) {
        readWorkbookOutput(command, values);
    } else {
        readReportOutput(command, values);
    }

    if (!command.workbook()) refuseUnusedOptions(command, values);
    ReportOptions& options = command.options;
    if (values.contains("--testo") && values["--testo"].empty()) {
        throw ReportCommandError("Valore non valido per --testo: il testo è vuoto");
    }
    if (values.contains("--da")) options.from = bound("--da", values["--da"]);
    if (values.contains("--a")) options.to = bound("--a", values["--a"]);
    if (values.contains("--testo")) options.text = values["--testo"];
    if (values.contains("--casse")) options.cashBoxes = commaList("--casse", values["--casse"], "[A-Z][0-9]{4}", "per esempio C0101");
    if (values.contains("--conti")) options.accounts = commaList("--conti", values["--conti"], "[A-Z][0-9]{2}", "per esempio A07");
    if (!command.workbook()) checkRange(command);
    const ReportEntry* entry = findReport(command.report);
    // The ledgers are detailed unless asked otherwise, as the print window offers them.
    options.details = entry != nullptr && entry->cashBoxMode && !values.contains("--senza-dettagli");
    if (entry != nullptr && entry->accountChoiceMode && options.accounts.empty()) {
        throw ReportCommandError("Devi scegliere un contocorrente: --conti A07,...");
    }
    if (entry != nullptr && entry->cashBoxMode && !entry->accountChoiceMode && options.cashBoxes.empty()) {
        throw ReportCommandError("Devi scegliere una cassa: --casse C0101,...");
    }

    std::string yearNumber = values.contains("--year") ? values["--year"] : "";
    if (!yearNumber.empty() && !matches(yearNumber, "[0-9]{4}(0[1-9]|[1-9][0-9])")) {
        throw ReportCommandError("Valore non valido per --year: \"" + yearNumber + "\" (anno e numero, per esempio 202601)");
    }
    const bool journal = values.contains("--journal");
    const bool chart = values.contains("--chart");
    if (journal != chart) {
        throw ReportCommandError("--journal e --chart vanno indicati insieme");
    }
    if (journal) {
        if (values.contains("--data")) {
            throw ReportCommandError("--data non si usa con --journal e --chart");
        }
        command.filePair = true;
        command.year.journalPath = values["--journal"];
        command.year.chartPath = values["--chart"];
        command.year.dataDir = command.year.journalPath.parent_path();
        command.year.yearNumber = yearNumber.empty() ? yearFromName(command.year.journalPath) : yearNumber;
        if (command.year.yearNumber.empty()) {
            throw ReportCommandError("Esercizio non riconoscibile dal nome " + command.year.journalPath.filename().string() +
                                     ": indicare --year");
        }
    } else {
        resolveDataYear(command, values.contains("--data") ? std::filesystem::path(values["--data"]) : defaultDataDir,
                        yearNumber);
    }
    requireFile(command.year.journalPath);
    requireFile(command.year.chartPath);
    if (const std::string refusal = overwriteRefusal(command.workbook() ? command.xlsx : command.pdf, command.year);
        !refusal.empty()) {
        throw ReportCommandError(refusal);
    }
    return command;
}

std::string reportCommandHelp() {
    std::string names;
    for (const ReportEntry& entry : reportCatalog()) {
        names += "  " + std::string(entry.name) + (entry.run == nullptr ? "  (non ancora disponibile)" : "") + "\n";
    }
    return "Uso:\n"
           "  quendra-report [--data CARTELLA] [--year AAAANN] STAMPA [OPZIONI] --pdf FILE\n"
           "  quendra-report --journal KR.dbf --chart KW.dbf [--year AAAANN] STAMPA [OPZIONI] --pdf FILE\n"
           "  quendra-report [--data CARTELLA | --journal KR.dbf --chart KW.dbf] [--year AAAANN] cartella --xlsx FILE\n"
           "\n"
           "Scrive la stampa in un file PDF, senza schermo; \"cartella\" scrive invece l'esercizio come\n"
           "cartella di lavoro Excel, la stessa dell'esportazione in Excel.\n"
           "CARTELLA: la cartella dei dati (predefinita: quella dell'installazione); AAAANN: l'esercizio\n"
           "(predefinito: l'esercizio corrente di tovald.INI, oppure KRaaaann nel nome del giornale).\n"
           "\n"
           "Stampe:\n" +
           names +
           "\n"
           "Opzioni:\n"
           "  --da X --a Y        intervallo: numeri di movimento o date gg.mm.aaaa\n"
           "  --testo T           solo i movimenti il cui oggetto contiene T\n"
           "  --casse C0101,...   casse e contocorrenti scelti\n"
           "  --conti A07,...     conti scelti\n"
           "  --dettagli          visualizzazione dettagliata (predefinita)\n"
           "  --senza-dettagli    solo intestazioni e somme\n"
           "  --help              questo testo\n";
}

}  // namespace quendra::printing
