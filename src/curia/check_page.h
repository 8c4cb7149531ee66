#pragma once

#include "curia/check.h"

#include <string>

namespace quendra::curia {

// The check page the parish's browser shows after a transmission, in Italian.
std::string checkPageHtml(const CheckResult& result);

}  // namespace quendra::curia
