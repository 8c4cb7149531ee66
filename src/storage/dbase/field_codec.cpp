#include "storage/dbase/field_codec.h"

#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"

#include <array>
#include <charconv>
#include <cmath>

namespace quendra::storage {

namespace {

// Typed text and C fields are trimmed of blanks; a few writers pad C fields with NULs.
constexpr std::string_view kBlank = " ";
constexpr std::string_view kPadding(" \0", 2);

// By hand, not find_last_not_of: that asks memchr about every byte, and every text field
// of every row read passes through here.
bool isPadding(char c, std::string_view padding) {
    for (const char p : padding) {
        if (c == p) return true;
    }
    return false;
}

std::string_view trimRight(std::string_view text, std::string_view padding = kPadding) {
    std::size_t end = text.size();
    while (end > 0 && isPadding(text[end - 1], padding)) --end;
    return text.substr(0, end);
}

std::string_view trim(std::string_view text, std::string_view padding = kPadding) {
    text = trimRight(text, padding);
    std::size_t start = 0;
    while (start < text.size() && isPadding(text[start], padding)) ++start;
    return text.substr(start);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    while (end < text.size() && isDigit(text[end])) ++end;
    return end - pos;
}

// A stored N/F value exactly as dBase writes it: right-aligned, an optional minus, the
// whole part, and the point with exactly the field's decimals. The whole part may be
// missing only where the field had no room for its zero. Blanks only: empty (0).
std::optional<double> parseStored(const FieldDef& field, std::string_view raw) {
    const std::size_t start = raw.find_first_not_of(' ');
    if (start == std::string_view::npos) return 0.0;
    const std::string_view text = raw.substr(start);
    std::size_t pos = text[0] == '-' ? 1 : 0;
    const std::size_t whole = digitsFrom(text, pos);
    if (whole == 0 && start > 0) return std::nullopt;
    pos += whole;
    if (field.decimals > 0) {
        if (pos >= text.size() || text[pos] != '.' || digitsFrom(text, pos + 1) != field.decimals) return std::nullopt;
        pos += 1 + field.decimals;
    }
    if (pos != text.size() || whole + field.decimals == 0) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

[[noreturn]] void badValue(const std::string& message) { throw DbError(DbError::Kind::BadValue, message); }

// A number written with "." as decimal point (and an optional exponent); nullopt for
// anything else, including the "inf"/"nan" words and hexadecimal that a C library accepts.
std::optional<double> parseNumber(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    if (text.empty() || !(text[0] == '.' || (text[0] >= '0' && text[0] <= '9'))) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

// Rounds the exact binary value, halves to even, whatever the C locale says.
std::string formatFixed(double value, int decimals) {
    std::array<char, 600> buffer;  // 309 digits of the largest double, 255 decimals
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string shortestText(double value) {
    std::array<char, 600> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    return text == "-0" ? "0" : text;
}

void requireFinite(const FieldDef& field, double value) {
    if (!std::isfinite(value)) badValue("Il valore per il campo " + field.name + " non è un numero valido");
}

// Code-page bytes of a C field, left-aligned; trailing blanks may be dropped to fit.
std::string fitCharacter(const FieldDef& field, std::string_view bytes) {
    if (bytes.size() > field.length) {
        bytes = trimRight(bytes);
        if (bytes.size() > field.length)
            badValue("Il testo è troppo lungo per il campo " + field.name + " (massimo " +
                     std::to_string(field.length) + " caratteri)");
    }
    std::string out(bytes);
    out.resize(field.length, ' ');
    return out;
}

char logicalLetter(std::string_view raw) {
    switch (raw.empty() ? ' ' : raw[0]) {
    case 'T': case 't': case 'Y': case 'y': return 'T';
    case 'F': case 'f': case 'N': case 'n': return 'F';
    default: return '?';
    }
}

std::string notA(std::string_view text, std::string_view kind) {
    return "\"" + escapedBytes(text) + "\", che non è " + std::string(kind);
}

}  // namespace

std::string escapedBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            out.push_back(c);
        } else {
            out.append("\\x").push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}

std::string fieldValueProblem(const FieldDef& field, std::string_view raw) {
    // Trimmed only for a message: a text field, read on every row, never needs it.
    const auto text = [raw] { return trim(raw, kBlank); };
    switch (field.type) {
    case FieldType::Character: {
        // NULs are damage in every value but as the padding at the end of a text.
        const std::size_t nul = raw.find('\0');
        if (nul == std::string_view::npos || raw.find_first_not_of('\0', nul) == std::string_view::npos) return {};
        return "un byte nullo al carattere " + std::to_string(nul + 1) + " del testo";
    }
    case FieldType::Numeric:
    case FieldType::Float:
        if (parseStored(field, raw)) return {};
        return notA(text(), "un numero");
    case FieldType::Date:
        if (Date::parseDbf(raw)) return {};
        return notA(text(), "una data");
    case FieldType::Logical:
        if (text().empty() || text() == "?" || logicalLetter(text()) != '?') return {};
        return notA(text(), "un valore logico");
    }
    return {};
}

namespace {

void requireValid(const FieldDef& field, std::string_view raw) {
    if (std::string problem = fieldValueProblem(field, raw); !problem.empty()) {
        badValue("il campo " + field.name + " contiene " + problem);
    }
}

}  // namespace

std::string recordFlagProblem(char flag) {
    if (flag == ' ' || flag == '*') return {};
    return "il contrassegno di cancellazione contiene \"" + escapedBytes(std::string_view(&flag, 1)) +
           "\", che non è né \" \" né \"*\"";
}

DbError inRow(const std::filesystem::path& table, std::uint32_t recno, const DbError& fieldError) {
    return DbError(fieldError.kind(),
                   "Tabella \"" + fileLabel(table) + "\", record " + std::to_string(recno) + ": " + fieldError.what());
}

std::string decodeText(const FieldDef& field, std::string_view raw, CodePage page) {
    requireValid(field, raw);
    switch (field.type) {
    case FieldType::Character: return decodeToUtf8(trimRight(raw), page);
    case FieldType::Numeric:
    case FieldType::Float: return std::string(trim(raw, kBlank));
    case FieldType::Date: return decodeDate(field, raw).toDisplay();
    case FieldType::Logical: break;
    }
    const char letter = logicalLetter(raw);
    return letter == '?' ? std::string() : std::string(1, letter);
}

std::optional<double> readableNumber(const FieldDef& field, std::string_view raw) {
    if (field.type != FieldType::Character) return parseStored(field, raw);
    const std::string_view text = trim(raw);
    return text.empty() ? 0.0 : parseNumber(text).value_or(0);
}

double decodeNumber(const FieldDef& field, std::string_view raw) {
    if (field.type == FieldType::Date || field.type == FieldType::Logical) return 0;
    // Parsed once on the common path; only a value that fails is parsed again for its reason.
    if (const std::optional<double> value = readableNumber(field, raw)) return *value;
    requireValid(field, raw);
    return 0;
}

Date decodeDate(const FieldDef& field, std::string_view raw) {
    if (const std::optional<Date> date = Date::parseDbf(raw)) return *date;
    requireValid(field, raw);
    return Date{};
}

bool decodeLogical(std::string_view raw) { return logicalLetter(raw) == 'T'; }

bool isBlank(const FieldDef& field, std::string_view raw) {
    if (field.type == FieldType::Logical) return logicalLetter(raw) == '?' && raw.find('\0') == std::string_view::npos;
    return trim(raw, field.type == FieldType::Character ? kPadding : kBlank).empty();
}

std::string encodeText(const FieldDef& field, std::string_view utf8, CodePage page) {
    switch (field.type) {
    case FieldType::Character: {
        const auto bytes = encodeFromUtf8(utf8, page);
        if (!bytes)
            badValue("Il carattere \"" + firstUnencodable(utf8, page) + "\" non può essere salvato nel campo " +
                     field.name);
        return fitCharacter(field, *bytes);
    }
    case FieldType::Numeric:
    case FieldType::Float: {
        const std::string_view text = trim(utf8);
        if (text.empty()) return blankValue(field);
        const auto value = parseNumber(text);
        if (!value) badValue("\"" + std::string(text) + "\" non è un numero valido per il campo " + field.name);
        return encodeNumber(field, *value);
    }
    case FieldType::Date: {
        const std::string_view text = trim(utf8);
        if (text.empty()) return blankValue(field);
        auto date = Date::parseDisplay(text);
        if (!date) date = Date::parseIso(text);
        if (!date) badValue("\"" + std::string(text) + "\" non è una data valida per il campo " + field.name);
        return encodeDate(field, *date);
    }
    case FieldType::Logical: break;
    }
    const std::string_view text = trim(utf8);
    if (text.empty()) return blankValue(field);
    const char letter = text.size() == 1 ? logicalLetter(text) : '?';
    if (letter == '?') badValue("\"" + std::string(text) + "\" non è un valore logico valido per il campo " + field.name);
    return std::string(1, letter);
}

std::string encodeNumber(const FieldDef& field, double value) {
    if (field.type == FieldType::Character) {
        requireFinite(field, value);
        return fitCharacter(field, shortestText(value));
    }
    if (!field.isNumeric()) badValue("Il campo " + field.name + " non accetta numeri");
    requireFinite(field, value);
    const std::string text = formatFixed(value, field.decimals);
    if (text.size() > field.length)
        badValue("Il valore " + text + " non entra nel campo " + field.name + " (larghezza " +
                 std::to_string(field.length) + ")");
    return std::string(field.length - text.size(), ' ') + text;
}

std::string encodeDate(const FieldDef& field, Date value) {
    if (field.type != FieldType::Date) badValue("Il campo " + field.name + " non accetta date");
    if (!value.isEmpty() && (value.year() < 1 || value.year() > 9999))
        badValue("La data per il campo " + field.name + " è fuori dagli anni 1-9999");
    return value.toDbf();
}

std::string encodeLogical(const FieldDef& field, bool value) {
    if (field.type != FieldType::Logical) badValue("Il campo " + field.name + " non accetta valori logici");
    return value ? "T" : "F";
}

std::string blankValue(const FieldDef& field) {
    return field.type == FieldType::Logical ? std::string("?") : std::string(field.length, ' ');
}

}  // namespace quendra::storage
