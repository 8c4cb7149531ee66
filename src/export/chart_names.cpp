#include "export/chart_names.h"

#include "storage/chart_record.h"
#include "storage/query/query.h"

#include <algorithm>

namespace quendra::spreadsheet {

namespace chart = storage::chart;

namespace {

const ChartNames::Row kNone;

}  // namespace

ChartNames::ChartNames(const std::filesystem::path& chartPath) {
    const auto rows = storage::runSelect("select * from " + storage::quotedTable(chartPath));
    const std::size_t cod = rows->fieldIndex(chart::kCod);
    const std::size_t text = rows->fieldIndex(chart::kText);
    const std::size_t texth = rows->fieldIndex(chart::kTextH);
    const std::size_t texta = rows->fieldIndex(chart::kTextA);
    for (rows->first(); !rows->eof(); rows->next()) {
        rows_.push_back({rows->asText(cod), rows->asText(text), rows->asText(texth), rows->asText(texta)});
    }
    std::ranges::stable_sort(rows_, {}, &Row::cod);
}

const ChartNames::Row& ChartNames::of(const std::string& code) const {
    const auto found = std::ranges::lower_bound(rows_, code, {}, &Row::cod);
    return found == rows_.end() ? kNone : *found;
}

const ChartNames::Row& ChartNames::parish() const { return rows_.empty() ? kNone : rows_.front(); }

}  // namespace quendra::spreadsheet
