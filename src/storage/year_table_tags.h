#pragma once

#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/tag_spec.h"
#include "storage/year_files.h"

#include <span>
#include <string>
#include <vector>

namespace quendra::storage {

// The index tags of a journal or a chart, in the order a new year table gets them.
inline std::span<const TagSpec> yearTableTags(YearTable kind) {
    if (kind == YearTable::Journal) {
        return journal::kTags;
    }
    return chart::kTags;
}

// The same tags as the engine's whole-table operations take them.
inline std::vector<TagField> yearTagFields(YearTable kind) {
    std::vector<TagField> tags;
    for (const TagSpec& tag : yearTableTags(kind)) tags.push_back({std::string(tag.name), std::string(tag.field)});
    return tags;
}

}  // namespace quendra::storage
