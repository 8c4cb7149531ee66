#include "printing/chart_texts.h"
#include "printing/print_text.h"

#include "storage/chart_record.h"
#include "storage/account_code.h"
#include "storage/dbase/cursor.h"

namespace quendra::printing {

const std::map<std::string, ChartTextRow, std::less<>>& ChartTexts::rows() const {
    if (!rows_) {
        std::map<std::string, ChartTextRow, std::less<>> rows;
        storage::Cursor chart(path_, storage::OpenMode::Shared);
        for (chart.first(); !chart.eof(); chart.next()) {
            rows[trimRight(chart.asText(storage::chart::kCod))] = {trimRight(chart.asText(storage::chart::kText)),
                                                                   trimRight(chart.asText(storage::chart::kTextH)),
                                                                   trimRight(chart.asText(storage::chart::kTextA))};
        }
        rows_ = std::move(rows);
    }
    return *rows_;
}

std::optional<ChartTextRow> ChartTexts::atOrAfter(std::string_view key) const {
    const auto& all = rows();
    const auto it = all.lower_bound(trimRight(key));
    if (it == all.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<ChartTextRow> ChartTexts::exact(std::string_view code) const {
    const auto& all = rows();
    const auto it = all.find(trimRight(code));
    if (it == all.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string ChartTexts::codtext(std::string_view key) const {
    const auto row = atOrAfter(key);
    return row ? row->texth : std::string();
}

std::string ChartTexts::codtext1(std::string_view key) const {
    const auto row = atOrAfter(key);
    return row ? row->text : std::string();
}

ChartTextRow ChartTexts::parish() const { return exact(storage::kParishHeaderCode).value_or(ChartTextRow{}); }

}  // namespace quendra::printing
