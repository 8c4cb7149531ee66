#include "journal/settings_dialog_rules.h"

#include "storage/amount_format.h"

#include <algorithm>
#include <cmath>

namespace quendra::journal {

namespace {

// Far beyond any sheet of paper, and well inside an int of tenths of a millimetre.
constexpr double kLargestMargin = 100000;

}  // namespace

std::string marginText(int held) { return storage::formatNumber(1 - held / 100.0, storage::Picture::Margin); }

std::optional<int> heldMargin(std::string_view typed) {
    std::string text(typed);
    std::replace(text.begin(), text.end(), '.', ',');
    const std::optional<double> cm = storage::parseAmount(text);
    if (!cm || !std::isfinite(*cm) || std::fabs(*cm) > kLargestMargin) return std::nullopt;
    return 100 - int(std::nearbyint(*cm * 100));
}

ScaleDecision decideScale(std::string_view typed, int currentScale) {
    const std::optional<long long> v = storage::parseWholeNumber(typed);
    if (!v) return {ScaleOutcome::NotANumber};
    if (*v == currentScale) return {ScaleOutcome::Unchanged};
    if (*v < kMinScale || *v > kMaxScale) return {ScaleOutcome::OutOfRange};
    return {ScaleOutcome::Changed, int(*v)};
}

std::optional<std::string> characterCount(std::string_view typed) {
    std::string text(typed);
    std::erase_if(text, [](char c) { return c == '.' || c == ','; });
    const std::optional<long long> count = storage::parseWholeNumber(text);
    if (!count || *count <= 0) return std::nullopt;
    return std::to_string(*count);
}

}  // namespace quendra::journal
