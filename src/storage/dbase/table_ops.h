#pragma once

#include "storage/dbase/cursor.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/field_def.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quendra::storage {

struct TagField {
    std::string name;   // at most 10 characters
    std::string field;  // the field the key is
};

// Whole-table operations. None of them works on a table that a cursor of this process
// or another process holds (DbError Locked), so nothing changes under an open cursor.
// Each builds its new files aside, makes them durable and renames them into place: a
// crash leaves the old table or the new one (at worst with an index that the repair
// rebuilds from the rows), never a mixture.

// Writes a whole table: the header's fields and these rows (recordLength bytes each),
// with a production index of these tags (none: no index). An existing table of that
// name is replaced.
void installTable(const std::filesystem::path& path, DbfHeader header, std::string_view rows,
                  const std::vector<TagField>& tags);

// A new empty table (no index). An existing file is refused unless replace is set;
// then it and its index are replaced.
void createTable(const std::filesystem::path& path, const FieldList& fields, bool replace = false);

// Structure and visible rows of source into target (replacing target), with these tags
// (none: no index).
void copyTable(const std::filesystem::path& source, const std::filesystem::path& target,
               const std::vector<TagField>& tags = {});

// The visible rows of the cursor's current order and range into a new scratch table
// (replaced if it exists), in that order.
void copyRowsTo(Cursor& source, const std::filesystem::path& target);

// Removes the table and its index.
void deleteTable(const std::filesystem::path& path);

// Drops deleted rows and rebuilds the tags (exclusive; a stale index is rebuilt too).
void packTable(const std::filesystem::path& path);

// Rebuilds the production index with these tags, or with the tags the old index
// declared when tags is empty (read leniently, so a damaged index can be rebuilt). A
// record count that does not match the file is set to the rows the file holds first.
void reindexTable(const std::filesystem::path& path, const std::vector<TagField>& tags = {});

// Sets the header's record count to the whole records the file holds (a torn last one
// dropped, the end-of-file byte written after the last). False when it was right.
bool repairRecordCount(const std::filesystem::path& path);

// The tags an index file declares, read as far as it can be read; empty when none.
std::vector<TagField> declaredTags(const std::filesystem::path& mdxPath);

}  // namespace quendra::storage
