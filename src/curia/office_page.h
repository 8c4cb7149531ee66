#pragma once

#include "curia/archive.h"
#include "curia/parish_register.h"
#include "curia/year_review.h"

#include <string>
#include <string_view>
#include <vector>

// The diocesan office's pages: every parish's years with their state, grouped by
// deanery, and one parish's year.
namespace quendra::curia {

enum class YearState { Received, WithWarnings, Missing };

struct OfficeRow {
    std::string key;
    std::string name, place, deanery;
    std::string year;
    YearState state = YearState::Missing;
    std::size_t transmissions = 0;
};

// A row for every archived year, and one for every registered parish missing a year that
// some parish sent. Names and deanery come from the register when it knows the parish,
// else from the current transmission's info.txt.
std::vector<OfficeRow> officeRows(const std::vector<ArchivedYear>& years, const std::vector<RegisteredParish>& parishes);

// order: "parrocchia" (also for anything unknown), "luogo", "anno" or "stato".
std::string officePageHtml(std::vector<OfficeRow> rows, std::string_view order);

std::string parishYearPageHtml(const ArchivedYear& year, const YearReview& review);

// "/parrocchia?chiave=…&anno=…" and "/documento?chiave=…&anno=…&tipo=…".
std::string parishYearLink(std::string_view key, std::string_view year);
std::string documentLink(std::string_view key, std::string_view year, std::string_view kind);

}  // namespace quendra::curia
