#pragma once

#include "support/chart_fixture.h"
#include "support/journal_fixture.h"

#include <filesystem>
#include <string>
#include <vector>

// A small parish year for the annual-report tests: a chart with cash boxes, a bank,
// securities, loans and a few income and expense accounts, and movements written in the
// order given, numbered from 1, dated in 2026.
namespace quendra::test {

// The accounts, without the parish header row.
const std::vector<ChartRow>& parishAccounts();

// A row through a cash box: Einnahme (side 2) or Ausgabe (side 1).
Movement income(const std::string& cod, const std::string& codd, double amount, int month = 3);
Movement expense(const std::string& cod, const std::string& codd, double amount, int month = 3);
// An opening row booked against its own account on 1 January: a positive balance as
// Einnahme, a negative one as Ausgabe, eroeffnung 2.
Movement opening(const std::string& cod, double balance);

// Writes the journal, numbering the rows 1, 2, … in this order.
void makeNumberedJournal(const std::filesystem::path& journal, std::vector<Movement> rows);

}  // namespace quendra::test
