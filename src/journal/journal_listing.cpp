#include "journal/journal_listing.h"

#include "storage/amount_format.h"
#include "storage/journal_record.h"

#include <cmath>

namespace quendra::journal {

namespace kr = storage::journal;

std::array<int, kListColumnCount> listColumnWidths(int width) {
    const auto share = [width](double percent) { return int(std::lround(width * percent / 100.0)); };
    int designed = 0;
    for (const double percent : {5.67, 11.34, 11.34, 5.67, 32.13, 12.285, 12.285, 3.78}) designed += share(percent);
    const int number = share(5.67), code = share(11.34), amount = share(12.285);
    const int text = share(26.46) + int(std::lround((width - designed) * 0.85));
    return {number, code, code, code, text, amount, amount};
}

void JournalListing::reload() {
    records_.clear();
    rowOfRecord_.clear();
    cachedRecord_ = 0;
    if (!reader_.isOpen()) return;
    records_.reserve(reader_.recordCount());
    for (reader_.first(); !reader_.eof(); reader_.next()) {
        const std::uint32_t record = reader_.recordNumber();
        if (record >= rowOfRecord_.size()) rowOfRecord_.resize(record + 1, 0);
        records_.push_back(record);
        rowOfRecord_[record] = std::uint32_t(records_.size());
    }
}

void JournalListing::rowChanged(std::uint32_t recordNumber) {
    if (recordNumber == cachedRecord_) cachedRecord_ = 0;
}

std::optional<std::size_t> JournalListing::rowOf(std::uint32_t recordNumber) const {
    if (recordNumber >= rowOfRecord_.size() || rowOfRecord_[recordNumber] == 0) return std::nullopt;
    return rowOfRecord_[recordNumber] - 1;
}

const std::array<std::string, kListColumnCount>& JournalListing::cells(std::size_t row) {
    const std::uint32_t record = records_.at(row);
    if (record == cachedRecord_) return cached_;
    cached_ = {};
    cachedRecord_ = record;
    if (!reader_.isOpen() || !reader_.gotoRecord(record)) return cached_;
    const auto amount = [this](std::string_view field) {
        return storage::formatNumber(reader_.asNumber(field), storage::Picture::GridAmount);
    };
    cached_ = {
        reader_.isBlank(kr::kNummer) ? std::string() : std::to_string(reader_.asInteger(kr::kNummer)),
        reader_.asDate(kr::kDatum).toDisplay(),
        reader_.asText(kr::kCod),
        reader_.asText(kr::kCodd),
        reader_.asText(kr::kText),
        amount(kr::kEinnahme),
        amount(kr::kAusgabe),
    };
    return cached_;
}

}  // namespace quendra::journal
