#include "storage/dbase/open_table.h"

#include "storage/dbase/field_codec.h"
#include "storage/dbase/index_build.h"
#include "storage/dbase/index_seals.h"
#include "storage/dbase/mdx_key.h"
#include "storage/dbase/text_case.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <optional>
#include <set>
#include <thread>
#include <utility>

namespace quendra::storage {

namespace {

constexpr char kDeletedFlag = '*';
constexpr char kValidFlag = ' ';
constexpr char kEndOfFile = 0x1A;
// A post takes milliseconds; a reader waits this long at most for the index to catch up.
constexpr int kPostWaits = 50;
constexpr std::chrono::milliseconds kPostWait{20};
// A value of the number cache not decoded yet: a NaN no decoding yields.
constexpr std::uint64_t kUndecoded = 0x7ff8'0000'0000'0badull;

// A number to look up in a numeric tag: "." decimals in every locale, blanks around it
// and a sign allowed; an empty text looks up 0.
std::optional<double> searchNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0.0;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool digitFirst = !text.empty() && (text.front() == '.' || (text.front() >= '0' && text.front() <= '9'));
    if (!digitFirst || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

std::string numericSortKey(double value) {
    if (value == 0.0 || std::isnan(value)) value = 0.0;  // one key for +0, -0
    std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    bits = (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
    std::string key(8, '\0');
    for (int i = 0; i < 8; ++i) key[std::size_t(i)] = char((bits >> (56 - 8 * i)) & 0xFF);
    return key;
}

char indexKeyType(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Character: return 'C';
        case FieldType::Date: return 'D';
        default: return 'N';
    }
}

std::uint16_t indexKeyLength(const FieldDef& field) {
    switch (field.type) {
        case FieldType::Character: return field.length;
        case FieldType::Date: return kDateKeyLength;
        default: return kNumericKeyLength;
    }
}

std::string indexKeyOf(const FieldDef& field, std::string_view raw) {
    switch (field.type) {
        case FieldType::Character: return std::string(raw);
        case FieldType::Date: return encodeDateKey(Date::parseDbf(raw).value_or(Date{}));
        default: {
            // A number field holding garbage (written elsewhere) reads as 0, and so keys.
            const auto key = encodeNumericKey(raw);
            return key ? *key : *encodeNumericKey("0");
        }
    }
}

std::string dateSortKey(Date value) { return numericSortKey(double(value.julianDay())); }

std::filesystem::path indexPathFor(const std::filesystem::path& table) {
    const std::string stem = table.stem().string().substr(0, 8);
    const std::string ext = table.extension().string();
    const bool upper = !ext.empty() && ext[1] >= 'A' && ext[1] <= 'Z';
    const std::string name = stem + (upper ? ".MDX" : ".mdx");
    const std::filesystem::path dir = table.parent_path();
    const std::filesystem::path existing = findCaseBlind(dir, name);
    return existing.empty() ? dir / name : existing;
}

std::string readHeaderBytes(const FileHandle& file, std::uint64_t fileSize) {
    // The fixed part first, then exactly the stated header: never the whole file.
    std::string head(32, '\0');
    head.resize(file.readInto(0, head.data(), head.size()));
    if (head.size() >= 12) {
        const std::size_t headerLength = std::uint8_t(head[8]) | std::size_t(std::uint8_t(head[9])) << 8;
        head.resize(std::min<std::uint64_t>(std::max<std::size_t>(headerLength, 33), fileSize));
        head.resize(file.readInto(0, head.data(), head.size()));
    }
    return head;
}

DbfHeader readHeader(const FileHandle& file, std::uint64_t fileSize) {
    return DbfHeader::parse(readHeaderBytes(file, fileSize), fileSize, fileLabel(file.path()));
}

std::unique_ptr<OpenTable> OpenTable::load(const std::filesystem::path& path, bool exclusive, IndexOnLoad index) {
    std::unique_ptr<OpenTable> table(new OpenTable());
    table->path_ = path;
    table->exclusive_ = exclusive;
    table->file_ = FileHandle(path, exclusive ? FileHandle::Lock::Exclusive : FileHandle::Lock::Shared);
    table->readRows();
    const DbfHeader& header = table->header_;
    table->indexPending_ = header.productionIndex && index != IndexOnLoad::Skip;
    table->verifyIndex_ = index == IndexOnLoad::Verify;
    if (exclusive) table->ensureIndex();
    return table;
}

bool OpenTable::letGo() noexcept {
    try {
        // A table we wrote is not the file it read; an index we could not read may be
        // readable later (another program's post over, a missing file put back).
        const bool indexAsRead = indexPending_ || mdx_ || !header_.productionIndex;
        const bool rowsCounted = header_.recordCountProblem(stamp_.size, fileLabel(path_)).empty();
        if (written_ || !indexAsRead || !rowsCounted) return false;
        if (mdx_ && indexUsable_ && !indexSealed_) {
            recordSeal(path_, {rowsDigest(), mdx_->digest()});
            indexSealed_ = true;
        }
        if (mdx_) mdx_->letGo();
        file_ = FileHandle();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<OpenTable> OpenTable::verified(const std::filesystem::path& path) noexcept {
    try {
        std::unique_ptr<OpenTable> table = load(path, false, IndexOnLoad::Verify);
        table->ensureIndex();
        if (!table->letGo()) return nullptr;
        return table;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::uint64_t OpenTable::rowsDigest() const {
    return digestOf(headerBytes_) ^ (digestOf(std::string_view(rows_.data(), rows_.size())) * 0x9E3779B97F4A7C15ull);
}

bool OpenTable::takeBack(bool exclusive) {
    file_ = FileHandle(path_, exclusive ? FileHandle::Lock::Exclusive : FileHandle::Lock::Shared);
    if (!rowsStillInFile()) return false;
    try {
        if (mdx_ && !mdx_->takeBack()) return false;
    } catch (const DbError&) {
        return false;  // gone or unreadable: the fresh load says which, in its words
    }
    exclusive_ = exclusive;
    writer_ = false;
    stamp_ = file_.stamp();
    ++version_;
    if (exclusive) ensureIndex();
    return true;
}

bool OpenTable::rowsStillInFile() const {
    // Compared with the rows themselves, not a clock: a file rewritten within the same
    // tick keeps its time, and other programs' clocks are not ours.
    const std::uint64_t size = file_.size();
    if (size != stamp_.size || readHeaderBytes(file_, size) != headerBytes_) return false;
    constexpr std::size_t kSlice = std::size_t(1) << 18;
    std::vector<char> slice(std::min(kSlice, rows_.size()));
    for (std::size_t done = 0; done < rows_.size(); done += slice.size()) {
        const std::size_t length = std::min(slice.size(), rows_.size() - done);
        if (file_.readInto(header_.headerLength + done, slice.data(), length) != length ||
            std::memcmp(slice.data(), rows_.data() + done, length) != 0) {
            return false;
        }
    }
    return true;
}

double OpenTable::numberOf(std::uint32_t recno, std::size_t field) const {
    if (numbers_.size() != header_.fields.size()) numbers_.resize(header_.fields.size());
    std::vector<double>& column = numbers_[field];
    if (column.size() != header_.recordCount) column.assign(header_.recordCount, std::bit_cast<double>(kUndecoded));
    double& value = column[recno - 1];
    if (std::bit_cast<std::uint64_t>(value) == kUndecoded) {
        const FieldDef& def = header_.fields[field];
        const std::string_view raw = rawField(recno, field);
        value = def.type == FieldType::Date ? double(decodeDate(def, raw).julianDay()) : decodeNumber(def, raw);
    }
    return value;
}

bool OpenTable::isDeleted(std::uint32_t recno) const {
    const char flag = record(recno)[0];
    if (flag == kValidFlag || flag == kDeletedFlag) return flag == kDeletedFlag;
    throw inRow(path_, recno, DbError(DbError::Kind::BadValue, recordFlagProblem(flag)));
}

void OpenTable::readRows() {
    stamp_ = file_.stamp();
    const std::uint64_t fileSize = stamp_.size;
    headerBytes_ = readHeaderBytes(file_, fileSize);
    header_ = DbfHeader::parse(headerBytes_, fileSize, fileLabel(path_));
    const DbfHeader& header = header_;
    if (const std::string problem = header.recordCountProblem(fileSize, fileLabel(path_)); !problem.empty()) {
        // A writer in another process appends the record before it counts it: rows beyond
        // the count are then its post in progress, not damage.
        const bool appending = fileSize > header.recordOffset(header.recordCount + 1) && file_.writeLockedElsewhere();
        if (!appending) throw DbError(DbError::Kind::RecordCount, problem);
    }
    const std::uint64_t rowBytes = std::uint64_t(header.recordCount) * header.recordLength;
    if (rowBytes > FileHandle::kMaxFileBytes) {
        throw DbError(DbError::Kind::BadFile, "La tabella \"" + fileLabel(path_) + "\" è troppo grande (" +
                                                  std::to_string(header.recordCount) + " record)");
    }
    rows_.resize(std::size_t(rowBytes));
    file_.readInto(header.headerLength, rows_.data(), rows_.size());
    numbers_.clear();
    // A damaged flag counts as visible here; reading that row refuses it.
    visible_ = 0;
    for (std::uint32_t r = 1; r <= header.recordCount; ++r) {
        if (record(r)[0] != kDeletedFlag) ++visible_;
    }
    ++version_;
}

void OpenTable::markIndexUnusable(DbError::Kind kind, const std::string& why) {
    indexPending_ = false;
    indexUsable_ = false;
    indexProblemKind_ = kind;
    indexProblem_ = why;
    tags_.clear();
    mdx_.reset();
}

const OpenTable& OpenTable::ensureIndex() const {
    if (indexPending_) {
        auto& self = const_cast<OpenTable&>(*this);
        self.indexPending_ = false;
        self.loadIndex();
    }
    return *this;
}

void OpenTable::loadIndex() {
    const std::filesystem::path mdxPath = indexPathFor(path_);
    for (int attempt = 1;; ++attempt) {
        try {
            std::unique_ptr<MdxFile> mdx = MdxFile::open(mdxPath);
            if (mdx->tagCount() == 0) {
                throw DbError(DbError::Kind::IndexDamaged, "L'indice \"" + fileLabel(mdxPath) + "\" non contiene alcun tag");
            }
            const std::optional<IndexSeal> seal = verifyIndex_ ? std::nullopt : recordedSeal(path_);
            const bool sealed = seal && seal->index == mdx->digest() && seal->table == rowsDigest();
            validateEntries(*mdx, sealed);
            indexSealed_ = sealed;
            mdx_ = std::move(mdx);
            indexUsable_ = true;
            return;
        } catch (const DbError& e) {
            // Another process's post writes the row and the count before the index: while
            // it holds the write lock, an index behind the rows is its post in progress.
            const bool postElsewhere = e.kind() == DbError::Kind::IndexStale && !writer_ && !exclusive_ &&
                                       file_.writeLockedElsewhere();
            if (!postElsewhere) {
                markIndexUnusable(e.kind() == DbError::Kind::Io ? DbError::Kind::IndexMissing : e.kind(), e.what());
                return;
            }
            if (attempt == kPostWaits) {
                markIndexUnusable(DbError::Kind::Locked, "L'indice \"" + fileLabel(mdxPath) +
                                                             "\" è in aggiornamento da un altro programma: riprovare");
                return;
            }
        }
        std::this_thread::sleep_for(kPostWait);
        readRows();
    }
}

void OpenTable::validateEntries(const MdxFile& mdx, bool sealed) {
    const std::string label = fileLabel(indexPathFor(path_));
    auto stale = [&](const std::string& why) {
        return DbError(DbError::Kind::IndexStale,
                       "L'indice \"" + label + "\" non corrisponde più alla tabella: " + why);
    };
    tags_.clear();
    std::vector<std::size_t> fields;
    for (std::size_t t = 0; t < mdx.tagCount(); ++t) {
        const MdxTagInfo& info = mdx.tag(t);
        const int field = header_.fieldIndex(info.expression);
        if (field < 0) throw stale("il tag " + info.name + " è su un campo inesistente");
        const FieldDef& def = header_.fields[std::size_t(field)];
        if (info.keyType != indexKeyType(def) || info.keyLength != indexKeyLength(def)) {
            throw stale("il tag " + info.name + " non ha il tipo del campo " + def.name);
        }
        fields.push_back(std::size_t(field));
    }
    std::vector<bool> seen;
    for (std::size_t t = 0; t < fields.size(); ++t) {
        const MdxTagInfo& info = mdx.tag(t);
        const FieldDef& def = header_.fields[fields[t]];
        const std::vector<MdxEntry> entries = mdx.entries(t);
        if (entries.size() != header_.recordCount) {
            throw stale("il tag " + info.name + " ha " + std::to_string(entries.size()) + " chiavi per " +
                        std::to_string(header_.recordCount) + " record");
        }
        seen.assign(header_.recordCount + 1, false);
        std::vector<TagIndex::Entry> ordered;
        ordered.reserve(entries.size());
        for (const MdxEntry& e : entries) {
            if (e.recno == 0 || e.recno > header_.recordCount || seen[e.recno]) {
                throw stale("il tag " + info.name + " ha un numero di record errato");
            }
            seen[e.recno] = true;
            const std::string_view raw = rawField(e.recno, fields[t]);
            // Sealed: these very bytes were compared key by key when the seal was made.
            if (!sealed && (def.type == FieldType::Character ? e.key != raw : e.key != indexKeyOf(def, raw))) {
                throw stale("la chiave del record " + std::to_string(e.recno) + " nel tag " + info.name +
                            " è diversa dal campo");
            }
            ordered.push_back({sortKeyOfField(def, raw), e.recno});
            // The file's order is the index's; ours must agree or lookups would miss rows.
            if (!sealed && ordered.size() > 1) {
                const TagIndex::Entry& prev = ordered[ordered.size() - 2];
                if (entryLess(ordered.back().key, e.recno, prev.key, prev.recno)) {
                    throw stale("il tag " + info.name + " non è in ordine");
                }
            }
        }
        tags_.push_back(TagIndex(info, fields[t], std::move(ordered)));
    }
}

int OpenTable::findTag(std::string_view tagOrField) const {
    ensureIndex();
    for (std::size_t i = 0; i < tags_.size(); ++i) {
        if (equalsIgnoreCaseAscii(tags_[i].info().name, tagOrField)) return int(i);
    }
    for (std::size_t i = 0; i < tags_.size(); ++i) {
        if (equalsIgnoreCaseAscii(header_.fields[tags_[i].fieldIndex()].name, tagOrField)) return int(i);
    }
    return -1;
}

std::string OpenTable::sortKeyOf(std::size_t tag, std::uint32_t recno) const {
    return sortKeyFromRaw(tag, rawField(recno, tags_[tag].fieldIndex()));
}

std::string OpenTable::sortKeyFromRaw(std::size_t tag, std::string_view raw) const {
    return sortKeyOfField(header_.fields[tags_[tag].fieldIndex()], raw);
}

std::string OpenTable::fileKeyOf(std::size_t tag, std::uint32_t recno) const {
    const std::size_t field = tags_[tag].fieldIndex();
    return indexKeyOf(header_.fields[field], rawField(recno, field));
}

std::string OpenTable::searchKey(std::size_t tag, std::string_view text) const {
    const FieldDef& def = header_.fields[tags_[tag].fieldIndex()];
    switch (def.type) {
        case FieldType::Character: {
            std::optional<std::string> bytes = encodeFromUtf8(text, codePage());
            if (!bytes) {
                throw DbError(DbError::Kind::BadValue,
                              "Il valore cercato contiene il carattere \"" + firstUnencodable(text, codePage()) +
                                  "\" che la tabella non può contenere");
            }
            bytes->resize(def.length, ' ');
            return *bytes;
        }
        case FieldType::Date: {
            const auto date = Date::parseDisplay(text);
            if (!date && !text.empty()) throw DbError(DbError::Kind::BadValue, "Data non valida: " + std::string(text));
            return dateSortKey(date.value_or(Date()));
        }
        default: {
            const std::optional<double> value = searchNumber(text);
            if (!value) throw DbError(DbError::Kind::BadValue, "Numero non valido: " + std::string(text));
            return numericSortKey(*value);
        }
    }
}

void OpenTable::writeHeader() {
    header_.lastUpdate = headerDateToday();
    file_.writeAt(0, header_.serialize().substr(0, 32));
}

void OpenTable::writeRecord(std::uint32_t recno, std::string_view bytes) {
    if (bytes.size() != header_.recordLength || recno == 0 || recno > header_.recordCount + 1) {
        throw DbError(DbError::Kind::BadState, "Record non valido per la tabella \"" + fileLabel(path_) + "\"");
    }
    beginWrite();
    // The index must be checked against the rows as they were, before this write.
    ensureIndex();
    const bool isNew = recno == header_.recordCount + 1;
    // The record goes first, the count second, the index last: a crash in between leaves
    // either the old table or one whose index the next exclusive open finds stale.
    if (isNew) {
        std::string withEof(bytes);
        withEof.push_back(kEndOfFile);
        file_.writeAt(header_.recordOffset(recno), withEof);
        rows_.insert(rows_.end(), bytes.begin(), bytes.end());
        ++header_.recordCount;
        for (std::vector<double>& column : numbers_) {
            if (!column.empty()) column.push_back(std::bit_cast<double>(kUndecoded));
        }
        if (bytes[0] != kDeletedFlag) ++visible_;
        writeHeader();
        ++version_;
        finishWrite();
        updateTags(recno, {}, true);
    } else {
        file_.writeAt(header_.recordOffset(recno), bytes);
        const std::string oldRecord(record(recno));
        std::memcpy(rows_.data() + std::size_t(recno - 1) * header_.recordLength, bytes.data(), bytes.size());
        for (std::vector<double>& column : numbers_) {
            if (!column.empty()) column[recno - 1] = std::bit_cast<double>(kUndecoded);
        }
        if (oldRecord[0] != bytes[0]) visible_ += bytes[0] == kDeletedFlag ? -1 : 1;
        ++version_;
        finishWrite();
        updateTags(recno, oldRecord, false);
    }
}

void OpenTable::beginWrite() {
    written_ = true;
    if (writer_ || exclusive_) return;
    // A shared holder writes only under the write lock, and only if nobody changed the
    // file since we read it: our rows would otherwise overwrite theirs.
    if (!file_.tryWriteLock()) {
        throw DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path_) + "\" è in uso da un altro programma");
    }
    if (!(file_.stamp() == stamp_)) {
        file_ = FileHandle(path_, FileHandle::Lock::Shared);  // gives the write lock back
        throw DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path_) +
                                                 "\" è stata modificata da un altro programma: va riaperta");
    }
    writer_ = true;
}

namespace {

std::set<OpenTable*>& unsyncedTables() {
    static std::set<OpenTable*> tables;
    return tables;
}

int deferredSyncDepth = 0;

}  // namespace

void OpenTable::finishWrite() {
    if (deferredSyncDepth > 0) {
        unsyncedTables().insert(this);
        return;
    }
    file_.sync();
}

OpenTable::~OpenTable() {
    if (unsyncedTables().erase(this) > 0) {
        try {
            file_.sync();
        } catch (const DbError&) {
            // Closing cannot report; the next open checks the file against its header.
        }
    }
}

DeferredSync::DeferredSync() { ++deferredSyncDepth; }

DeferredSync::~DeferredSync() {
    if (!finished_) {
        try {
            finish();
        } catch (const DbError&) {
            // Unwinding already; the failure that brought us here is the one to report.
        }
    }
}

void DeferredSync::finish() {
    finished_ = true;
    if (--deferredSyncDepth > 0) return;
    const std::set<OpenTable*> pending = std::exchange(unsyncedTables(), {});
    for (OpenTable* table : pending) table->file_.sync();
}

void OpenTable::updateTags(std::uint32_t recno, std::string_view oldRecord, bool isNew) {
    if (!indexUsable()) return;
    try {
        for (std::size_t t = 0; t < tags_.size(); ++t) {
            TagIndex& tag = tags_[t];
            const std::size_t offset = header_.fieldOffsets[tag.fieldIndex()];
            const std::size_t length = header_.fields[tag.fieldIndex()].length;
            if (!isNew) {
                if (oldRecord.substr(offset, length) == rawField(recno, tag.fieldIndex())) continue;
                const std::string oldKey = sortKeyFromRaw(t, oldRecord.substr(offset, length));
                const std::size_t pos = tag.lowerBound(oldKey, recno);
                tag.eraseAt(pos);
                mdx_->erase(t, pos);
            }
            std::string key = sortKeyOf(t, recno);
            const std::size_t pos = tag.lowerBound(key, recno);
            tag.insertAt(pos, {std::move(key), recno});
            mdx_->insert(t, pos, fileKeyOf(t, recno), recno);
        }
    } catch (const DbError& e) {
        // The .mdx on disk is now behind the rows: the next exclusive open rebuilds it.
        markIndexUnusable(DbError::Kind::IndexStale, e.what());
        throw;
    }
}

void OpenTable::setDeleted(std::uint32_t recno, bool deleted) {
    if (isDeleted(recno) == deleted) return;
    std::string bytes(record(recno));
    bytes[0] = deleted ? kDeletedFlag : kValidFlag;
    beginWrite();
    file_.writeAt(header_.recordOffset(recno), std::string_view(bytes).substr(0, 1));
    rows_[std::size_t(recno - 1) * header_.recordLength] = bytes[0];
    visible_ += deleted ? -1 : 1;
    ++version_;
    finishWrite();
}

void OpenTable::addTag(const std::string& tagName, std::size_t field) {
    ensureIndex();
    std::vector<std::pair<std::string, std::size_t>> tags;
    for (const TagIndex& tag : tags_) {
        if (!equalsIgnoreCaseAscii(tag.info().name, tagName)) tags.emplace_back(tag.info().name, tag.fieldIndex());
    }
    tags.emplace_back(tagName, field);
    rebuildIndex(tags);
}

void OpenTable::rebuildIndex(const TagColumns& tags) {
    BuiltIndex built = buildIndex(header_, std::string_view(rows_.data(), rows_.size()), tags);
    beginWrite();
    indexPending_ = false;
    mdx_.reset();
    tags_.clear();
    for (std::size_t t = 0; t < tags.size(); ++t) {
        tags_.push_back(TagIndex(built.infos[t], tags[t].second, std::move(built.sorted[t])));
    }
    for (FieldDef& def : header_.fields) def.hasTag = false;
    for (const auto& [name, field] : tags) header_.fields[field].hasTag = true;
    const std::filesystem::path mdxPath = indexPathFor(path_);
    indexProblem_.clear();
    // The new index is complete and durable before the header announces it, and byte 28
    // is never cleared on the way: a crash leaves the old index or the new one.
    if (!tags.empty()) mdx_ = MdxFile::create(mdxPath, path_.stem().string().substr(0, 8), built.infos, built.entries);
    header_.productionIndex = !tags.empty();
    indexUsable_ = !tags.empty();
    header_.lastUpdate = headerDateToday();
    file_.writeAt(0, header_.serialize());
    file_.sync();
    if (tags.empty()) removeFile(mdxPath);
    ++version_;
}

}  // namespace quendra::storage
