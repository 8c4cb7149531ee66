#include "storage/query/operand.h"

#include "storage/dbase/field_codec.h"
#include "storage/dbase/text_case.h"

namespace quendra::storage {

namespace {

class CharField final : public CharSource {
public:
    CharField(std::size_t offset, std::size_t length) : offset_(offset), length_(length) {}
    std::string_view read(std::string_view record) const override { return record.substr(offset_, length_); }

private:
    std::size_t offset_;
    std::size_t length_;
};

class CharConstant final : public CharSource {
public:
    explicit CharConstant(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view read(std::string_view) const override { return bytes_; }

private:
    std::string bytes_;
};

class UpperCase final : public CharSource {
public:
    UpperCase(std::unique_ptr<CharSource> inner, CodePage page) : inner_(std::move(inner)), table_(upperTable(page)) {}
    std::string_view read(std::string_view record) const override {
        const std::string_view value = inner_->read(record);
        buffer_.resize(value.size());
        for (std::size_t i = 0; i < value.size(); ++i) buffer_[i] = table_[static_cast<unsigned char>(value[i])];
        return buffer_;
    }

private:
    std::unique_ptr<CharSource> inner_;
    const std::array<char, 256>& table_;
    mutable std::string buffer_;
};

class NumberField final : public NumberSource {
public:
    NumberField(const FieldDef& def, std::size_t offset) : def_(def), offset_(offset) {}
    double read(std::string_view record) const override { return decodeNumber(def_, record.substr(offset_, def_.length)); }

private:
    FieldDef def_;
    std::size_t offset_;
};

class NumberConstant final : public NumberSource {
public:
    explicit NumberConstant(double value) : value_(value) {}
    double read(std::string_view) const override { return value_; }

private:
    double value_;
};

class DateField final : public DaySource {
public:
    DateField(const FieldDef& def, std::size_t offset) : def_(def), offset_(offset) {}
    std::int32_t read(std::string_view record) const override {
        return decodeDate(def_, record.substr(offset_, 8)).julianDay();
    }

private:
    FieldDef def_;
    std::size_t offset_;
};

class DateConstant final : public DaySource {
public:
    explicit DateConstant(Date value) : day_(value.julianDay()) {}
    std::int32_t read(std::string_view) const override { return day_; }

private:
    std::int32_t day_;
};

std::array<char, 256> buildUpperTable(CodePage page) {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, char(b));
        const auto upper = encodeFromUtf8(toUpperUtf8(decodeToUtf8(byte, page)), page);
        table[std::size_t(b)] = upper && upper->size() == 1 ? (*upper)[0] : char(b);
    }
    return table;
}

}  // namespace

std::unique_ptr<CharSource> charField(const DbfHeader& header, std::size_t field) {
    return std::make_unique<CharField>(header.fieldOffsets[field], header.fields[field].length);
}

std::unique_ptr<CharSource> charConstant(std::string bytes) { return std::make_unique<CharConstant>(std::move(bytes)); }

std::unique_ptr<CharSource> upperOf(std::unique_ptr<CharSource> inner, CodePage page) {
    return std::make_unique<UpperCase>(std::move(inner), page);
}

std::unique_ptr<NumberSource> numberField(const DbfHeader& header, std::size_t field) {
    return std::make_unique<NumberField>(header.fields[field], header.fieldOffsets[field]);
}

std::unique_ptr<NumberSource> numberConstant(double value) { return std::make_unique<NumberConstant>(value); }

std::unique_ptr<DaySource> dateField(const DbfHeader& header, std::size_t field) {
    return std::make_unique<DateField>(header.fields[field], header.fieldOffsets[field]);
}

std::unique_ptr<DaySource> dateConstant(Date value) { return std::make_unique<DateConstant>(value); }

const std::array<char, 256>& upperTable(CodePage page) {
    static const std::array<std::array<char, 256>, 3> tables = {
        buildUpperTable(CodePage::Windows1252), buildUpperTable(CodePage::Dos437), buildUpperTable(CodePage::Dos850)};
    switch (page) {
        case CodePage::Dos437: return tables[1];
        case CodePage::Dos850: return tables[2];
        case CodePage::Windows1252: break;
    }
    return tables[0];
}

}  // namespace quendra::storage
