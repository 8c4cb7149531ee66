#include "storage/dbase/cursor.h"

#include "storage/dbase/error.h"
#include "storage/dbase/field_codec.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_registry.h"
#include "storage/dbase/text_case.h"

#include <cstring>
#include <exception>

namespace quendra::storage {

namespace {

DbError notOpen() { return DbError(DbError::Kind::BadState, "La tabella non è aperta"); }

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

struct Cursor::Impl {
    std::shared_ptr<OpenTable> table;
    std::filesystem::path path;
    OpenMode mode = OpenMode::Shared;
    CursorState state = CursorState::Closed;
    int tag = -1;
    bool hasRange = false;
    std::string low, high;  // sort keys, both included
    std::uint32_t recno = 0;
    bool eof = true;
    bool bof = true;
    std::size_t cachedPos = 0;
    std::uint64_t cachedVersion = UINT64_MAX;
    std::string buffer;
    const RowReader* master = nullptr;
    std::size_t masterField = 0;
    std::string masterValue;
    bool masterSynced = false;

    std::size_t orderSize() const {
        return tag < 0 ? table->physicalCount() : table->tagAt(std::size_t(tag)).size();
    }
    std::uint32_t recnoAt(std::size_t pos) const {
        return tag < 0 ? std::uint32_t(pos + 1) : table->tagAt(std::size_t(tag)).recnoAt(pos);
    }
    std::pair<std::size_t, std::size_t> bounds() const {
        if (!hasRange || tag < 0) return {0, orderSize()};
        const TagIndex& t = table->tagAt(std::size_t(tag));
        const std::size_t lo = t.lowerBound(low, 0);
        return {lo, std::max(lo, t.upperBound(high))};
    }
    std::size_t positionOf(std::uint32_t r) {
        if (tag < 0) return r - 1;
        if (cachedVersion != table->version() || recnoAt(cachedPos) != r) {
            const TagIndex& t = table->tagAt(std::size_t(tag));
            cachedPos = t.lowerBound(table->sortKeyOf(std::size_t(tag), r), r);
            cachedVersion = table->version();
        }
        return cachedPos;
    }
    bool visible(std::size_t pos) const { return !table->isDeleted(recnoAt(pos)); }
    void setCurrent(std::size_t pos) {
        recno = recnoAt(pos);
        cachedPos = pos;
        cachedVersion = table->version();
    }
    void setEmpty() {
        recno = 0;
        eof = bof = true;
    }
    // First visible position at or after pos inside [lo, hi); hi when none.
    std::size_t forward(std::size_t pos, std::size_t hi) const {
        while (pos < hi && !visible(pos)) ++pos;
        return pos;
    }
    // Last visible position before end inside [lo, end); SIZE_MAX when none.
    std::size_t backward(std::size_t end, std::size_t lo) const {
        while (end > lo) {
            if (visible(end - 1)) return end - 1;
            --end;
        }
        return SIZE_MAX;
    }
    void moveFirst() {
        const auto [lo, hi] = bounds();
        const std::size_t p = forward(lo, hi);
        if (p >= hi) return setEmpty();
        setCurrent(p);
        bof = true;
        eof = false;
    }
    std::string_view row() const {
        if (state == CursorState::Edit || state == CursorState::Insert) return buffer;
        if (recno == 0) return {};
        return table->record(recno);
    }
    std::string_view raw(std::size_t field) const {
        const std::string_view r = row();
        if (r.empty()) return {};
        return r.substr(table->header().fieldOffsets[field], table->fields()[field].length);
    }
    std::string sortKeyFor(const KeyValue& key) const {
        const FieldDef& def = table->fields()[table->tagAt(std::size_t(tag)).fieldIndex()];
        if (const auto* text = std::get_if<std::string>(&key)) return table->searchKey(std::size_t(tag), *text);
        if (const auto* number = std::get_if<double>(&key)) {
            if (!def.isNumeric()) {
                throw DbError(DbError::Kind::BadValue, "Il campo " + def.name + " non è numerico");
            }
            return numericSortKey(*number);
        }
        if (def.type != FieldType::Date) {
            throw DbError(DbError::Kind::BadValue, "Il campo " + def.name + " non è una data");
        }
        return dateSortKey(std::get<Date>(key));
    }
};

Cursor::Cursor() : impl_(std::make_unique<Impl>()) {}

Cursor::Cursor(const std::filesystem::path& path, OpenMode mode) : Cursor() { open(path, mode); }

Cursor::~Cursor() {
    try {
        // While an exception unwinds, a half-filled row must not reach the file.
        if (std::uncaught_exceptions() > 0) cancel();
        close();
    } catch (...) {
        // A destructor cannot report; the row stays as it was in the file.
    }
}

Cursor::Cursor(Cursor&&) noexcept = default;
Cursor& Cursor::operator=(Cursor&&) noexcept = default;

void Cursor::open(const std::filesystem::path& path, OpenMode mode) {
    if (!impl_) impl_ = std::make_unique<Impl>();
    close();
    impl_->table = acquireTable(path, mode);
    impl_->path = path;
    impl_->mode = mode;
    impl_->state = CursorState::Browse;
    impl_->moveFirst();
}

void Cursor::close() {
    if (!impl_ || !impl_->table) return;
    if (impl_->state == CursorState::Edit || impl_->state == CursorState::Insert) post();
    *impl_ = Impl();
}

bool Cursor::isOpen() const { return impl_ && impl_->table; }

void Cursor::browse() {
    if (!isOpen()) throw notOpen();
    // Moving, searching or reordering with a pending edit posts it first, as dBase does.
    if (state() != CursorState::Browse) post();
}
CursorState Cursor::state() const { return impl_ ? impl_->state : CursorState::Closed; }
const std::filesystem::path& Cursor::path() const { return impl_->path; }
OpenMode Cursor::mode() const { return impl_->mode; }

const FieldList& Cursor::fields() const {
    if (!isOpen()) throw notOpen();
    return impl_->table->fields();
}

const std::shared_ptr<OpenTable>& Cursor::table() const { return impl_->table; }


void Cursor::first() {
    browse();
    syncMaster();
    impl_->moveFirst();
}

void Cursor::next() {
    browse();
    if (syncMaster()) return;
    Impl& m = *impl_;
    if (m.recno == 0) return m.setEmpty();
    const auto [lo, hi] = m.bounds();
    const std::size_t p = m.forward(std::max(lo, m.positionOf(m.recno) + 1), hi);
    m.bof = false;
    if (p >= hi) {
        m.eof = true;
        return;
    }
    m.setCurrent(p);
    m.eof = false;
}

void Cursor::prior() {
    browse();
    if (syncMaster()) return;
    Impl& m = *impl_;
    if (m.recno == 0) return m.setEmpty();
    const auto [lo, hi] = m.bounds();
    const std::size_t p = m.backward(std::min(hi, m.positionOf(m.recno)), lo);
    m.eof = false;
    if (p == SIZE_MAX) {
        m.bof = true;
        return;
    }
    m.setCurrent(p);
    m.bof = false;
}

void Cursor::last() {
    browse();
    syncMaster();
    Impl& m = *impl_;
    const auto [lo, hi] = m.bounds();
    const std::size_t p = m.backward(hi, lo);
    if (p == SIZE_MAX) return m.setEmpty();
    m.setCurrent(p);
    m.eof = true;
    m.bof = false;
}

bool Cursor::eof() const {
    if (!isOpen()) return true;
    syncMaster();
    return impl_->eof;
}

bool Cursor::bof() const {
    if (!isOpen()) return true;
    syncMaster();
    return impl_->bof;
}

std::size_t Cursor::recordCount() const {
    if (!isOpen()) throw notOpen();
    syncMaster();
    const Impl& m = *impl_;
    if (!m.hasRange) return m.table->visibleCount();
    const auto [lo, hi] = m.bounds();
    std::size_t count = 0;
    for (std::size_t p = lo; p < hi; ++p) count += m.visible(p) ? 1 : 0;
    return count;
}

std::size_t Cursor::fieldCount() const { return fields().size(); }
const FieldDef& Cursor::fieldDef(std::size_t index) const {
    const FieldList& list = fields();
    if (index >= list.size()) {
        throw DbError(DbError::Kind::NoSuchField, "Il campo numero " + std::to_string(index + 1) +
                                                      " non esiste nella tabella \"" + fileLabel(impl_->path) + "\"");
    }
    return list[index];
}

int Cursor::findField(std::string_view name) const {
    if (!isOpen()) throw notOpen();
    return impl_->table->header().fieldIndex(name);
}

std::string Cursor::asText(std::size_t index) const {
    syncMaster();
    const FieldDef& def = fieldDef(index);
    const std::string_view raw = impl_->raw(index);
    return readInRow(impl_->table->path(), recordNumber(), [&] { return raw.empty() ? std::string() : decodeText(def, raw, impl_->table->codePage()); });
}

double Cursor::asNumber(std::size_t index) const {
    syncMaster();
    const FieldDef& def = fieldDef(index);
    const std::string_view raw = impl_->raw(index);
    return readInRow(impl_->table->path(), recordNumber(), [&] { return raw.empty() ? 0.0 : decodeNumber(def, raw); });
}

Date Cursor::asDate(std::size_t index) const {
    syncMaster();
    const FieldDef& def = fieldDef(index);
    const std::string_view raw = impl_->raw(index);
    return readInRow(impl_->table->path(), recordNumber(), [&] { return raw.empty() ? Date() : decodeDate(def, raw); });
}


bool Cursor::isBlank(std::size_t index) const {
    syncMaster();
    const FieldDef& def = fieldDef(index);
    const std::string_view raw = impl_->raw(index);
    return raw.empty() || storage::isBlank(def, raw);
}

std::uint32_t Cursor::recordNumber() const {
    if (!isOpen()) return 0;
    syncMaster();
    return impl_->recno;
}

bool Cursor::gotoRecord(std::uint32_t recno) {
    browse();
    Impl& m = *impl_;
    if (recno == 0 || recno > m.table->physicalCount() || m.table->isDeleted(recno)) return false;
    m.recno = recno;
    m.eof = m.bof = false;
    return true;
}

void Cursor::edit() {
    if (!isOpen()) throw notOpen();
    Impl& m = *impl_;
    if (m.state != CursorState::Browse) return;
    syncMaster();
    if (m.recno == 0 || m.table->isDeleted(m.recno)) {
        throw DbError(DbError::Kind::NoRecord, "Nessun record da modificare nella tabella \"" +
                                                   fileLabel(m.path) + "\"");
    }
    m.buffer = std::string(m.table->record(m.recno));
    m.state = CursorState::Edit;
}

void Cursor::append() {
    browse();
    Impl& m = *impl_;
    m.buffer.assign(m.table->header().recordLength, ' ');
    m.state = CursorState::Insert;
}

void Cursor::post() {
    if (!isOpen()) throw notOpen();
    Impl& m = *impl_;
    if (m.state == CursorState::Edit) {
        m.table->writeRecord(m.recno, m.buffer);
    } else if (m.state == CursorState::Insert) {
        const std::uint32_t recno = m.table->physicalCount() + 1;
        m.table->writeRecord(recno, m.buffer);
        m.recno = recno;
    } else {
        return;
    }
    m.state = CursorState::Browse;
    m.buffer.clear();
    m.eof = m.bof = false;
}

void Cursor::cancel() {
    if (!isOpen()) return;
    impl_->state = CursorState::Browse;
    impl_->buffer.clear();
}

namespace {

void writeField(std::string& buffer, const OpenTable& table, std::size_t index, const std::string& bytes) {
    std::memcpy(buffer.data() + table.header().fieldOffsets[index], bytes.data(), bytes.size());
}

}  // namespace

std::size_t Cursor::editableField(std::string_view field) const {
    if (!isOpen()) throw notOpen();
    if (state() != CursorState::Edit && state() != CursorState::Insert) {
        throw DbError(DbError::Kind::BadState, "La tabella \"" + fileLabel(impl_->path) +
                                                   "\" non è in modifica: il campo " + std::string(field) +
                                                   " non può essere scritto");
    }
    return fieldIndex(field);
}

void Cursor::setText(std::string_view field, std::string_view value) {
    const std::size_t i = editableField(field);
    writeField(impl_->buffer, *impl_->table, i, encodeText(fieldDef(i), value, impl_->table->codePage()));
}

void Cursor::setNumber(std::string_view field, double value) {
    const std::size_t i = editableField(field);
    writeField(impl_->buffer, *impl_->table, i, encodeNumber(fieldDef(i), value));
}

void Cursor::setDate(std::string_view field, Date value) {
    const std::size_t i = editableField(field);
    writeField(impl_->buffer, *impl_->table, i, encodeDate(fieldDef(i), value));
}

void Cursor::setLogical(std::string_view field, bool value) {
    const std::size_t i = editableField(field);
    writeField(impl_->buffer, *impl_->table, i, encodeLogical(fieldDef(i), value));
}

void Cursor::setBlank(std::string_view field) {
    const std::size_t i = editableField(field);
    writeField(impl_->buffer, *impl_->table, i, blankValue(fieldDef(i)));
}

void Cursor::deleteRecord() {
    if (!isOpen()) throw notOpen();
    Impl& m = *impl_;
    const bool inserting = m.state == CursorState::Insert;
    cancel();
    if (inserting) return;
    syncMaster();
    if (m.recno == 0 || m.table->isDeleted(m.recno)) {
        throw DbError(DbError::Kind::NoRecord, "Nessun record da cancellare nella tabella \"" +
                                                   fileLabel(m.path) + "\"");
    }
    const std::size_t pos = m.positionOf(m.recno);
    m.table->setDeleted(m.recno, true);
    const auto [lo, hi] = m.bounds();
    const std::size_t after = m.forward(std::max(lo, pos + 1), hi);
    if (after < hi) {
        m.setCurrent(after);
        m.eof = m.bof = false;
        return;
    }
    const std::size_t before = m.backward(std::min(pos, hi), lo);
    if (before == SIZE_MAX) return m.setEmpty();
    m.setCurrent(before);
    m.eof = true;
    m.bof = false;
}

void Cursor::recall(std::uint32_t recno) {
    browse();
    if (recno == 0 || recno > impl_->table->physicalCount()) {
        throw DbError(DbError::Kind::NoRecord, "Il record " + std::to_string(recno) + " non esiste");
    }
    impl_->table->setDeleted(recno, false);
    gotoRecord(recno);
}

void Cursor::setOrder(std::string_view tagOrField) {
    browse();
    Impl& m = *impl_;
    const int tag = m.table->findTag(tagOrField);
    if (tag < 0) {
        std::string message = "L'indice \"" + std::string(tagOrField) + "\" non esiste per la tabella \"" +
                              fileLabel(m.path) + "\"";
        if (!m.table->indexProblem().empty()) message += ": " + m.table->indexProblem();
        throw DbError(DbError::Kind::NoSuchTag, message);
    }
    m.tag = tag;
    m.hasRange = false;
    m.cachedVersion = UINT64_MAX;
    m.masterSynced = false;
}

void Cursor::setPhysicalOrder() {
    browse();
    impl_->tag = -1;
    impl_->hasRange = false;
    impl_->masterSynced = false;
}

std::string Cursor::currentOrder() const {
    if (!isOpen() || impl_->tag < 0) return {};
    return impl_->table->tagAt(std::size_t(impl_->tag)).info().name;
}

std::size_t Cursor::requireOrder(const char* operation) const {
    if (!isOpen()) throw notOpen();
    if (impl_->tag < 0) {
        throw DbError(DbError::Kind::NoSuchTag, std::string(operation) + " richiede un indice sulla tabella \"" +
                                                    fileLabel(impl_->path) + "\"");
    }
    return std::size_t(impl_->tag);
}

bool Cursor::findKey(const KeyValue& key) {
    const std::size_t tag = requireOrder("La ricerca");
    browse();
    syncMaster();
    Impl& m = *impl_;
    const std::string sortKey = m.sortKeyFor(key);
    const TagIndex& t = m.table->tagAt(tag);
    const auto [lo, hi] = m.bounds();
    for (std::size_t p = std::max(lo, t.lowerBound(sortKey)); p < hi && t.sortKeyAt(p) == sortKey; ++p) {
        if (m.visible(p)) {
            m.setCurrent(p);
            m.eof = m.bof = false;
            return true;
        }
    }
    return false;
}

void Cursor::findNearest(const KeyValue& key) {
    const std::size_t tag = requireOrder("La ricerca");
    browse();
    syncMaster();
    Impl& m = *impl_;
    const TagIndex& t = m.table->tagAt(tag);
    const auto [lo, hi] = m.bounds();
    const std::size_t p = m.forward(std::max(lo, t.lowerBound(m.sortKeyFor(key))), hi);
    if (p >= hi) {
        // Like a dBase SEEK with SET NEAR: past the end, on no row.
        const std::size_t lastPos = m.backward(hi, lo);
        if (lastPos == SIZE_MAX) return m.setEmpty();
        m.setCurrent(lastPos);
        m.eof = true;
        m.bof = false;
        return;
    }
    m.setCurrent(p);
    m.eof = m.bof = false;
}

void Cursor::setRange(const KeyValue& low, const KeyValue& high) {
    requireOrder("Un intervallo");
    browse();
    Impl& m = *impl_;
    m.low = m.sortKeyFor(low);
    m.high = m.sortKeyFor(high);
    m.hasRange = true;
    m.master = nullptr;
    m.moveFirst();
}

void Cursor::cancelRange() {
    if (!isOpen()) throw notOpen();
    impl_->hasRange = false;
    impl_->master = nullptr;
}

bool Cursor::locate(std::string_view field, std::string_view value, LocateOptions options) {
    browse();
    syncMaster();
    Impl& m = *impl_;
    const std::size_t index = fieldIndex(field);
    const FieldDef& def = fieldDef(index);
    const std::string wanted = options.caseInsensitive ? toUpperUtf8(value) : std::string(value);
    const auto [lo, hi] = m.bounds();
    for (std::size_t p = lo; p < hi; ++p) {
        if (!m.visible(p)) continue;
        const std::uint32_t r = m.recnoAt(p);
        std::string text =
            readInRow(m.table->path(), r, [&] { return decodeText(def, m.table->rawField(r, index), m.table->codePage()); });
        if (options.caseInsensitive) text = toUpperUtf8(text);
        if (options.partialKey ? startsWith(text, wanted) : text == wanted) {
            m.setCurrent(p);
            m.eof = m.bof = false;
            return true;
        }
    }
    return false;
}

void Cursor::setMasterLink(const RowReader& master, std::string_view masterField) {
    requireOrder("Il collegamento a un'altra tabella");
    Impl& m = *impl_;
    m.masterField = master.fieldIndex(masterField);
    m.master = &master;
    m.masterSynced = false;
    syncMaster();
}

void Cursor::clearMasterLink() {
    if (!isOpen()) return;
    impl_->master = nullptr;
    impl_->hasRange = false;
}

bool Cursor::syncMaster() const {
    Impl& m = *impl_;
    if (!m.master || !m.table || m.state != CursorState::Browse) return false;
    std::string value = m.master->asText(m.masterField);
    if (m.masterSynced && value == m.masterValue) return false;
    m.masterValue = std::move(value);
    m.masterSynced = true;
    m.low = m.high = m.table->searchKey(std::size_t(m.tag), m.masterValue);
    m.hasRange = true;
    m.moveFirst();
    return true;
}

void Cursor::addTag(std::string_view tagName, std::string_view field, bool /*primary*/) {
    browse();
    if (impl_->mode != OpenMode::Exclusive) {
        throw DbError(DbError::Kind::BadState, "Per aggiungere un indice la tabella \"" + fileLabel(impl_->path) +
                                                   "\" deve essere aperta in modo esclusivo");
    }
    impl_->table->addTag(std::string(tagName), fieldIndex(field));
    impl_->cachedVersion = UINT64_MAX;
}

std::vector<std::string> Cursor::tagNames() const {
    if (!isOpen()) throw notOpen();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < impl_->table->tagCount(); ++i) names.push_back(impl_->table->tagAt(i).info().name);
    return names;
}

}  // namespace quendra::storage
