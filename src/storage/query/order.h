#pragma once

#include "storage/dbase/open_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendra::storage {

// The record numbers in the order of the fields, ascending, equal keys by record number;
// without fields in record-number order. rowsTag names the tag whose order rows come
// in (nullopt: record-number order).
std::vector<std::uint32_t> orderRows(const OpenTable& table, std::vector<std::uint32_t> rows,
                                     std::optional<std::size_t> rowsTag, const std::vector<std::size_t>& fields);

}  // namespace quendra::storage
