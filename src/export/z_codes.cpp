#include "export/z_codes.h"

#include <algorithm>
#include <array>

namespace quendra::spreadsheet {

namespace {

// Sorted by account, so that a lookup is a binary search.
constexpr std::array<ZCode, 82> kTable = {{
    {"A0101", "x"},  {"A0201", "x"},  {"A0202", "x"},  {"A0203", "x"},  {"A0204", "x"},  {"A0205", "x"},
    {"A0206", "x"},  {"A0301", "x"},  {"A0302", "x"},  {"A0303", "x"},  {"A0304", "x"},  {"A0405", "x"},
    {"A0503", "x"},  {"A0602", "x"},  {"A0604", "x"},  {"A0606", "x"},  {"A0701", "x"},  {"A0705", "x"},
    {"A0801", "x"},  {"A0802", "x"},  {"A0803", "x"},  {"A0804", "x"},  {"A0805", "x"},  {"A0806", "x"},
    {"A0807", "x"},  {"A0901", "x"},  {"A0902", "x"},  {"A0903", "x"},  {"A0904", "x"},  {"A0905", "x"},
    {"A0906", "x"},  {"A0907", "x"},  {"A0908", "x"},  {"A0909", "x"},  {"A1002", "x"},  {"A1101", "x"},
    {"A1102", "x"},  {"A1201", "0A"}, {"A1202", "0A"}, {"A1203", "0A"}, {"A1204", "4A"}, {"A1205", "0A"},
    {"A1206", "x"},  {"A1207", "0A"}, {"A1301", "0A"}, {"A1302", "0A"}, {"A1303", "0A"}, {"A1304", "0A"},
    {"A1305", "0A"}, {"A1306", "0A"}, {"A1307", "0A"}, {"A1308", "0A"}, {"A1309", "0A"}, {"A1310", "0A"},
    {"A1311", "0A"}, {"A1312", "0A"}, {"A1313", "0A"}, {"A1314", "0A"}, {"A1315", "0A"}, {"A1401", "0A"},
    {"A1501", "0A"}, {"E0105", "0E"}, {"E0601", "4E"}, {"E0602", "4E"}, {"E0603", "0E"}, {"E0701", "0E"},
    {"E0702", "0E"}, {"E0703", "0E"}, {"E0704", "0E"}, {"E0705", "0E"}, {"E0706", "0E"}, {"E0707", "0E"},
    {"E0708", "0E"}, {"E0709", "0E"}, {"E0710", "0E"}, {"E0711", "0E"}, {"E0712", "0E"}, {"E0713", "0E"},
    {"E0714", "0E"}, {"E0715", "0E"}, {"E0801", "0E"}, {"E0901", "0E"},
}};

static_assert(std::ranges::is_sorted(kTable, {}, &ZCode::account));
static_assert(std::ranges::adjacent_find(kTable, {}, &ZCode::account) == kTable.end());

}  // namespace

std::span<const ZCode> zCodeTable() { return kTable; }

std::string_view zCode(std::string_view account) {
    const auto found = std::ranges::lower_bound(kTable, account, {}, &ZCode::account);
    return found != kTable.end() && found->account == account ? found->code : std::string_view();
}

}  // namespace quendra::spreadsheet
