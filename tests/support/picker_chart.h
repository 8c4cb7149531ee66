#pragma once

#include "support/chart_fixture.h"

#include <vector>

namespace quendra::test {

// A small chart for the account picker with its edge cases: groups and sub-accounts
// numbered 90-99, cash-box groups beyond C04, and "cauzioni" in the texts of an expense,
// an asset, an income and a liability account (in that code order).
std::vector<ChartRow> pickerChartRows();

}  // namespace quendra::test
