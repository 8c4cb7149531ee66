#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::printing {

struct ChartTextRow {
    std::string text;   // TEXT
    std::string texth;  // TEXTH
    std::string texta;  // TEXTA
};

// The texts of a year's chart by code, read once when first asked (the chart does not
// change while a report runs). Codes keep their leading blank; trailing blanks go.
class ChartTexts {
public:
    explicit ChartTexts(std::filesystem::path chartPath) : path_(std::move(chartPath)) {}

    // The row of the first code at or after key (" A01" gives its first sub-account);
    // nullopt past the end. Throws the engine's DbError when the chart cannot be read.
    std::optional<ChartTextRow> atOrAfter(std::string_view key) const;
    // The row whose code is exactly code.
    std::optional<ChartTextRow> exact(std::string_view code) const;

    // "codtext" and "codtext1": TEXTH and TEXT of atOrAfter(key), "" past the end.
    std::string codtext(std::string_view key) const;
    std::string codtext1(std::string_view key) const;

    // The parish header row ("  PFAR"): TEXT parish, TEXTH place, TEXTA deanery.
    ChartTextRow parish() const;

private:
    const std::map<std::string, ChartTextRow, std::less<>>& rows() const;

    std::filesystem::path path_;
    mutable std::optional<std::map<std::string, ChartTextRow, std::less<>>> rows_;
};

}  // namespace quendra::printing
