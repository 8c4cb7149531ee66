#include "storage/dbase/index_build.h"

#include "storage/dbase/error.h"
#include "storage/dbase/field_codec.h"

#include <algorithm>

namespace quendra::storage {

namespace {

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return out;
}

void requireIndexable(const FieldDef& def, const std::string& name) {
    if (name.empty() || name.size() > 10) {
        throw DbError(DbError::Kind::BadValue, "Nome di tag non valido: \"" + name + "\"");
    }
    if (def.type == FieldType::Logical) {
        throw DbError(DbError::Kind::BadValue, "Il campo " + def.name + " non può avere un indice");
    }
}

}  // namespace

std::string sortKeyOfField(const FieldDef& field, std::string_view raw) {
    switch (field.type) {
        case FieldType::Character: return std::string(raw);
        case FieldType::Date: return dateSortKey(Date::parseDbf(raw).value_or(Date{}));
        default: return numericSortKey(readableNumber(field, raw).value_or(0.0));
    }
}

BuiltIndex buildIndex(const DbfHeader& header, std::string_view rows, const TagColumns& tags) {
    for (const auto& [name, field] : tags) requireIndexable(header.fields.at(field), name);
    const std::uint32_t count = header.recordLength ? std::uint32_t(rows.size() / header.recordLength) : 0;
    auto raw = [&](std::uint32_t recno, std::size_t field) {
        return rows.substr(std::size_t(recno - 1) * header.recordLength + header.fieldOffsets[field],
                           header.fields[field].length);
    };
    BuiltIndex built;
    for (const auto& [name, field] : tags) {
        const FieldDef& def = header.fields[field];
        built.infos.push_back({upperAscii(name), upperAscii(def.name), indexKeyType(def), indexKeyLength(def), false});
        std::vector<TagIndex::Entry> sorted;
        sorted.reserve(count);
        for (std::uint32_t r = 1; r <= count; ++r) sorted.push_back({sortKeyOfField(def, raw(r, field)), r});
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const TagIndex::Entry& a, const TagIndex::Entry& b) { return a.key < b.key; });
        std::vector<MdxEntry> entries;
        entries.reserve(count);
        for (const auto& e : sorted) entries.push_back({indexKeyOf(def, raw(e.recno, field)), e.recno});
        built.sorted.push_back(std::move(sorted));
        built.entries.push_back(std::move(entries));
    }
    return built;
}

}  // namespace quendra::storage
