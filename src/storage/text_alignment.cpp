#include "storage/text_alignment.h"
#include "storage/dbase/open_table.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/dbase/cursor.h"

#include <string>
#include <string_view>

namespace quendra::storage {

namespace {

constexpr std::string_view kNoBreakSpace = "\u00A0";

std::string withoutNoBreakSpaces(std::string text) {
    for (std::size_t at = text.find(kNoBreakSpace); at != std::string::npos; at = text.find(kNoBreakSpace, at)) {
        text.erase(at, kNoBreakSpace.size());
    }
    return text;
}

std::string beforeNoBreakSpace(std::string text) {
    if (const std::size_t at = text.find(kNoBreakSpace); at != std::string::npos) {
        text.erase(at);
    }
    return text;
}

// Blanks at the end of a character field carry no meaning; without this a main text
// ending in blank + non-breaking space would differ from what its copy reads back as,
// and be written again at every start.
std::string trimTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

}  // namespace

void textabgleich(const std::filesystem::path& chartPath) {
    DeferredSync sync;  // the changed rows reach the disk together
    Cursor mainAccounts(chartPath, OpenMode::Shared);
    Cursor subAccounts(chartPath, OpenMode::Shared);
    mainAccounts.setOrder(chart::kCod);
    subAccounts.setOrder(chart::kCod);

    const std::string mainPrefix(1, kMainAccountMarker);
    mainAccounts.setRange(mainPrefix, prefixRangeEnd(mainPrefix));
    for (mainAccounts.first(); !mainAccounts.eof(); mainAccounts.next()) {
        const std::string mainText = trimTrailingBlanks(withoutNoBreakSpaces(mainAccounts.asText(chart::kText)));
        const std::string code = mainAccounts.asText(chart::kCod);
        // A cut-off code ("H", "HA") would address the sub-accounts of many groups.
        if (classLetter(code) == kMemoClass || classAndGroup(code).size() < 3) {
            continue;
        }
        const std::string subPrefix = kSubAccountMarker + std::string(classAndGroup(code));
        subAccounts.setRange(subPrefix, prefixRangeEnd(subPrefix));
        for (subAccounts.first(); !subAccounts.eof(); subAccounts.next()) {
            if (trimTrailingBlanks(beforeNoBreakSpace(subAccounts.asText(chart::kTextH))) != mainText) {
                subAccounts.edit();
                subAccounts.setText(chart::kTextH, mainText);
                subAccounts.post();
            }
        }
    }
    sync.finish();
}

}  // namespace quendra::storage
