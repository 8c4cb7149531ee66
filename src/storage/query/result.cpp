#include "storage/query/result.h"

#include "storage/dbase/error.h"
#include "storage/dbase/field_codec.h"
#include "storage/dbase/text_case.h"

#include <charconv>
#include <cstring>

namespace quendra::storage {

QueryResult::QueryResult(FieldList fields, std::size_t rowCount)
    : fields_(std::move(fields)), rowCount_(rowCount), eof_(rowCount == 0) {}

void QueryResult::first() {
    row_ = 0;
    eof_ = rowCount_ == 0;
    bof_ = true;
}

void QueryResult::next() {
    bof_ = rowCount_ == 0;
    if (row_ + 1 >= rowCount_) {
        eof_ = true;
        return;
    }
    ++row_;
    eof_ = false;
}

void QueryResult::prior() {
    eof_ = rowCount_ == 0;
    if (row_ == 0) {
        bof_ = true;
        return;
    }
    --row_;
    bof_ = false;
}

void QueryResult::last() {
    row_ = rowCount_ == 0 ? 0 : rowCount_ - 1;
    eof_ = true;
    bof_ = rowCount_ == 0;
}

bool QueryResult::eof() const { return eof_; }
bool QueryResult::bof() const { return bof_; }
std::size_t QueryResult::recordCount() const { return rowCount_; }
std::size_t QueryResult::fieldCount() const { return fields_.size(); }

const FieldDef& QueryResult::fieldDef(std::size_t index) const {
    if (index >= fields_.size())
        throw DbError(DbError::Kind::NoSuchField, "Il risultato della query non ha la colonna " + std::to_string(index + 1));
    return fields_[index];
}

int QueryResult::findField(std::string_view name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (equalsIgnoreCaseAscii(fields_[i].name, name)) return int(i);
    return -1;
}

std::size_t QueryResult::currentRow() const {
    if (rowCount_ == 0) throw DbError(DbError::Kind::NoRecord, "Il risultato della query non ha righe");
    return row_;
}

namespace {

class RecordSet final : public QueryResult {
public:
    RecordSet(const OpenTable& table, const std::vector<std::uint32_t>& recnos)
        : QueryResult(table.fields(), recnos.size()),
          offsets_(table.header().fieldOffsets),
          page_(table.codePage()),
          recordLength_(table.header().recordLength),
          table_(table.path()),
          recnos_(recnos) {
        rows_.resize(recnos.size() * recordLength_);
        char* out = rows_.data();
        for (std::size_t i = 0; i < recnos.size(); ++i) {
            if (i + kRowsAhead < recnos.size()) table.prefetchRecord(recnos[i + kRowsAhead]);
            std::memcpy(out, table.record(recnos[i]).data(), recordLength_);
            out += recordLength_;
        }
    }

    std::string asText(std::size_t index) const override {
        return inThisRow([&] { return decodeText(fieldDef(index), raw(index), page_); });
    }
    double asNumber(std::size_t index) const override {
        return inThisRow([&] { return decodeNumber(fieldDef(index), raw(index)); });
    }
    Date asDate(std::size_t index) const override {
        return inThisRow([&] { return decodeDate(fieldDef(index), raw(index)); });
    }
    bool isBlank(std::size_t index) const override { return storage::isBlank(fieldDef(index), raw(index)); }

private:
    template <typename Read>
    auto inThisRow(Read read) const -> decltype(read()) {
        return readInRow(table_, recnos_[currentRow()], read);
    }

    std::string_view raw(std::size_t index) const {
        const std::size_t length = fieldDef(index).length;
        const std::string_view record(rows_.data() + currentRow() * recordLength_, recordLength_);
        return record.substr(offsets_[index], length);
    }

    std::vector<std::uint32_t> offsets_;
    CodePage page_;
    std::size_t recordLength_;
    std::filesystem::path table_;
    std::vector<std::uint32_t> recnos_;
    std::string rows_;
};

FieldList sumColumns(const OpenTable& table, const std::vector<std::size_t>& fields) {
    FieldList columns;
    for (const std::size_t f : fields) {
        const FieldDef& def = table.fields()[f];
        std::string name = "SUM_";
        for (const char c : def.name) name += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        columns.push_back(FieldDef{name, FieldType::Numeric, 20, def.decimals, false});
    }
    return columns;
}

class Sums final : public QueryResult {
public:
    Sums(const OpenTable& table, const std::vector<std::size_t>& fields, std::vector<double> sums)
        : QueryResult(sumColumns(table, fields), 1), sums_(std::move(sums)) {}

    std::string asText(std::size_t index) const override {
        char buffer[400];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, asNumber(index), std::chars_format::fixed,
                                       int(fieldDef(index).decimals))
                             .ptr;
        return std::string(buffer, end);
    }
    double asNumber(std::size_t index) const override {
        fieldDef(index);
        return sums_[index];
    }
    Date asDate(std::size_t index) const override {
        throw DbError(DbError::Kind::BadValue, "La colonna " + fieldDef(index).name + " non è una data");
    }
    bool isBlank(std::size_t index) const override {
        fieldDef(index);
        return false;
    }

private:
    std::vector<double> sums_;
};

}  // namespace

std::unique_ptr<QueryResult> recordSetResult(const OpenTable& table, const std::vector<std::uint32_t>& recnos) {
    return std::make_unique<RecordSet>(table, recnos);
}

std::unique_ptr<QueryResult> sumResult(const OpenTable& table, const std::vector<std::size_t>& fields,
                                       std::vector<double> sums) {
    return std::make_unique<Sums>(table, fields, std::move(sums));
}

}  // namespace quendra::storage
