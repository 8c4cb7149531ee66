#include "export/year_workbook.h"

#include "export/budget_sheet.h"
#include "export/chart_names.h"
#include "export/z_codes.h"
#include "storage/account_code.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/text_case.h"
#include "storage/journal_record.h"
#include "storage/query/query.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace quendra::spreadsheet {

namespace {

namespace kr = storage::journal;

// Columns, counted from 1 = A.
enum Column : std::size_t { A = 1, B, C, D, E, F, G, H, I, J, K, L };

constexpr std::string_view kOpeningMark = "Eröffnung";

// Cash boxes count what came in; other assets and liabilities count what was paid into
// them (a payment into an asset, a repayment of a debt).
enum class Sign { IncomeMinusExpense, ExpenseMinusIncome };

struct Sums {
    double income = 0;
    double expense = 0;

    void add(double in, double out) {
        income += in;
        expense += out;
    }
    double balance(Sign sign) const { return sign == Sign::IncomeMinusExpense ? income - expense : expense - income; }
    bool isZero() const { return income - expense == 0; }
};

// A pass that lists its movements on "Journal" and totals them per account and group on
// "Spezifikationen".
struct DetailPass {
    std::string condition;
    std::string_view order;
    std::string_view label;
    Sign sign;
    std::size_t groupRowOffset;  // how far below the last row used the group row lies
};

// A pass that gives each group one row of opening and closing balance on "Uebertrag".
struct CarryPass {
    std::string condition;
    std::string_view order;
    std::string_view groupingField;
    Sign sign;
};

const std::string kLiabilities = std::string(kr::kCod) + " like \" P%\"";

struct JournalFields {
    explicit JournalFields(const storage::RowReader& rows)
        : nummer(rows.fieldIndex(kr::kNummer)),
          datum(rows.fieldIndex(kr::kDatum)),
          cod(rows.fieldIndex(kr::kCod)),
          codd(rows.fieldIndex(kr::kCodd)),
          text(rows.fieldIndex(kr::kText)),
          einnahme(rows.fieldIndex(kr::kEinnahme)),
          ausgabe(rows.fieldIndex(kr::kAusgabe)),
          eroeffnung(rows.fieldIndex(kr::kEroeffnung)) {}

    std::size_t nummer, datum, cod, codd, text, einnahme, ausgabe, eroeffnung;
};

void headings(Sheet& sheet, std::initializer_list<std::string_view> texts) {
    std::size_t column = A;
    for (const std::string_view text : texts) sheet.setText(1, column++, std::string(text));
}

// "201501" is the year 2015/01.
std::string yearText(std::string_view yearNumber) {
    return std::string(yearNumber.substr(0, 4)) + "/" + std::string(yearNumber.substr(std::min<std::size_t>(4, yearNumber.size())));
}

class Builder {
public:
    Builder(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
            std::string_view yearNumber, ExportProgress* progress)
        : from_("select * from " + storage::quotedTable(journalPath)),
          journal_(journalPath, storage::OpenMode::Shared),
          names_(chartPath),
          progress_(progress) {
        writeParish(yearNumber);
    }

    Workbook build() {
        headings(book_.uebertrag, {"Kassa", "Spezifikation", "Übertrag", "am 31.12"});
        headings(book_.journal, {"Nr", "Datum", "Code", "Kassa", "Spezifikation", "Einnahme", "Ausgabe"});
        headings(book_.spezifikationen, {"CodeA", "Z", "KontoA", "SummeUK", "SummeHK"});

        const std::string otherAssets = storage::otherAssetsFilter(kr::kCod);
        const DetailPass cashBoxes{storage::liquidityFilter(kr::kCodd), "cod ,codd", "KONTOBEWEGUNG",
                                   Sign::IncomeMinusExpense, 1};
        const DetailPass assets{otherAssets, "cod", "OBLIGATIONEN-WERTPAPIERE", Sign::ExpenseMinusIncome, 2};
        const DetailPass loans{kLiabilities, "cod", "AUFGENOMMENE DARLEHEN", Sign::ExpenseMinusIncome, 2};
        const double netWorth = detail(cashBoxes, true) + detail(assets, false) + detail(loans, false);
        book_.netWorth = netWorth;
        book_.uebertrag.setNumber(2, F, netWorth);
        book_.journal.setNumber(journalRow_ - 1, I, netWorth);
        book_.spezifikationen.setNumber(specRow_, I, netWorth);

        for (const CarryPass& pass :
             {CarryPass{storage::liquidityFilter(kr::kCodd), "codd,cod", kr::kCodd, Sign::IncomeMinusExpense},
              CarryPass{otherAssets, "cod", kr::kCod, Sign::ExpenseMinusIncome},
              CarryPass{kLiabilities, "cod", kr::kCod, Sign::ExpenseMinusIncome}}) {
            carry(pass);
        }
        return std::move(book_);
    }

private:
    void writeParish(std::string_view yearNumber) {
        const ChartNames::Row& parish = names_.parish();
        const std::pair<std::string_view, std::string> rows[] = {
            {"Pfarrei", parish.text}, {"Ort", parish.texth}, {"Dekanat", parish.texta},
            {"Rechnungsjahr", yearText(yearNumber)}};
        std::size_t row = 1;
        for (const auto& [label, value] : rows) {
            book_.pfarrei.setText(row, A, std::string(label));
            book_.pfarrei.setText(row++, B, value);
        }
    }

    std::unique_ptr<storage::QueryResult> select(const std::string& condition, std::string_view order) {
        return storage::runSelect(from_ + " where " + condition + " order by " + std::string(order));
    }

    void counted() {
        ++count_;
        if (progress_) progress_->advanced(count_);
    }

    // Returns the pass's balance over the groups that did not net to zero.
    double detail(const DetailPass& pass, bool setsProgress) {
        const auto rows = select(pass.condition, pass.order);
        if (setsProgress && progress_) progress_->started(2 * rows->recordCount());
        const JournalFields fields(*rows);
        Sums total;
        rows->first();
        std::string cod = rows->eof() ? std::string() : rows->asText(fields.cod);
        while (!rows->eof()) {
            const std::string prefix(storage::groupPrefix(cod));
            const std::size_t groupRow = specRow_ + pass.groupRowOffset;
            specRow_ += pass.groupRowOffset + 1;
            Sums group, opening, account;
            std::string accountCod;
            do {
                accountCod = std::move(cod);
                const double income = rows->asNumber(fields.einnahme);
                const double expense = rows->asNumber(fields.ausgabe);
                const bool openingRow = rows->asNumber(fields.eroeffnung) == kr::kOpeningMarker;
                if (openingRow) opening.add(income, expense);
                writeJournalRow(*rows, fields, accountCod, pass, income, expense, openingRow);
                group.add(income, expense);
                account.add(income, expense);
                counted();
                rows->next();
                cod = rows->eof() ? std::string() : rows->asText(fields.cod);
                if (rows->eof() || cod != accountCod) {
                    writeAccountRow(accountCod, account, pass);
                    account = {};
                    if (!rows->eof()) ++specRow_;
                }
            } while (!rows->eof() && storage::groupPrefix(cod) == prefix);
            // A group that nets to nothing keeps its account rows but no group row.
            if (opening.isZero() && group.isZero()) continue;
            total.add(group.income, group.expense);
            writeGroupRow(groupRow, prefix, accountCod, group, pass);
        }
        return total.balance(pass.sign);
    }

    void writeJournalRow(const storage::RowReader& rows, const JournalFields& fields, const std::string& cod,
                         const DetailPass& pass, double income, double expense, bool openingRow) {
        Sheet& sheet = book_.journal;
        const std::size_t row = journalRow_++;
        const bool incomeFirst = pass.sign == Sign::IncomeMinusExpense;
        sheet.setText(row, A, rows.asText(fields.nummer));
        sheet.setText(row, B, rows.asText(fields.datum));
        sheet.setText(row, C, cod);
        sheet.setText(row, D, rows.asText(fields.codd));
        sheet.setText(row, E, rows.asText(fields.text));
        sheet.setNumber(row, F, incomeFirst ? income : expense);
        sheet.setNumber(row, G, incomeFirst ? expense : income);
        sheet.setText(row, H, std::string(pass.label));
        if (openingRow) sheet.setText(row, J, std::string(kOpeningMark));
        sheet.setText(row, L, rows.asText(fields.eroeffnung));
    }

    void writeAccountRow(const std::string& cod, const Sums& account, const DetailPass& pass) {
        Sheet& sheet = book_.spezifikationen;
        sheet.setText(specRow_, A, cod);
        sheet.setText(specRow_, B, std::string(zCode(storage::typedFromStored(cod))));
        sheet.setText(specRow_, C, names_.of(cod).text);
        sheet.setNumber(specRow_, D, account.balance(pass.sign));
        sheet.setText(specRow_, F, std::string(pass.label));
    }

    void writeGroupRow(std::size_t row, const std::string& prefix, const std::string& lastCod, const Sums& group,
                       const DetailPass& pass) {
        Sheet& sheet = book_.spezifikationen;
        sheet.setText(row, A, prefix + "00");
        sheet.setText(row, C, storage::toUpperUtf8(names_.of(lastCod).texth));
        sheet.setNumber(row, E, group.balance(pass.sign));
        sheet.setText(row, F, std::string(pass.label));
    }

    // Every group gets its row, also one whose balances are zero.
    void carry(const CarryPass& pass) {
        const auto rows = select(pass.condition, pass.order);
        const std::size_t codeField = rows->fieldIndex(pass.groupingField);
        const std::size_t income = rows->fieldIndex(kr::kEinnahme);
        const std::size_t expense = rows->fieldIndex(kr::kAusgabe);
        const std::size_t eroeffnung = rows->fieldIndex(kr::kEroeffnung);
        rows->first();
        std::string code = rows->eof() ? std::string() : rows->asText(codeField);
        while (!rows->eof()) {
            const std::string first = code;
            const std::string prefix(storage::groupPrefix(first));
            Sums opening, closing;
            std::string last;
            do {
                last = std::move(code);
                const double in = rows->asNumber(income);
                const double out = rows->asNumber(expense);
                if (kr::isOpeningRow(rows->asInteger(eroeffnung))) opening.add(in, out);
                closing.add(in, out);
                counted();
                rows->next();
                code = rows->eof() ? std::string() : rows->asText(codeField);
            } while (!rows->eof() && storage::groupPrefix(code) == prefix);
            Sheet& sheet = book_.uebertrag;
            const std::size_t row = ++carryRow_;
            sheet.setText(row, A, last);
            sheet.setText(row, B, names_.of(first).text);
            sheet.setNumber(row, C, opening.balance(pass.sign));
            sheet.setNumber(row, D, closing.balance(pass.sign));
        }
    }

    std::string from_;
    // Held open so that the six queries share one reading of the table and its index.
    storage::Cursor journal_;
    ChartNames names_;
    ExportProgress* progress_;
    Workbook book_;
    std::size_t journalRow_ = 2;
    std::size_t specRow_ = 2;
    std::size_t carryRow_ = 1;
    std::size_t count_ = 1;
};

}  // namespace

Workbook buildWorkbook(const std::filesystem::path& journalPath, const std::filesystem::path& chartPath,
                       std::string_view yearNumber, ExportProgress* progress) {
    Workbook book = Builder(journalPath, chartPath, yearNumber, progress).build();
    fillBudgetSheet(book.preventivo, journalPath, chartPath);
    return book;
}

}  // namespace quendra::spreadsheet
