#pragma once

#include "storage/budget_record.h"
#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/tag_spec.h"
#include "storage/year_files.h"

#include <span>
#include <string>
#include <vector>

namespace quendra::storage {

// The index tags of a journal, a chart or a budget, in the order a new year table gets them.
inline std::span<const TagSpec> yearTableTags(YearTable kind) {
    switch (kind) {
    case YearTable::Journal:
        return journal::kTags;
    case YearTable::Chart:
        return chart::kTags;
    case YearTable::Budget:
        break;
    }
    return budget::kTags;
}

// The same tags as the engine's whole-table operations take them.
inline std::vector<TagField> yearTagFields(YearTable kind) {
    std::vector<TagField> tags;
    for (const TagSpec& tag : yearTableTags(kind)) tags.push_back({std::string(tag.name), std::string(tag.field)});
    return tags;
}

}  // namespace quendra::storage
