// A bank statement of 5,000 entries read and matched against a journal of 100,000
// movements (learned accounts, imported references, probable duplicates), beside the
// bare reading of the same statement as camt.053 and as CSV.
//
// Target: read and matched under 1 s.

#include "bankimport/proposals.h"
#include "bankimport/statement_file.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "storage/journal_record.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace quendra;
namespace fs = std::filesystem;
namespace kr = storage::journal;

constexpr int kMovements = 100'000;
constexpr int kEntries = 5'000;
constexpr std::string_view kBank = " C0201";

struct Kind {
    const char* cod;
    const char* text;
    bool credit;
};
constexpr std::array<Kind, 8> kKinds = {{
    {" E0201", "Offerta battesimo famiglia", true},
    {" E0101", "Offerte domenicali versamento", true},
    {" A0703", "Bolletta energia elettrica chiesa", false},
    {" A0701", "Bolletta telefono canonica", false},
    {" A0503", "Commissioni tenuta conto", false},
    {" A0202", "Fiori addobbi chiesa fioreria", false},
    {" E0603", "Interessi attivi conto", true},
    {" A0301", "Catechesi materiale sussidi", false},
}};
constexpr std::array<const char*, 12> kNames = {"Rossi",  "Bianchi", "Degasperi", "Moser", "Pedrotti", "Zanoni",
                                                "Ferrari", "Gottardi", "Eccher",   "Dallapè", "Tomasi",  "Leonardi"};

std::string label(int i) { return std::string(kKinds[i % kKinds.size()].text) + " " + kNames[i % kNames.size()]; }

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

class Year {
public:
    Year() {
        storage::createTable(dir_ / "kw202501.dbf", storage::chart::fields());
        {
            storage::Cursor chart(dir_ / "kw202501.dbf", storage::OpenMode::Exclusive);
            for (const Kind& kind : kKinds) addCode(chart, kind.cod);
            addCode(chart, std::string(kBank));
            addCode(chart, " C0101");
        }
        storage::createTable(dir_ / "kr202501.dbf", kr::fields());
        storage::Cursor journal(dir_ / "kr202501.dbf", storage::OpenMode::Exclusive);
        for (int i = 1; i <= kMovements; ++i) {
            const Kind& kind = kKinds[i % kKinds.size()];
            journal.append();
            journal.setNumber(kr::kNummer, i);
            journal.setDate(kr::kDatum, storage::Date::fromYmd(2025, 1 + i % 12, 1 + i % 28));
            journal.setText(kr::kCod, kind.cod);
            journal.setText(kr::kCodd, i % 2 ? std::string(kBank) : " C0101");
            journal.setText(kr::kText, label(i));
            journal.setNumber(kind.credit ? kr::kEinnahme : kr::kAusgabe, double(i % 50'000) / 100.0);
            journal.setNumber(kr::kEA, kind.credit ? 2 : 1);
            journal.post();
        }
        for (const storage::TagSpec& tag : kr::kTags) journal.addTag(tag.name, tag.field, tag.primary);
        writeStatements();
    }
    const fs::path& dir() const { return dir_; }
    fs::path camt() const { return dir_ / "estratto.xml"; }
    fs::path csv() const { return dir_ / "estratto.csv"; }

private:
    static void addCode(storage::Cursor& chart, const std::string& code) {
        chart.append();
        chart.setText(storage::chart::kCod, code);
        chart.post();
    }
    void writeStatements() const {
        std::ofstream xml(camt());
        std::ofstream csv(this->csv());
        xml << "<?xml version=\"1.0\"?>\n<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\">"
               "<BkToCstmrStmt><Stmt>\n";
        csv << "Data contabile;Data valuta;Descrizione;Importo;Riferimento\n";
        for (int i = 0; i < kEntries; ++i) {
            const Kind& kind = kKinds[(i * 7) % kKinds.size()];
            const std::string month = twoDigits(1 + i % 12);
            const std::string day = twoDigits(1 + i % 28);
            const std::string cents = twoDigits(i % 100);
            const std::string euros = std::to_string(1 + i % 900);
            const std::string text = label(i * 7) + " rif " + std::to_string(i);
            xml << "<Ntry><Amt Ccy=\"EUR\">" << euros << '.' << cents << "</Amt><CdtDbtInd>"
                << (kind.credit ? "CRDT" : "DBIT") << "</CdtDbtInd><Sts>BOOK</Sts><BookgDt><Dt>2025-" << month << '-'
                << day << "</Dt></BookgDt><AcctSvcrRef>R" << i << "</AcctSvcrRef><NtryDtls><TxDtls><RmtInf><Ustrd>"
                << text << "</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>\n";
            csv << day << '/' << month << "/2025;" << day << '/' << month << "/2025;" << text << ';'
                << (kind.credit ? "" : "-") << euros << ',' << cents << ";R" << i << '\n';
        }
        xml << "</Stmt></BkToCstmrStmt></Document>\n";
    }

    // First, so that the files go only after every cursor on them has closed.
    quendra::test::TempDir temp_;
    fs::path dir_ = temp_.path();
};

Year& year() {
    static Year y;
    return y;
}

// The year is made once, before the first timing.
void BM_ReadCamt053(benchmark::State& state) {
    const fs::path file = year().camt();
    for (auto _ : state) benchmark::DoNotOptimize(bankimport::readStatementFile(file, 2025, std::nullopt));
}
BENCHMARK(BM_ReadCamt053)->Unit(benchmark::kMillisecond);

void BM_ReadCsv(benchmark::State& state) {
    const fs::path file = year().csv();
    for (auto _ : state) benchmark::DoNotOptimize(bankimport::readStatementFile(file, 2025, std::nullopt));
}
BENCHMARK(BM_ReadCsv)->Unit(benchmark::kMillisecond);

void BM_ReadAndMatchAgainstJournal(benchmark::State& state) {
    const bankimport::ImportTarget target{year().dir(), "202501", std::string(kBank)};
    const fs::path camt = year().camt();
    for (auto _ : state) {
        const bankimport::StatementFile file = bankimport::readStatementFile(camt, 2025, std::nullopt);
        benchmark::DoNotOptimize(bankimport::propose(file.statement, target));
    }
}
BENCHMARK(BM_ReadAndMatchAgainstJournal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
