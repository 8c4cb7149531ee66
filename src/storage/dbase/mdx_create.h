#pragma once

#include "storage/dbase/mdx_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage::mdx {

// The bytes of a complete new .mdx: header and tag table, one tag header per tag, then
// each tag's leaves and interior levels. Throws DbError(BadValue) for tags or entries
// it cannot store (bad name or key length, entries out of order).
std::string buildMdx(std::string_view tableName, const std::vector<MdxTagInfo>& tags,
                     const std::vector<std::vector<MdxEntry>>& entries, const std::string& label);

}  // namespace quendra::storage::mdx
