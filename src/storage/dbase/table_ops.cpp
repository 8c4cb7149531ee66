#include "storage/dbase/table_ops.h"

#include "storage/dbase/error.h"
#include "storage/dbase/system_error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/index_build.h"
#include "storage/dbase/mdx_create.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_registry.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace quendra::storage {

namespace {

constexpr char kEndOfFile = 0x1A;

void refuseIfOpen(const std::filesystem::path& path) {
    if (isTableOpen(path)) {
        throw DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path) + "\" è già aperta in questo momento");
    }
}

// The existing table (if any) locked against every other opener while it is replaced.
std::optional<FileHandle> holdForReplacement(const std::filesystem::path& path) {
    refuseIfOpen(path);
    refuseIfNotRegular(path);
    refuseIfNotRegular(indexPathFor(path));
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return std::nullopt;
    return FileHandle(path, FileHandle::Lock::Exclusive);
}

TagColumns resolveTags(const DbfHeader& header, const std::vector<TagField>& tags, const std::filesystem::path& path) {
    TagColumns columns;
    for (const TagField& tag : tags) {
        const int field = header.fieldIndex(tag.field);
        if (field < 0) {
            throw DbError(DbError::Kind::NoSuchField, "Campo \"" + tag.field + "\" inesistente nella tabella \"" +
                                                          fileLabel(path) + "\"");
        }
        columns.emplace_back(tag.name, std::size_t(field));
    }
    return columns;
}

// installTable for a caller that holds the table (or knows it is new).
void installHeld(const std::filesystem::path& path, DbfHeader header, std::string_view rows,
                 const std::vector<TagField>& tags) {
    const TagColumns columns = resolveTags(header, tags, path);
    header.recordCount = std::uint32_t(rows.size() / header.recordLength);
    header.lastUpdate = headerDateToday();
    header.productionIndex = !columns.empty();
    for (FieldDef& field : header.fields) field.hasTag = false;
    for (const auto& column : columns) header.fields[column.second].hasTag = true;
    std::string bytes = header.serialize();
    bytes += rows;
    bytes.push_back(kEndOfFile);
    const std::filesystem::path mdxPath = indexPathFor(path);
    std::optional<AsideFile> index;
    if (!columns.empty()) {
        const BuiltIndex built = buildIndex(header, rows, columns);
        index.emplace(mdxPath, mdx::buildMdx(path.stem().string().substr(0, 8), built.infos, built.entries,
                                             fileLabel(mdxPath)));
    }
    AsideFile table(path, bytes);
    // The index first: should the table's rename not follow, the old rows find the new
    // index stale and the repair rebuilds theirs, which gives back the old table whole.
    if (index) index->install();
    table.install();
    if (!index) removeFile(mdxPath);
}

std::string visibleRows(Cursor& source) {
    const std::shared_ptr<OpenTable>& table = source.table();
    if (!table) throw DbError(DbError::Kind::BadState, "La tabella non è aperta");
    std::string rows;
    for (source.first(); !source.eof(); source.next()) {
        rows += table->record(source.recordNumber());
        if (source.recordNumber() == 0) break;
    }
    return rows;
}

// An exclusive load for the operations that rebuild the index: the old one, broken or
// not, is never read.
std::shared_ptr<OpenTable> loadForRebuild(const std::filesystem::path& path) {
    refuseIfOpen(path);
    return OpenTable::load(path, true, OpenTable::IndexOnLoad::Skip);
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

void installTable(const std::filesystem::path& path, DbfHeader header, std::string_view rows,
                  const std::vector<TagField>& tags) {
    const std::optional<FileHandle> held = holdForReplacement(path);
    installHeld(path, std::move(header), rows, tags);
}

void createTable(const std::filesystem::path& path, const FieldList& fields, bool replace) {
    const DbfHeader header = DbfHeader::forFields(fields);
    if (!replace && std::filesystem::exists(path)) {
        throw DbError(DbError::Kind::Io, "Il file \"" + fileLabel(path) + "\" esiste già");
    }
    installTable(path, header, {}, {});
}

void copyTable(const std::filesystem::path& source, const std::filesystem::path& target,
               const std::vector<TagField>& tags) {
    Cursor from(source, OpenMode::Shared);
    const std::string rows = visibleRows(from);
    const DbfHeader header = from.table()->header();
    from.close();
    installTable(target, header, rows, tags);
}

void copyRowsTo(Cursor& source, const std::filesystem::path& target) {
    const std::string rows = visibleRows(source);
    installTable(target, source.table()->header(), rows, {});
}

void deleteTable(const std::filesystem::path& path) {
    const std::optional<FileHandle> held = holdForReplacement(path);
    // The table first: a lone index left by a crash is never listed and is replaced by
    // the next table of that name.
    removeFile(path);
    removeFile(indexPathFor(path));
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

std::vector<TagField> tagFieldsOf(const DbfHeader& header, const std::vector<std::pair<std::string, std::size_t>>& tags) {
    std::vector<TagField> named;
    for (const auto& [name, field] : tags) named.push_back({name, header.fields[field].name});
    return named;
}

void packTable(const std::filesystem::path& path) {
    repairRecordCount(path);
    const std::vector<TagField> declared = declaredTags(indexPathFor(path));
    const std::shared_ptr<OpenTable> table = loadForRebuild(path);
    refuseUnreadableRows(*table);
    const DbfHeader& header = table->header();
    std::string kept;
    for (std::uint32_t r = 1; r <= table->physicalCount(); ++r) {
        if (!table->isDeleted(r)) kept += table->record(r);
    }
    // Our exclusive lock stays on the old file until the new one is in place.
    installHeld(path, header, kept, tagFieldsOf(header, resolveDeclared(header, declared)));
}

void reindexTable(const std::filesystem::path& path, const std::vector<TagField>& tags) {
    refuseIfNotRegular(indexPathFor(path));
    repairRecordCount(path);
    if (tags.empty()) {
        const std::vector<TagField> declared = declaredTags(indexPathFor(path));
        const std::shared_ptr<OpenTable> table = loadForRebuild(path);
        refuseUnreadableRows(*table);
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
    refuseUnreadableRows(*table);
    table->rebuildIndex(resolveTags(table->header(), tags, path));
}

bool repairRecordCount(const std::filesystem::path& path) {
    refuseIfOpen(path);
    const FileHandle file(path, FileHandle::Lock::Exclusive);
    const std::uint64_t size = file.size();
    DbfHeader header = readHeader(file, size);
    if (header.recordCountProblem(size, fileLabel(path)).empty()) return false;
    header.recordCount = header.recordsInFile(size);
    const std::uint64_t end = header.recordOffset(header.recordCount + 1);
    file.truncate(end);
    file.writeAt(end, std::string(1, kEndOfFile));
    file.writeAt(0, header.serialize().substr(0, 32));
    file.sync();
    return true;
}

std::vector<TagField> declaredTags(const std::filesystem::path& mdxPath) {
    std::error_code ec;
    if (!std::filesystem::exists(mdxPath, ec)) return {};
    const std::string bytes = FileHandle(mdxPath, FileHandle::Lock::None).readAll();
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
