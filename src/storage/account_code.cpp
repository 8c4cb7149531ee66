#include "storage/account_code.h"

#include "storage/dbase/text_case.h"

namespace quendra::storage {

namespace {

std::string_view slice(std::string_view code, std::size_t from, std::size_t count) {
    return from < code.size() ? code.substr(from, count) : std::string_view();
}

std::string_view trimTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

constexpr std::string_view kLiquidGroups[] = {"01", "02", "03", "04"};

}  // namespace

char classLetter(std::string_view code) { return code.size() > 1 ? code[1] : '\0'; }
std::string_view groupNumber(std::string_view code) { return slice(code, 2, 2); }
std::string_view subAccountNumber(std::string_view code) { return slice(code, 4, 2); }
std::string_view groupPrefix(std::string_view code) { return slice(code, 0, 4); }
std::string_view classAndGroup(std::string_view code) { return slice(code, 1, 3); }

bool isSubAccount(std::string_view code) { return !code.empty() && code.front() == kSubAccountMarker; }
bool isMainAccount(std::string_view code) { return !code.empty() && code.front() == kMainAccountMarker; }

std::string subAccountCode(char classLetter, std::string_view group, std::string_view sub) {
    std::string code(1, kSubAccountMarker);
    code += classLetter;
    code += group;
    code += sub;
    return code;
}

std::string mainAccountCode(char classLetter, std::string_view group) {
    std::string code(1, kMainAccountMarker);
    code += classLetter;
    code += group;
    code += "00";
    return code;
}

std::string storedFromTyped(std::string_view typed) {
    if (typed == kTypedDefaultAccount) {
        return std::string(kDefaultAccount);
    }
    return std::string(1, kSubAccountMarker) + std::string(typed);
}

std::string_view typedFromStored(std::string_view stored) { return slice(stored, 1, 5); }

std::string prefixRangeEnd(std::string_view prefix) { return std::string(prefix) + "x9x"; }

bool isLiquid(std::string_view code) {
    if (classLetter(code) != kAssetClass) {
        return false;
    }
    const std::string_view group = groupNumber(code);
    for (const std::string_view liquid : kLiquidGroups) {
        if (group == liquid) {
            return true;
        }
    }
    return false;
}

std::string_view className(char classLetter) {
    switch (classLetter) {
        case kExpenseClass: return "Uscite";
        case kIncomeClass: return "Entrate";
        case kAssetClass: return "Attiva";
        case kLiabilityClass: return "Passiva";
        default: return {};
    }
}

ChartRowKind chartRowKind(std::string_view cod, std::string_view k) {
    // K compares like the picker's range on the k tag: as text, trailing blanks ignored.
    const std::string_view key = trimTrailingBlanks(k);
    if (trimTrailingBlanks(cod) == kParishHeaderCode) {
        return ChartRowKind::ParishHeader;
    }
    if (!key.empty() && key >= "10" && key <= "90") {
        return ChartRowKind::Type;
    }
    if (isMainAccount(cod)) {
        return ChartRowKind::MainAccount;
    }
    if (isSubAccount(cod)) {
        return ChartRowKind::SubAccount;
    }
    return ChartRowKind::Other;
}

std::string cashBoxDescription(std::string_view texth, std::string_view text) {
    return toUpperUtf8(texth) + " -> " + std::string(text);
}

std::string liquidityFilter(std::string_view field) {
    std::string condition;
    for (const std::string_view group : kLiquidGroups) {
        if (!condition.empty()) {
            condition += " or ";
        }
        condition += std::string(field) + " like \" C" + std::string(group) + "%\"";
    }
    return condition;
}

std::string otherAssetsFilter(std::string_view field) {
    return std::string(field) + " like \" C%\" and not (" + liquidityFilter(field) + ")";
}

}  // namespace quendra::storage
