#pragma once

#include "storage/dbase/date.h"
#include "storage/dbase/field_def.h"
#include "storage/dbase/row_reader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quendra::storage {

class OpenTable;

enum class OpenMode { Shared, Exclusive };
enum class CursorState { Closed, Browse, Edit, Insert };

// A key of the cursor's current order: text for C tags, a number for N, a date for D.
using KeyValue = std::variant<std::string, double, Date>;

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;  // the field value starts with the searched text
};

// A position on an open table, like a dBase work area. All cursors on one file share
// its rows (one in-process registry), so a post through one is seen by all at once.
// Deleted rows are never visible. Every post goes to the .dbf and the .mdx before it
// returns. Errors are DbError with an Italian message.
class Cursor : public RowReader {
public:
    Cursor();
    // Opens by full path. Exclusive fails (DbError Locked) while any other cursor or
    // process holds the table, and with IndexMissing / IndexDamaged / IndexStale when the
    // production index announced by byte 28 cannot be used. A shared open of such a
    // table works in physical order only.
    Cursor(const std::filesystem::path& path, OpenMode mode);
    ~Cursor() override;
    Cursor(Cursor&&) noexcept;
    Cursor& operator=(Cursor&&) noexcept;
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    void open(const std::filesystem::path& path, OpenMode mode);
    // Posts a pending edit first.
    void close();
    bool isOpen() const;
    CursorState state() const;
    const std::filesystem::path& path() const;
    OpenMode mode() const;
    // The table's fields in file order, as the header describes them.
    const FieldList& fields() const;

    // RowReader. Moving while editing posts the edit first.
    void first() override;
    void next() override;
    void prior() override;
    void last() override;
    bool eof() const override;
    bool bof() const override;
    // Visible rows in the current range (or the whole table).
    std::size_t recordCount() const override;
    std::size_t fieldCount() const override;
    const FieldDef& fieldDef(std::size_t index) const override;
    int findField(std::string_view name) const override;
    std::string asText(std::size_t index) const override;
    double asNumber(std::size_t index) const override;
    Date asDate(std::size_t index) const override;
    bool isBlank(std::size_t index) const override;
    using RowReader::asText;
    using RowReader::asNumber;
    using RowReader::asInteger;
    using RowReader::asDate;
    using RowReader::isBlank;

    // Physical record number of the current row (from 1); 0 when there is none.
    std::uint32_t recordNumber() const;
    // Makes that record current; false when it does not exist or is deleted.
    bool gotoRecord(std::uint32_t recno);

    // Editing. edit() on the current row, append() on a new blank row; the set* calls
    // change the edit buffer; post() writes (the row stays current, an appended row
    // becomes current); cancel() drops the buffer.
    void edit();
    void append();
    void post();
    void cancel();
    void setText(std::string_view field, std::string_view value);
    void setNumber(std::string_view field, double value);
    void setInteger(std::string_view field, long long value) { setNumber(field, double(value)); }
    void setDate(std::string_view field, Date value);
    void setLogical(std::string_view field, bool value);
    void setBlank(std::string_view field);
    // Marks the current row deleted (tags keep its keys until pack) and moves to the
    // next visible row, or the previous one at the end.
    void deleteRecord();
    // Clears the deletion mark of a record (it becomes visible and current again).
    void recall(std::uint32_t recno);

    // Order: a tag name ("cod", "Datum") or a field with a tag ("Nummer"), case-blind.
    // The cursor stays on its row. DbError(NoSuchTag) when there is neither.
    void setOrder(std::string_view tagOrField);
    void setPhysicalOrder();
    // Name of the current tag as stored, "" in physical order.
    std::string currentOrder() const;

    // On the current order: exact key (the row becomes current; false and no move when
    // absent) and nearest (the first key not smaller; eof when none).
    bool findKey(const KeyValue& key);
    void findNearest(const KeyValue& key);
    // Both bounds included; C keys compare as strings (trailing blanks ignored), so "H"
    // to "Hx9x" covers every key starting with "H". Moves to the first row of the range.
    void setRange(const KeyValue& low, const KeyValue& high);
    void cancelRange();
    // First row in the current order whose field equals the value; false and no move
    // when none.
    bool locate(std::string_view field, std::string_view value, LocateOptions options = {});

    // Follow another cursor or query result: this cursor's range stays on the rows whose
    // key (current order) equals masterField of the master's current row. The master must
    // outlive the link; clearMasterLink() ends it.
    void setMasterLink(const RowReader& master, std::string_view masterField);
    void clearMasterLink();

    // Adds a tag on a field to the production index (creating the .mdx and setting byte
    // 28 when there is none). Needs an exclusive open. Tag names: at most 10 characters.
    void addTag(std::string_view tagName, std::string_view field, bool primary = false);
    std::vector<std::string> tagNames() const;

    // The shared table behind this cursor (for the query engine).
    const std::shared_ptr<OpenTable>& table() const;

private:
    struct Impl;
    void browse();
    std::size_t editableField(std::string_view field) const;
    std::size_t requireOrder(const char* operation) const;
    // Re-ranges on the master's current value when it changed; true when it moved us.
    bool syncMaster() const;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quendra::storage
