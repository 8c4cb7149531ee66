#include "printing/report_command.h"

#include "printing/report_catalog.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <variant>

using namespace quendra;
using namespace quendra::printing;

namespace {

struct DataDir {
    test::TempDir dir;

    DataDir() {
        test::writeFile(dir / "krw/tovald.INI", "[Datei]\nHauptdatei=KR202601.dbf\nKonto=KW202601.dbf\n");
        test::writeFile(dir / "krw/kr202601.dbf", "x");
        test::writeFile(dir / "krw/kw202601.dbf", "x");
        test::writeFile(dir / "krw/kr202502.dbf", "x");
        test::writeFile(dir / "krw/kw202502.dbf", "x");
    }
    std::filesystem::path data() const { return dir / "krw"; }
};

std::string errorOf(const std::vector<std::string>& args, const std::filesystem::path& dataDir) {
    try {
        parseReportCommand(args, dataDir);
    } catch (const ReportCommandError& error) {
        return error.what();
    }
    return "(nessun errore)";
}

}  // namespace

TEST(ReportCommand, DataDirectoryAndItsCurrentYearAreTheDefaults) {
    DataDir d;
    const auto command = parseReportCommand({"piano", "--pdf", "out.pdf"}, d.data());
    EXPECT_EQ(command.report, "piano");
    EXPECT_EQ(command.year.yearNumber, "202601");
    EXPECT_EQ(command.year.journalPath, d.data() / "kr202601.dbf");
    EXPECT_EQ(command.year.yearSlash(), "2026/01");
    EXPECT_EQ(command.pdf, "out.pdf");
    EXPECT_FALSE(command.filePair);

    const auto other = parseReportCommand({"--data", d.data().string(), "--year", "202502", "liquidita", "--pdf",
                                           "x.pdf", "--da", "01.04.2025", "--a", "30.06.2025", "--casse",
                                           "c0101,C0201", "--dettagli"},
                                          "/nowhere");
    EXPECT_EQ(other.year.chartPath, d.data() / "kw202502.dbf");
    EXPECT_EQ(std::get<storage::Date>(*other.options.from), storage::Date::fromYmd(2025, 4, 1));
    EXPECT_EQ(std::get<storage::Date>(*other.options.to), storage::Date::fromYmd(2025, 6, 30));
    EXPECT_EQ(other.options.cashBoxes, (std::vector<std::string>{"C0101", "C0201"}));
    EXPECT_TRUE(other.options.details);
    const auto chosen = parseReportCommand({"estratto", "--pdf", "x.pdf", "--testo", "luce", "--conti", "A07"}, d.data());
    EXPECT_EQ(chosen.options.text, "luce");
    EXPECT_EQ(chosen.options.accounts, (std::vector<std::string>{"A07"}));
    EXPECT_TRUE(chosen.options.details) << "detailed, as the print window's ledgers";
    EXPECT_FALSE(parseReportCommand({"estratto", "--pdf", "x.pdf", "--conti", "A07", "--senza-dettagli"}, d.data())
                     .options.details);
    EXPECT_EQ(std::get<long long>(*parseReportCommand({"giornale", "--pdf", "x.pdf", "--da", "50"}, d.data()).options.from),
              50);
}

TEST(ReportCommand, FilePairTakesTheYearFromTheJournalName) {
    DataDir d;
    test::writeFile(d.dir / "in/San-Vito_KR202601.DBF", "x");
    test::writeFile(d.dir / "in/piano.dbf", "x");
    const auto command = parseReportCommand(
        {"--journal", (d.dir / "in/San-Vito_KR202601.DBF").string(), "--chart", (d.dir / "in/piano.dbf").string(),
         "piano", "--pdf", "p.pdf"},
        "/nowhere");
    EXPECT_TRUE(command.filePair);
    EXPECT_EQ(command.year.yearNumber, "202601");
    EXPECT_EQ(command.year.chartPath, d.dir / "in/piano.dbf");
    EXPECT_EQ(errorOf({"--journal", (d.dir / "in/piano.dbf").string(), "--chart", (d.dir / "in/piano.dbf").string(),
                       "piano", "--pdf", "p.pdf"},
                      "/nowhere"),
              "Esercizio non riconoscibile dal nome piano.dbf: indicare --year");
}

TEST(ReportCommand, BadCommandLinesGiveOneItalianLine) {
    DataDir d;
    const auto data = d.data();
    EXPECT_EQ(errorOf({"piano"}, data), "Manca --pdf FILE: il file PDF da scrivere");
    EXPECT_EQ(errorOf({"--pdf", "x.pdf"}, data), "Manca il nome della stampa (vedere --help)");
    EXPECT_EQ(errorOf({"bilanciox", "--pdf", "x.pdf"}, data), "Stampa sconosciuta: bilanciox (vedere --help)");
    EXPECT_EQ(errorOf({"piano", "--pdf", "x.pdf", "--colore", "rosso"}, data), "Opzione sconosciuta: --colore (vedere --help)");
    EXPECT_EQ(errorOf({"piano", "--pdf"}, data), "Manca il valore dell'opzione --pdf");
    EXPECT_EQ(errorOf({"giornale", "--pdf", "x.pdf", "--da", "32.13.2024"}, data),
              "Valore non valido per --da: \"32.13.2024\" (un numero o una data gg.mm.aaaa)");
    EXPECT_EQ(errorOf({"liquidita", "--pdf", "x.pdf", "--casse", "C01"}, data),
              "Valore non valido per --casse: \"C01\" (per esempio C0101)");
    EXPECT_EQ(errorOf({"piano", "--pdf", "x.pdf", "--year", "2026"}, data),
              "Valore non valido per --year: \"2026\" (anno e numero, per esempio 202601)");
    EXPECT_EQ(errorOf({"piano", "--pdf", "x.pdf", "--year", "202403"}, data),
              "File non trovato: " + (data / "kr202403.dbf").string());
    EXPECT_EQ(errorOf({"piano", "--pdf", "x.pdf"}, d.dir / "altrove"),
              "Cartella dei dati non trovata: " + (d.dir / "altrove").string());
    EXPECT_EQ(errorOf({"piano", "--pdf", "x.pdf", "--journal", "a.dbf"}, data), "--journal e --chart vanno indicati insieme");
    for (const ReportEntry& entry : reportCatalog()) {
        if (entry.run == nullptr) {
            EXPECT_EQ(errorOf({std::string(entry.name), "--pdf", "x.pdf"}, data),
                      "La stampa " + std::string(entry.name) + " non è ancora disponibile");
        }
    }
}

// Every option a report reads is one the print window offers it, one at a time.
TEST(ReportCommand, OptionsAReportDoesNotReadAndRangesTheWindowCannotGiveAreRefused) {
    DataDir d;
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"giornale", "--testo", "luce"}, "--testo non si usa con la stampa giornale"},
        {{"giornale", "--casse", "C0101"}, "--casse non si usa con la stampa giornale"},
        {{"giornale", "--conti", "A07"}, "--conti non si usa con la stampa giornale"},
        {{"giornale", "--dettagli"}, "--dettagli non si usa con la stampa giornale"},
        {{"piano", "--da", "01.01.2026"}, "--da non si usa con la stampa piano"},
        {{"frontespizio", "--a", "31.12.2026"}, "--a non si usa con la stampa frontespizio"},
        {{"riepilogo", "--dettagli"}, "--dettagli non si usa con la stampa riepilogo"},
        {{"conti", "--senza-dettagli"}, "--senza-dettagli non si usa con la stampa conti"},
        {{"liquidita", "--casse", "C0101", "--dettagli", "--senza-dettagli"},
         "--dettagli e --senza-dettagli non si usano insieme"},
        {{"movimenti", "--casse", "C0101"}, "--casse non si usa con la stampa movimenti"},
        {{"liquidita", "--casse", "C0101", "--conti", "A07"}, "--conti non si usa con la stampa liquidita"},
        {{"estratto", "--conti", "A07", "--casse", "C0101"}, "--casse non si usa con la stampa estratto"},
        {{"movimenti", "--testo", "luce", "--da", "01.01.2026", "--a", "31.12.2026"},
         "--testo e --da/--a non si usano insieme: una sola opzione per volta"},
        {{"movimenti", "--testo", ""}, "Valore non valido per --testo: il testo è vuoto"},
        {{"giornale", "--da", "300", "--a", "50"},
         "L'intervallo è rovesciato: il primo limite (300) viene dopo l'ultimo (50)."},
        {{"giornale", "--da", "31.12.2026", "--a", "01.01.2026"},
         "L'intervallo è rovesciato: il primo limite (31.12.2026) viene dopo l'ultimo (01.01.2026)."},
        {{"giornale", "--da", "1", "--a", "31.12.2026"},
         "Il giornale si stampa fra due numeri di movimento o fra due date, non fra un numero e una data."},
        {{"movimenti", "--da", "30.06.2026", "--a", "01.01.2026"},
         "L'intervallo è rovesciato: il primo limite (30.06.2026) viene dopo l'ultimo (01.01.2026)."},
        {{"conti", "--da", "5"}, "Le opzioni \"data da\" e \"a data\" vogliono una data nel formato gg.mm.aaaa."},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> line = args;
        line.insert(line.end(), {"--pdf", "x.pdf"});
        EXPECT_EQ(errorOf(line, d.data()), message) << args[0] << " " << args[1];
    }
}

// Nothing of the year's folder is ever written over, under any spelling or link.
TEST(ReportCommand, OutputsThatWouldReplaceADataFileAreRefused) {
    DataDir d;
    const auto data = d.data();
    test::writeFile(data / "kr202601.mdx", "x");
    test::writeFile(data / "KW202601.MDX", "x");
    std::filesystem::create_symlink(data / "kr202601.dbf", d.dir / "link.pdf");
    std::filesystem::create_directory_symlink(data, d.dir / "dati");
    const auto refusal = [&](const std::filesystem::path& out, const std::string& name) {
        return "Il file " + out.string() + " è un file dei dati (" + name + "): scegliere un altro nome";
    };
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {data / "kr202601.dbf", "kr202601.dbf"},   {data / "KR202601.DBF", "kr202601.dbf"},
        {data / "kw202601.dbf", "kw202601.dbf"},   {data / "kr202601.MDX", "kr202601.mdx"},
        {data / "kw202601.mdx", "KW202601.MDX"},   {data / "tovald.ini", "tovald.INI"},
        {data / "kr202502.dbf", "kr202502.dbf"},   {d.dir / "link.pdf", "kr202601.dbf"},
        {d.dir / "dati/Kr202601.dbf", "kr202601.dbf"},
    };
    for (const auto& [out, name] : cases) {
        EXPECT_EQ(errorOf({"giornale", "--pdf", out.string()}, data), refusal(out, name));
        EXPECT_EQ(errorOf({"cartella", "--xlsx", out.string()}, data), refusal(out, name));
    }
    EXPECT_EQ(errorOf({"--journal", (data / "kr202601.dbf").string(), "--chart", (data / "kw202601.dbf").string(),
                       "piano", "--pdf", (data / "kr202601.mdx").string()},
                      "/nowhere"),
              refusal(data / "kr202601.mdx", "kr202601.mdx"));
    EXPECT_EQ(parseReportCommand({"giornale", "--pdf", (data / "giornale.pdf").string()}, data).pdf, data / "giornale.pdf");
}

TEST(ReportCommand, HelpListsEveryReport) {
    const auto command = parseReportCommand({"--help"}, "/nowhere");
    EXPECT_TRUE(command.help);
    const std::string help = reportCommandHelp();
    for (const ReportEntry& entry : reportCatalog()) {
        EXPECT_NE(help.find("  " + std::string(entry.name)), std::string::npos) << entry.name;
    }
    EXPECT_EQ(proposedPdfName(*findReport("piano"), "202601"), "piano-conti-2026-01.pdf");
}

TEST(ReportCommand, WorkbookTakesTheYearAndAnXlsxFileOnly) {
    DataDir d;
    const auto command = parseReportCommand({"--year", "202502", "cartella", "--xlsx", "anno.xlsx"}, d.data());
    EXPECT_TRUE(command.workbook());
    EXPECT_EQ(command.xlsx, "anno.xlsx");
    EXPECT_EQ(command.year.journalPath, d.data() / "kr202502.dbf");
    EXPECT_EQ(command.year.chartPath, d.data() / "kw202502.dbf");

    const auto data = d.data();
    EXPECT_EQ(errorOf({"cartella"}, data), "Manca --xlsx FILE: la cartella di lavoro da scrivere");
    EXPECT_EQ(errorOf({"cartella", "--xlsx", "a.xlsx", "--pdf", "a.pdf"}, data), "--pdf non si usa con cartella");
    EXPECT_EQ(errorOf({"cartella", "--xlsx", "a.xlsx", "--da", "1"}, data), "--da non si usa con cartella");
    EXPECT_EQ(errorOf({"piano", "--pdf", "a.pdf", "--xlsx", "a.xlsx"}, data), "--xlsx si usa solo con cartella");
    EXPECT_NE(reportCommandHelp().find("cartella --xlsx FILE"), std::string::npos);
}
