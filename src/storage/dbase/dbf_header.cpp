#include "storage/dbase/dbf_header.h"

#include "storage/dbase/error.h"
#include "storage/dbase/text_case.h"

#include <algorithm>
#include <ctime>

namespace quendra::storage {

namespace {

constexpr std::size_t kPrefixLength = 32;
constexpr std::size_t kDescriptorLength = 32;
constexpr std::size_t kMaxNameLength = 10;
constexpr char kTerminator = 0x0D;

std::uint32_t readLe(std::string_view bytes, std::size_t pos, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[pos + i]);
    return value;
}

void writeLe(std::string& bytes, std::size_t pos, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i, value >>= 8) bytes[pos + i] = char(value & 0xFF);
}

std::size_t minimalHeaderLength(std::size_t fieldCount) { return kPrefixLength + kDescriptorLength * fieldCount + 1; }

bool isFieldType(char c) { return c == 'C' || c == 'N' || c == 'D' || c == 'F' || c == 'L'; }

// The empty string when length and decimals suit the type, else the reason. A numeric
// field may have decimals only if decimals + reserve <= length.
std::string sizeProblem(const FieldDef& field, int reserve) {
    const int length = field.length;
    bool lengthOk = false;
    switch (field.type) {
    case FieldType::Character: lengthOk = length >= 1 && length <= 254; break;
    case FieldType::Numeric:
    case FieldType::Float: lengthOk = length >= 1 && length <= 20; break;
    case FieldType::Date: lengthOk = length == 8; break;
    case FieldType::Logical: lengthOk = length == 1; break;
    }
    if (!lengthOk) return "lunghezza " + std::to_string(length) + " non ammessa per il campo " + field.name;
    const bool decimalsOk = field.decimals == 0 || (field.isNumeric() && field.decimals + reserve <= length);
    if (!decimalsOk)
        return "numero di decimali " + std::to_string(field.decimals) + " non ammesso per il campo " + field.name;
    return {};
}

// Fills the field offsets and returns the record length they add up to.
std::uint32_t layOutFields(DbfHeader& header) {
    header.fieldOffsets.clear();
    std::uint32_t offset = 1;  // the deletion flag comes first
    for (const FieldDef& field : header.fields) {
        header.fieldOffsets.push_back(offset);
        offset += field.length;
    }
    return offset;
}

class HeaderParser {
public:
    HeaderParser(std::string_view bytes, std::uint64_t fileSize, const std::string& label)
        : bytes_(bytes), fileSize_(fileSize), label_(label) {}

    DbfHeader parse() {
        if (bytes_.size() < kPrefixLength || fileSize_ < kPrefixLength) fail("intestazione troncata");
        DbfHeader header;
        header.version = static_cast<unsigned char>(bytes_[0]);
        if ((header.version & 0x07) != 0x03) fail("versione " + std::to_string(header.version) + " non supportata");
        if (bytes_[15] != 0) fail("la tabella è cifrata");
        // Years count from 1900, but some programs write only the last two digits: a
        // byte below 80 (1980, the first dBase) is a year of this century.
        const int yearByte = static_cast<unsigned char>(bytes_[1]);
        header.lastUpdate = Date::tryFromYmd(yearByte < 80 ? 2000 + yearByte : 1900 + yearByte,
                                             static_cast<unsigned char>(bytes_[2]),
                                             static_cast<unsigned char>(bytes_[3]))
                                .value_or(Date{});
        header.recordCount = readLe(bytes_, 4, 4);
        header.headerLength = std::uint16_t(readLe(bytes_, 8, 2));
        header.recordLength = std::uint16_t(readLe(bytes_, 10, 2));
        header.productionIndex = bytes_[28] != 0;
        header.languageDriver = static_cast<unsigned char>(bytes_[29]);

        readDescriptors(header);
        checkLengths(header);
        return header;
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw DbError(DbError::Kind::BadFile,
                      "Il file \"" + label_ + "\" non è una tabella dBase valida: " + reason);
    }

    void readDescriptors(DbfHeader& header) const {
        std::size_t pos = kPrefixLength;
        while (true) {
            if (pos >= header.headerLength) fail("lunghezza dell'intestazione errata");
            if (pos >= bytes_.size()) fail("intestazione troncata");
            if (bytes_[pos] == kTerminator) break;
            if (pos + kDescriptorLength > bytes_.size()) fail("intestazione troncata");
            FieldDef field = readDescriptor(bytes_.substr(pos, kDescriptorLength));
            if (header.fieldIndex(field.name) >= 0) fail("il campo " + field.name + " è ripetuto");
            header.fields.push_back(std::move(field));
            pos += kDescriptorLength;
        }
        if (header.fields.empty()) fail("nessun campo");
        // Writers that pad the header pad with NULs; any other byte there is a record
        // that a stated length too long would shift.
        for (std::size_t i = pos + 1; i < header.headerLength && i < bytes_.size(); ++i) {
            if (bytes_[i] != '\0') fail("lunghezza dell'intestazione errata");
        }
    }

    FieldDef readDescriptor(std::string_view d) const {
        FieldDef field;
        const std::string_view nameBytes = d.substr(0, kMaxNameLength + 1);
        const std::size_t end = nameBytes.find('\0');
        if (end == std::string_view::npos || end == 0) fail("nome di campo non valido");
        for (const char c : nameBytes.substr(0, end))
            if (c <= ' ' || c > '~') fail("nome di campo non valido");
        field.name = std::string(nameBytes.substr(0, end));

        const char type = d[11];
        if (type == 'M') fail("campi memo non supportati");
        if (!isFieldType(type)) fail("tipo sconosciuto '" + std::string(1, type) + "' del campo " + field.name);
        field.type = FieldType(type);
        field.length = static_cast<unsigned char>(d[16]);
        field.decimals = field.isNumeric() ? static_cast<unsigned char>(d[17]) : 0;
        field.hasTag = d[31] != 0;
        if (const std::string problem = sizeProblem(field, 1); !problem.empty()) fail(problem);
        return field;
    }

    void checkLengths(DbfHeader& header) const {
        if (layOutFields(header) != header.recordLength) fail("lunghezza del record errata");
        // Some writers pad the header after the terminator: a longer stated length is kept.
        if (header.headerLength > fileSize_) fail("intestazione troncata");
    }

    std::string_view bytes_;
    std::uint64_t fileSize_;
    const std::string& label_;
};

[[noreturn]] void badDefinition(const std::string& reason) {
    throw DbError(DbError::Kind::BadValue, "Struttura della tabella non valida: " + reason);
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

void checkName(const std::string& name) {
    bool ok = !name.empty() && name.size() <= kMaxNameLength && isAsciiLetter(name[0]);
    for (const char c : name) ok = ok && (isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_');
    if (!ok) badDefinition("nome di campo non valido \"" + name + "\"");
}

}  // namespace

DbfHeader DbfHeader::forFields(const FieldList& fields) {
    if (fields.empty()) badDefinition("nessun campo");
    DbfHeader header;
    for (FieldDef field : fields) {
        checkName(field.name);
        field.name = toUpperUtf8(field.name);  // as dBase IV stores names
        if (header.fieldIndex(field.name) >= 0) badDefinition("campo \"" + field.name + "\" ripetuto");
        // Decimals need room for a digit and the point as well.
        if (const std::string problem = sizeProblem(field, 2); !problem.empty()) badDefinition(problem);
        header.fields.push_back(field);
    }
    const std::uint32_t recordLength = layOutFields(header);
    if (recordLength > 0xFFFF) badDefinition("record più lungo di 65535 byte");
    if (minimalHeaderLength(fields.size()) > 0xFFFF) badDefinition("troppi campi");
    header.recordLength = std::uint16_t(recordLength);
    header.headerLength = std::uint16_t(minimalHeaderLength(fields.size()));
    return header;
}

DbfHeader DbfHeader::parse(std::string_view bytes, std::uint64_t fileSize, const std::string& fileLabel) {
    return HeaderParser(bytes, fileSize, fileLabel).parse();
}

Date headerDateToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::uint32_t DbfHeader::recordsInFile(std::uint64_t fileSize) const {
    if (fileSize <= headerLength || recordLength == 0) return 0;
    return std::uint32_t(std::min<std::uint64_t>((fileSize - headerLength) / recordLength, UINT32_MAX));
}

std::string DbfHeader::recordCountProblem(std::uint64_t fileSize, const std::string& fileLabel) const {
    const std::uint64_t counted = headerLength + std::uint64_t(recordCount) * recordLength;
    if (fileSize == counted || fileSize == counted + 1) return {};
    const std::uint32_t held = recordsInFile(fileSize);
    const std::string what = held == recordCount && fileSize > counted
                                 ? " ma dopo l'ultimo ci sono " + std::to_string(fileSize - counted) +
                                       " byte in più, meno di un record"
                                 : " ma ne contiene " + std::to_string(held);
    return "Il file \"" + fileLabel + "\" dichiara " + std::to_string(recordCount) + " record" + what +
           ": va riparato (RIORGANIZZAZIONE o quendra-db reindex)";
}

std::string DbfHeader::serialize() const {
    const std::size_t needed = minimalHeaderLength(fields.size());
    std::string out(std::max<std::size_t>(headerLength, needed), '\0');
    out[0] = char(version);
    if (!lastUpdate.isEmpty() && lastUpdate.year() >= 1900 && lastUpdate.year() <= 1900 + 255) {
        out[1] = char(lastUpdate.year() - 1900);
        out[2] = char(lastUpdate.month());
        out[3] = char(lastUpdate.day());
    }
    writeLe(out, 4, recordCount, 4);
    writeLe(out, 8, std::uint32_t(out.size()), 2);
    writeLe(out, 10, recordLength, 2);
    out[28] = productionIndex ? 0x01 : 0x00;
    out[29] = char(languageDriver);
    std::size_t pos = kPrefixLength;
    for (const FieldDef& field : fields) {
        out.replace(pos, std::min(field.name.size(), kMaxNameLength), field.name, 0, kMaxNameLength);
        out[pos + 11] = char(field.type);
        out[pos + 16] = char(field.length);
        out[pos + 17] = char(field.decimals);
        out[pos + 31] = field.hasTag ? 0x01 : 0x00;
        pos += kDescriptorLength;
    }
    out[pos] = kTerminator;
    return out;
}

int DbfHeader::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (equalsIgnoreCaseAscii(fields[i].name, name)) return int(i);
    return -1;
}

}  // namespace quendra::storage
