#pragma once

#include "curia/inbox.h"
#include "curia/year_review.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What the check page answers for one request: the transmission is looked at in the
// inbox, filed or set aside, or found again in the archive when asked a second time.
namespace quendra::curia {

enum class CheckState {
    BadRequest,  // the parameters are not those a transmission opens
    NotArrived,  // not (yet) all three files in the inbox
    Damaged,     // set aside
    Filed,
};

struct CheckResult {
    CheckState state = CheckState::BadRequest;
    std::optional<TransmissionName> name;
    Arrived arrived;        // NotArrived: what is there
    YearReview review;      // Damaged, Filed
    std::string parishKey;  // Filed
    bool earlier = false;   // Damaged, Filed: found in the archive, not in the inbox
};

// stamp: the time of filing, "20261209-211445" (UTC). Throws CuriaError when a file
// cannot be moved; the inbox then keeps what it had.
CheckResult checkTransmission(const std::filesystem::path& inbox, const std::filesystem::path& archive,
                              std::string_view code, std::string_view kr, std::string_view kw, const std::string& stamp);

}  // namespace quendra::curia
