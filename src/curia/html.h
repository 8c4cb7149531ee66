#pragma once

#include "curia/key_figures.h"
#include "curia/year_review.h"
#include "storage/markup_text.h"

#include <string>
#include <string_view>
#include <vector>

// The pieces every page of the service is made of. Every text that reaches a page goes
// through escapeHtml; the pages carry no script.
namespace quendra::curia {

// & < > " ' as character references.
inline std::string escapeHtml(std::string_view text) { return storage::escapeMarkup(text); }

// A whole page in UTF-8 with the house style; body is HTML already made safe.
std::string htmlDocument(std::string_view title, std::string_view body);

// An amount as the reports print it ("1.234,50").
std::string amountText(double value);

// The key figures as a two-column table.
std::string figuresTable(const KeyFigures& figures);
// The budget's ENTRATE, USCITE and SALDO beside the actuals under a heading; "" when the
// year sent no budget.
std::string plannedSection(const std::optional<PlannedFigures>& planned);

// An unordered list of texts (escaped); text when the list is empty.
std::string textList(const std::vector<std::string>& items, std::string_view whenEmpty);

// <tr> of a label and a value, both escaped.
std::string labelRow(std::string_view label, std::string_view value);

}  // namespace quendra::curia
