#pragma once

#include "storage/dbase/dbf_header.h"
#include "storage/dbase/mdx_file.h"
#include "storage/dbase/open_table.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quendra::storage {

// Tags to build: name and the index of the field the key is.
using TagColumns = std::vector<std::pair<std::string, std::size_t>>;

// A production index computed from rows, in memory: what the .mdx holds (file keys) and
// what an open table keeps (sort keys), tag by tag in the order asked.
struct BuiltIndex {
    std::vector<MdxTagInfo> infos;
    std::vector<std::vector<TagIndex::Entry>> sorted;
    std::vector<std::vector<MdxEntry>> entries;
};

// rows: the records after the header, recordLength bytes each. Throws DbError(BadValue)
// for a tag name that is empty or longer than 10 characters, or a logical field.
BuiltIndex buildIndex(const DbfHeader& header, std::string_view rows, const TagColumns& tags);

// The order-preserving sort key of a field's raw bytes (an unreadable number keys as 0,
// so that an index can still be built over it; reading it for a value is an error).
std::string sortKeyOfField(const FieldDef& field, std::string_view raw);

}  // namespace quendra::storage
