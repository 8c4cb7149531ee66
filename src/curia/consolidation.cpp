#include "curia/consolidation.h"

#include "export/workbook.h"
#include "export/workbook_file.h"
#include "storage/dbase/error.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace quendra::curia {

namespace {

using spreadsheet::Sheet;

constexpr std::array<std::string_view, 13> kColumns = {
    "Decanato", "Parrocchia", "Luogo", "Movimenti", "ENTRATE", "USCITE", "SALDO entrate/uscite",
    "Liquidità 01/01", "Liquidità 31/12", "Altre attività", "Passività", "ATTIVA - PASSIVA", "Variazione",
};

void addFigures(KeyFigures& sum, const KeyFigures& f) {
    sum.movements += f.movements;
    sum.income += f.income;
    sum.expense += f.expense;
    sum.saldo += f.saldo;
    sum.totalLiquidity += f.totalLiquidity;
    sum.liquidityOpening += f.liquidityOpening;
    sum.liquidityYearEnd += f.liquidityYearEnd;
    sum.otherAssets += f.otherAssets;
    sum.assets += f.assets;
    sum.liabilities += f.liabilities;
    sum.net += f.net;
    sum.change += f.change;
}

void putRow(Sheet& sheet, std::size_t row, std::array<std::string, 3> texts, const KeyFigures& f) {
    for (std::size_t c = 0; c < texts.size(); ++c) sheet.setText(row, c + 1, std::move(texts[c]));
    const std::array<double, 10> values = {double(f.movements), f.income, f.expense, f.saldo, f.liquidityOpening,
                                           f.liquidityYearEnd, f.otherAssets, f.liabilities, f.net, f.change};
    for (std::size_t c = 0; c < values.size(); ++c) sheet.setNumber(row, c + 4, values[c]);
}

void heading(Sheet& sheet, std::initializer_list<std::string_view> names) {
    std::size_t column = 1;
    for (const std::string_view name : names) sheet.setText(1, column++, std::string(name));
}

}  // namespace

KeyFigures sumOf(const std::vector<ConsolidatedParish>& parishes, std::size_t from, std::size_t to) {
    KeyFigures sum;
    for (std::size_t i = from; i < to; ++i) addFigures(sum, parishes[i].figures);
    return sum;
}

Consolidation consolidate(const std::filesystem::path& archive, const std::string& year,
                          const std::vector<RegisteredParish>& parishes, const ConsolidationProgress& progress) {
    Consolidation result;
    result.year = year;
    std::map<std::string, const RegisteredParish*> registered;
    for (const RegisteredParish& parish : parishes) registered.emplace(parish.key, &parish);
    std::vector<ArchivedYear> years = archivedYears(archive);
    std::erase_if(years, [&](const ArchivedYear& y) { return y.year != year; });
    std::map<std::string, bool> sent;
    for (std::size_t i = 0; i < years.size(); ++i) {
        const ArchivedYear& y = years[i];
        ConsolidatedParish parish{y.key, y.info.name, y.info.place, y.info.deanery, {}};
        if (const auto found = registered.find(y.key); found != registered.end()) {
            parish.name = found->second->name;
            parish.place = found->second->place;
            parish.deanery = found->second->deanery;
        }
        sent[y.key] = true;
        for (const std::string& text : y.warnings) result.warnings.push_back({parish.name, parish.place, parish.deanery, text});
        const std::optional<FiledFiles> files = filedFiles(y.current);
        try {
            if (!files) throw storage::DbError(storage::DbError::Kind::BadFile, "file della trasmissione mancanti");
            parish.figures = keyFigures(files->journal);
            result.parishes.push_back(std::move(parish));
        } catch (const storage::DbError& error) {
            result.warnings.push_back({parish.name, parish.place, parish.deanery,
                                       std::string("Esclusa dal consolidato: ") + error.what()});
        }
        if (progress) progress(i + 1, years.size());
    }
    std::stable_sort(result.parishes.begin(), result.parishes.end(), [](const auto& a, const auto& b) {
        return std::tie(a.deanery, a.name, a.place) < std::tie(b.deanery, b.name, b.place);
    });
    for (const RegisteredParish& parish : parishes) {
        if (!sent.contains(parish.key)) result.missing.push_back(parish);
    }
    return result;
}

std::vector<DeanerySum> deanerySums(const Consolidation& consolidation) {
    const auto& parishes = consolidation.parishes;
    std::vector<DeanerySum> sums;
    for (std::size_t i = 0; i < parishes.size();) {
        const std::size_t first = i;
        while (i < parishes.size() && parishes[i].deanery == parishes[first].deanery) ++i;
        sums.push_back({parishes[first].deanery, first, i, sumOf(parishes, first, i)});
    }
    return sums;
}

void saveConsolidationWorkbook(const Consolidation& consolidation, const std::filesystem::path& target) {
    Sheet figures("Parrocchie"), warnings("Avvisi"), missing("Mancanti");
    std::size_t column = 1;
    for (const std::string_view name : kColumns) figures.setText(1, column++, std::string(name));
    const auto& parishes = consolidation.parishes;
    std::size_t row = 2;
    for (const DeanerySum& deanery : deanerySums(consolidation)) {
        for (std::size_t i = deanery.first; i < deanery.end; ++i) {
            putRow(figures, row++, {parishes[i].deanery, parishes[i].name, parishes[i].place}, parishes[i].figures);
        }
        putRow(figures, row++, {deanery.deanery, "Totale decanato", ""}, deanery.sum);
    }
    putRow(figures, row, {"", "TOTALE DIOCESI " + consolidation.year, ""}, sumOf(parishes, 0, parishes.size()));

    heading(warnings, {"Decanato", "Parrocchia", "Luogo", "Avviso"});
    row = 2;
    for (const ParishWarning& w : consolidation.warnings) {
        warnings.setText(row, 1, w.deanery);
        warnings.setText(row, 2, w.name);
        warnings.setText(row, 3, w.place);
        warnings.setText(row++, 4, w.text);
    }
    heading(missing, {"Decanato", "Parrocchia", "Luogo"});
    row = 2;
    for (const RegisteredParish& p : consolidation.missing) {
        missing.setText(row, 1, p.deanery);
        missing.setText(row, 2, p.name);
        missing.setText(row++, 3, p.place);
    }
    const std::array<const Sheet*, 3> sheets = {&figures, &warnings, &missing};
    spreadsheet::saveSheets(sheets, "Quendra - consolidato della diocesi " + consolidation.year, target);
}

}  // namespace quendra::curia
