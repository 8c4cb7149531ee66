#include "years/parish_data.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"

namespace quendra::years {

using namespace storage;

namespace {

Cursor chartInCodOrder(const std::filesystem::path& chartPath, OpenMode mode) {
    Cursor chart(chartPath, mode);
    chart.setOrder(chart::kCod);
    chart.first();
    return chart;
}

}  // namespace

ParishData readParishData(const std::filesystem::path& chartPath) {
    const Cursor chart = chartInCodOrder(chartPath, OpenMode::Shared);
    if (chart.eof()) return {};
    return {chart.asText(chart::kText), chart.asText(chart::kTextH), chart.asText(chart::kTextA)};
}

void writeParishData(const std::filesystem::path& chartPath, const ParishData& parish) {
    Cursor chart = chartInCodOrder(chartPath, OpenMode::Shared);
    if (!chart.eof() && chart.asText(chart::kCod) == kParishHeaderCode) {
        chart.edit();
    } else {
        chart.append();
        chart.setText(chart::kCod, kParishHeaderCode);
    }
    try {
        chart.setText(chart::kText, parish.name);
        chart.setText(chart::kTextH, parish.place);
        chart.setText(chart::kTextA, parish.deanery);
        chart.post();
    } catch (...) {
        chart.cancel();
        throw;
    }
}

}  // namespace quendra::years
