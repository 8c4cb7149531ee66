#pragma once

#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/dbase/tag_spec.h"
#include "storage/year_files.h"

#include <span>

namespace quendra::storage {

// The index tags of a journal or a chart, in the order a new year table gets them.
inline std::span<const TagSpec> yearTableTags(YearTable kind) {
    if (kind == YearTable::Journal) {
        return journal::kTags;
    }
    return chart::kTags;
}

}  // namespace quendra::storage
