#include "support/chart_fixture.h"
#include "storage/dbase/open_table.h"

#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "support/run_program.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace quendra::test {

using namespace storage;

void PrintTo(const ChartRow& row, std::ostream* out) {
    *out << '[' << row.cod << '|' << row.text << '|' << row.texth << '|' << row.texta << '|' << row.codalfa << '|'
         << row.k << '|' << row.z << '|' << row.close << '|' << row.art << ']';
}

void makeChart(const std::filesystem::path& path, const std::vector<ChartRow>& rows) {
    createTable(path, chart::fields(), true);
    DeferredSync sync;
    Cursor table(path, OpenMode::Exclusive);
    for (const ChartRow& row : rows) {
        table.append();
        table.setText(chart::kCod, row.cod);
        table.setText(chart::kText, row.text);
        table.setText(chart::kTextH, row.texth);
        table.setText(chart::kTextA, row.texta);
        table.setText(chart::kCodAlfa, row.codalfa);
        table.setText(chart::kK, row.k);
        table.setText(chart::kZ, row.z);
        table.setText(chart::kClose, row.close);
        table.setText(chart::kArt, row.art);
        table.post();
    }
    for (const TagSpec& tag : chart::kTags) table.addTag(tag.name, tag.field, tag.primary);
}

std::vector<ChartRow> readChart(const std::filesystem::path& path) {
    Cursor table(path, OpenMode::Shared);
    if (!table.tagNames().empty()) table.setOrder(chart::kCod);
    std::vector<ChartRow> rows;
    for (table.first(); !table.eof(); table.next()) {
        rows.push_back({table.asText(chart::kCod), table.asText(chart::kText), table.asText(chart::kTextH),
                        table.asText(chart::kTextA), table.asText(chart::kCodAlfa), table.asText(chart::kK),
                        table.asText(chart::kZ), table.asText(chart::kClose), table.asText(chart::kArt)});
    }
    return rows;
}

std::map<std::string, ChartRow> readChartByCode(const std::filesystem::path& path) {
    std::map<std::string, ChartRow> byCode;
    for (ChartRow& row : readChart(path)) {
        const std::string cod = row.cod;
        byCode.emplace(cod, std::move(row));
    }
    return byCode;
}

std::filesystem::path standardChartSource(const std::string& language) {
    return std::filesystem::path(QUENDRA_SOURCE_DIR) / "data" / ("chart_" + language + ".csv");
}

void loadStandardChart(const std::string& language, const std::filesystem::path& path) {
    std::string fields;
    for (const FieldDef& field : chart::fields()) {
        fields += (fields.empty() ? "" : ",") + field.name + ":C:" + std::to_string(field.length);
    }
    std::vector<std::string> args = {"load", path.string(), "--fields", fields};
    for (const TagSpec& tag : chart::kTags) {
        args.insert(args.end(), {"--tag", std::string(tag.name) + "=" + std::string(tag.field)});
    }
    std::ifstream source(standardChartSource(language), std::ios::binary);
    const std::string rows((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    const ProgramResult result = runProgram(QUENDRA_DB_TOOL, args, rows);
    ASSERT_EQ(result.exitCode, 0) << result.err;
}

}  // namespace quendra::test
