#include "storage/dbase/table_ops.h"

#include "storage/dbase/error.h"
#include "storage/dbase/system_error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_registry.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace quendra::storage {

namespace {

constexpr char kEndOfFile = 0x1A;

void refuseIfOpen(const std::filesystem::path& path) {
    if (isTableOpen(path)) {
        throw DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path) + "\" è già aperta in questo momento");
    }
}

void removeIndexOf(const std::filesystem::path& table) {
    std::error_code ec;
    std::filesystem::remove(indexPathFor(table), ec);
}

// Writes header and rows as a new file, replacing any file of that name and its index.
void writeTable(const std::filesystem::path& path, DbfHeader header, const std::string& rows) {
    refuseIfOpen(path);
    header.productionIndex = false;
    for (FieldDef& field : header.fields) field.hasTag = false;
    header.recordCount = std::uint32_t(rows.size() / header.recordLength);
    std::string bytes = header.serialize();
    bytes += rows;
    bytes.push_back(kEndOfFile);
    removeIndexOf(path);
    writeFileAtomically(path, bytes);
}

// An exclusive load that tolerates a broken index, for the operations that rebuild it.
std::shared_ptr<OpenTable> loadForRebuild(const std::filesystem::path& path) {
    refuseIfOpen(path);
    return OpenTable::load(path, true);
}

std::uint32_t le32(const std::string& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::string cString(const std::string& b, std::size_t at, std::size_t max) {
    std::string out;
    for (std::size_t i = at; i < b.size() && i < at + max && b[i] != '\0'; ++i) out.push_back(b[i]);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

void createTable(const std::filesystem::path& path, const FieldList& fields, bool replace) {
    const DbfHeader header = DbfHeader::forFields(fields);
    if (!replace && std::filesystem::exists(path)) {
        throw DbError(DbError::Kind::Io, "Il file \"" + fileLabel(path) + "\" esiste già");
    }
    writeTable(path, header, {});
}

void copyTable(const std::filesystem::path& source, const std::filesystem::path& target) {
    Cursor from(source, OpenMode::Shared);
    copyRowsTo(from, target);
}

void copyRowsTo(Cursor& source, const std::filesystem::path& target) {
    const std::shared_ptr<OpenTable>& table = source.table();
    if (!table) throw DbError(DbError::Kind::BadState, "La tabella non è aperta");
    std::string rows;
    for (source.first(); !source.eof(); source.next()) {
        rows += table->record(source.recordNumber());
        if (source.recordNumber() == 0) break;
    }
    DbfHeader header = table->header();
    header.languageDriver = table->header().languageDriver;
    writeTable(target, header, rows);
}

void deleteTable(const std::filesystem::path& path) {
    refuseIfOpen(path);
    removeIndexOf(path);
    std::error_code ec;
    if (!std::filesystem::remove(path, ec) && ec) {
        throw DbError(DbError::Kind::Io,
                      "Il file \"" + fileLabel(path) + "\" non può essere cancellato: " + systemErrorText(ec));
    }
}

// The field a tag is on: its expression, or for a tag header lost to damage the field
// of the tag's name (our tags are named after their fields); -1 when neither exists.
int tagField(const DbfHeader& header, const TagField& tag) {
    const int field = header.fieldIndex(tag.field);
    return field >= 0 ? field : header.fieldIndex(tag.name);
}

std::vector<std::pair<std::string, std::size_t>> resolveDeclared(const DbfHeader& header,
                                                                   const std::vector<TagField>& tags) {
    std::vector<std::pair<std::string, std::size_t>> resolved;
    for (const TagField& tag : tags) {
        if (const int field = tagField(header, tag); field >= 0) resolved.emplace_back(tag.name, std::size_t(field));
    }
    return resolved;
}

void packTable(const std::filesystem::path& path) {
    const std::vector<TagField> tags = declaredTags(indexPathFor(path));
    const std::shared_ptr<OpenTable> table = loadForRebuild(path);
    table->pack();
    table->rebuildIndex(resolveDeclared(table->header(), tags));
}

void reindexTable(const std::filesystem::path& path, const std::vector<TagField>& tags) {
    if (tags.empty()) {
        const std::vector<TagField> declared = declaredTags(indexPathFor(path));
        const std::shared_ptr<OpenTable> table = loadForRebuild(path);
        const auto resolved = resolveDeclared(table->header(), declared);
        if (resolved.empty() && table->header().productionIndex) {
            // Rebuilding with nothing would silently drop the index the table announces.
            throw DbError(DbError::Kind::IndexMissing,
                          "Non si sa quali tag ricostruire per la tabella \"" + fileLabel(path) +
                              "\": l'indice è perduto, indicare i tag (--tag NOME=CAMPO)");
        }
        table->rebuildIndex(resolved);
        return;
    }
    const std::shared_ptr<OpenTable> table = loadForRebuild(path);
    std::vector<std::pair<std::string, std::size_t>> resolved;
    for (const TagField& tag : tags) {
        const int field = table->header().fieldIndex(tag.field);
        if (field < 0) {
            throw DbError(DbError::Kind::NoSuchField, "Campo \"" + tag.field + "\" inesistente nella tabella \"" +
                                                          fileLabel(path) + "\"");
        }
        resolved.emplace_back(tag.name, std::size_t(field));
    }
    table->rebuildIndex(resolved);
}

std::vector<TagField> declaredTags(const std::filesystem::path& mdxPath) {
    std::ifstream in(mdxPath, std::ios::binary);
    if (!in) return {};
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    constexpr std::size_t kTagTable = 544, kEntry = 32, kPage = 512;
    if (bytes.size() < kTagTable) return {};
    const std::size_t inUse = std::uint8_t(bytes[28]) | std::size_t(std::uint8_t(bytes[29])) << 8;
    std::vector<TagField> tags;
    for (std::size_t i = 0; i < inUse && i < 48; ++i) {
        const std::size_t at = kTagTable + i * kEntry;
        if (at + kEntry > bytes.size()) break;
        const std::string name = cString(bytes, at + 4, 11);
        const std::uint64_t header = std::uint64_t(le32(bytes, at)) * kPage;
        const bool plainName = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
        });
        if (!plainName) continue;
        // A lost tag header leaves the expression unknown; tagField() then tries the name.
        tags.push_back({name, header + 24 < bytes.size() ? cString(bytes, std::size_t(header + 24), 220) : ""});
    }
    return tags;
}

}  // namespace quendra::storage
