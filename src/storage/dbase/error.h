#pragma once

#include <stdexcept>
#include <string>

namespace quendra::storage {

// Every failure of the table engine. The message is Italian and names the file, so a
// window can show it as it stands; the kind lets callers answer (e.g. index repair).
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Io,            // the operating system refused a read, write, create or delete
        BadFile,       // the .dbf is not a table we can read
        Locked,        // another cursor or process holds the table
        IndexMissing,  // byte 28 announces a production index that is not there
        IndexDamaged,  // the .mdx cannot be parsed
        IndexStale,    // the .mdx parses but no longer matches the table
        RecordCount,   // the header's record count does not match the file's size
        NoSuchField,
        NoSuchTag,
        BadValue,      // a value does not fit its field (type, width, code page)
        BadState,      // the cursor is not in a state that allows the operation
        NoRecord,      // there is no current record
        BadQuery,      // a query text that cannot be parsed or does not fit its table
        DamagedRows,   // rows that cannot be read: rebuilding over them would lose them for good
    };

    DbError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

    Kind kind() const { return kind_; }

    // The exclusive-open failures that the repair (count from the file's size, index
    // rebuilt from the rows) cures without losing a row.
    bool curedByRepair() const {
        return kind_ == Kind::IndexMissing || kind_ == Kind::IndexDamaged || kind_ == Kind::IndexStale ||
               kind_ == Kind::RecordCount;
    }

private:
    Kind kind_;
};

}  // namespace quendra::storage
