#include "export/chart_names.h"

#include "storage/chart_record.h"

namespace quendra::spreadsheet {

namespace chart = storage::chart;

ChartNames::ChartNames(const std::filesystem::path& chartPath) : chart_(chartPath, storage::OpenMode::Shared) {
    chart_.setOrder(chart::kCod);
}

const ChartNames::Names& ChartNames::of(const std::string& code) {
    if (const auto found = known_.find(code); found != known_.end()) return found->second;
    chart_.findNearest(code);
    Names names;
    if (!chart_.eof()) names = {chart_.asText(chart::kText), chart_.asText(chart::kTextH)};
    return known_.emplace(code, std::move(names)).first->second;
}

ChartNames::Parish ChartNames::parish() {
    chart_.first();
    if (chart_.eof()) return {};
    return {chart_.asText(chart::kText), chart_.asText(chart::kTextH), chart_.asText(chart::kTextA)};
}

}  // namespace quendra::spreadsheet
