#include "storage/demo_data.h"

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/open_table.h"
#include "storage/journal_record.h"
#include "storage/settings_file.h"
#include "storage/year_creation.h"
#include "storage/year_files.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>

namespace quendra::storage {

namespace {

// A deterministic source of choices; std's distributions differ between libraries.
class Dice {
public:
    explicit Dice(unsigned seed) : engine_(seed) {}
    int below(int n) { return int(engine_() % std::uint32_t(n)); }
    double cents(int lowEuro, int highEuro) { return (lowEuro * 100 + below((highEuro - lowEuro) * 100)) / 100.0; }
    template <typename T>
    const T& pick(const std::vector<T>& items) { return items[std::size_t(below(int(items.size())))]; }

private:
    std::mt19937 engine_;
};

struct ChartCodes {
    std::vector<std::string> income, expense, cash, bank, otherAssets, bankLoans;
};

bool startsWith(const std::string& text, std::string_view prefix) { return text.rfind(prefix, 0) == 0; }

ChartCodes readCodes(const std::filesystem::path& chartPath) {
    ChartCodes codes;
    Cursor chart(chartPath, OpenMode::Shared);
    chart.setOrder(chart::kCod);
    for (chart.first(); !chart.eof(); chart.next()) {
        const std::string cod = chart.asText(chart::kCod);
        if (cod.size() != 6 || cod[0] != ' ') continue;
        if (startsWith(cod, " E")) codes.income.push_back(cod);
        else if (startsWith(cod, " A")) codes.expense.push_back(cod);
        else if (startsWith(cod, " C01")) codes.cash.push_back(cod);
        else if (startsWith(cod, " C02")) codes.bank.push_back(cod);
        else if (startsWith(cod, " C") && cod.compare(2, 2, "04") > 0) codes.otherAssets.push_back(cod);
        else if (startsWith(cod, " P02")) codes.bankLoans.push_back(cod);
    }
    for (const auto* list : {&codes.income, &codes.expense, &codes.cash, &codes.bank}) {
        if (list->empty()) throw std::runtime_error("Il piano dei conti modello non ha i conti necessari alla demo");
    }
    return codes;
}

void fillParishHeader(const std::filesystem::path& chartPath) {
    Cursor chart(chartPath, OpenMode::Exclusive);
    chart.setOrder(chart::kCod);
    if (!chart.findKey(std::string("  PFAR"))) return;
    chart.edit();
    chart.setText(chart::kText, "Parrocchia San Michele Arcangelo");
    chart.setText(chart::kTextH, "Borgo Velmora");
    chart.setText(chart::kTextA, "Decanato di Varnelia");
    chart.post();
}

struct Row {
    Date date;
    std::string cod, codd, text;
    double amount = 0;
    journal::Side side = journal::Side::Entrata;
    bool opening = false;
};

void append(Cursor& journal, int number, const Row& row) {
    journal.append();
    journal.setInteger(journal::kNummer, number);
    journal.setDate(journal::kDatum, row.date);
    journal.setText(journal::kCod, row.cod);
    journal.setText(journal::kCodd, row.codd);
    journal.setText(journal::kText, row.text);
    const bool out = row.side == journal::Side::Uscita;
    journal.setNumber(journal::kEinnahme, out ? 0 : row.amount);
    journal.setNumber(journal::kAusgabe, out ? row.amount : 0);
    journal.setInteger(journal::kEA, int(row.side));
    journal.setInteger(journal::kEroeffnung, row.opening ? journal::kOpeningMarker : 0);
    journal.post();
}

const std::vector<std::string> kIncomeTexts = {"Offerte domenicali", "Offerta per battesimo", "Offerta matrimonio",
                                               "Raccolta per le missioni", "Offerte candele", "Affitto sala"};
const std::vector<std::string> kExpenseTexts = {"Bolletta energia elettrica", "Riscaldamento", "Fiori per l'altare",
                                                "Candele e arredi", "Assicurazione", "Spese postali",
                                                "Manutenzione organo", "Materiale catechesi"};

// What the cash boxes and bank accounts hold while the year is written, so that no
// movement takes one below zero.
class Purses {
public:
    void pay(const std::string& box, double amount) { balance_[box] += amount; }
    bool covers(const std::string& box, double amount) const {
        const auto found = balance_.find(box);
        return found != balance_.end() && found->second >= amount;
    }
    // One of the boxes that can pay the amount, chosen by the dice; none when none can.
    std::optional<std::string> payer(const std::vector<std::string>& boxes, double amount, Dice& dice) const {
        std::vector<std::string> able;
        for (const std::string& box : boxes) {
            if (covers(box, amount)) able.push_back(box);
        }
        if (able.empty()) return std::nullopt;
        return dice.pick(able);
    }

private:
    std::map<std::string, double> balance_;
};

std::vector<Row> movementsOfYear(const ChartCodes& codes, const DemoOptions& options, Dice& dice, Purses& purses) {
    const Date first = Date::fromYmd(options.year, 1, 1);
    const int days = Date::fromYmd(options.year, 12, 31).julianDay() - first.julianDay() + 1;
    std::vector<std::string> boxes = codes.cash;
    boxes.insert(boxes.end(), codes.bank.begin(), codes.bank.end());
    std::vector<Row> rows;
    Date previous = first;
    for (int i = 0; i < options.movements; ++i) {
        Row row;
        // Dates never go back, so that the boxes hold what the rows before them left.
        row.date = first.addDays(int(std::int64_t(i) * days / std::max(1, options.movements)) + dice.below(3));
        if (row.date.year() != options.year) row.date = Date::fromYmd(options.year, 12, 31);
        if (row.date.julianDay() < previous.julianDay()) row.date = previous;
        previous = row.date;
        const int kind = dice.below(40);
        std::optional<std::string> payer;
        if (kind >= 20 && kind < 38) {
            row.cod = dice.pick(codes.expense);
            row.text = dice.pick(kExpenseTexts);
            row.amount = dice.cents(2, 500);
            payer = purses.payer(dice.below(3) ? codes.cash : codes.bank, row.amount, dice);
            if (!payer) payer = purses.payer(boxes, row.amount, dice);
        } else if (kind == 38 && !codes.otherAssets.empty()) {
            row.cod = dice.pick(codes.otherAssets);
            row.text = "Acquisto titoli";
            row.amount = dice.cents(500, 2000);
            payer = purses.payer(codes.bank, row.amount, dice);
        } else if (kind == 39 && !codes.bankLoans.empty()) {
            row.cod = codes.bankLoans.front();  // the loan of the opening
            row.text = "Rata mutuo per il tetto";
            row.amount = dice.cents(300, 800);
            payer = purses.payer(codes.bank, row.amount, dice);
        }
        if (payer) {
            row.codd = *payer;
            row.side = journal::Side::Uscita;
            purses.pay(row.codd, -row.amount);
        } else {
            // Income, also where no box could have paid: a parish spends what it has.
            row.cod = dice.pick(codes.income);
            row.codd = dice.below(3) ? dice.pick(codes.cash) : dice.pick(codes.bank);
            row.text = dice.pick(kIncomeTexts);
            row.amount = dice.cents(5, 1200);
            row.side = journal::Side::Entrata;
            purses.pay(row.codd, row.amount);
        }
        rows.push_back(row);
    }
    return rows;
}

void copyTemplates(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (const std::string_view table : {kJournalTemplate, kChartTemplate}) {
        for (const std::string& name : {std::string(table), indexFileName(table)}) {
            const std::filesystem::path source = findCaseBlind(from, name);
            if (source.empty()) {
                throw std::runtime_error("Manca il modello \"" + name + "\" in " + from.string());
            }
            std::filesystem::copy_file(source, to / name, std::filesystem::copy_options::overwrite_existing);
        }
    }
}

}  // namespace

std::string makeDemoDataDirectory(const std::filesystem::path& dataDir, const std::filesystem::path& templateDir,
                                  const DemoOptions& options) {
    DeferredSync sync;  // a whole data directory: made durable once, at the end
    std::filesystem::create_directories(dataDir);
    std::error_code ec;
    if (!std::filesystem::equivalent(dataDir, templateDir, ec)) copyTemplates(templateDir, dataDir);

    const std::string number = nextYearNumber(dataDir, options.year);
    const std::string journalName = yearFileName(YearTable::Journal, number);
    const std::string chartName = yearFileName(YearTable::Chart, number);
    createJournal(dataDir, journalName);
    createChart(dataDir, chartName);
    fillParishHeader(dataDir / chartName);

    Dice dice(options.seed);
    const ChartCodes codes = readCodes(dataDir / chartName);
    const Date newYear = Date::fromYmd(options.year, 1, 1);
    // Opening rows on the sides the balance summary reads: money in the boxes and a loan
    // received are entrate, what was paid into an asset is an uscita.
    std::vector<Row> rows = {
        {newYear, codes.cash.front(), codes.cash.front(), "Apertura cassa", dice.cents(300, 2000),
         journal::Side::Entrata, true},
        {newYear, codes.bank.front(), codes.bank.front(), "Apertura conto corrente", dice.cents(10000, 30000),
         journal::Side::Entrata, true},
    };
    if (!codes.bankLoans.empty()) {
        rows.push_back({newYear, codes.bankLoans.front(), codes.bankLoans.front(), "Mutuo per il tetto",
                        dice.cents(5000, 10000), journal::Side::Entrata, true});
    }
    if (!codes.otherAssets.empty()) {
        // Marked by hand in the picker, as a secretary does for a forgotten balance.
        rows.push_back({newYear.addDays(14), codes.otherAssets.front(), codes.otherAssets.front(),
                        "Titoli in deposito", dice.cents(5000, 15000), journal::Side::Uscita, true});
    }
    Purses purses;
    purses.pay(codes.cash.front(), rows[0].amount);
    purses.pay(codes.bank.front(), rows[1].amount);
    const std::vector<Row> movements = movementsOfYear(codes, options, dice, purses);
    rows.insert(rows.end(), movements.begin(), movements.end());

    {
        Cursor journal(dataDir / journalName, OpenMode::Exclusive);
        for (std::size_t i = 0; i < rows.size(); ++i) append(journal, int(i + 1), rows[i]);
        // A few expenses cancelled during the year leave gaps in the numbering (and the
        // boxes richer, never poorer).
        for (std::size_t r = 6; r < rows.size(); r += 97) {
            std::size_t expense = r;
            while (expense < rows.size() && !startsWith(rows[expense].cod, " A")) ++expense;
            if (expense < rows.size() && journal.gotoRecord(std::uint32_t(expense + 1))) journal.deleteRecord();
        }
    }

    const std::filesystem::path settingsPath = dataDir / std::string(kSettingsFileName);
    Settings settings = readSettings(settingsPath);
    settings.hauptdatei = journalName;
    settings.konto = chartName;
    writeSettings(settingsPath, settings);
    sync.finish();
    return journalName;
}

}  // namespace quendra::storage
