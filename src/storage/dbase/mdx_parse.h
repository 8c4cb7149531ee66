#pragma once

#include "storage/dbase/mdx_tag_tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage::mdx {

struct ParsedMdx {
    std::string headerPage;  // page 0, rewritten when the file grows
    std::uint32_t pagesInFile = 0;
    std::uint16_t pagesPerBlock = 0;
    std::vector<TagTree> tags;
};

// Reads and checks a whole .mdx image: every tag walked from its root, no page reached
// twice, every page inside the file, node sizes, keys in order and inside the bounds
// their parents give. Throws DbError(IndexDamaged) naming label.
ParsedMdx parseMdx(std::string_view bytes, const std::string& label);

}  // namespace quendra::storage::mdx
