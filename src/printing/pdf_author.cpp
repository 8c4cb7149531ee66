#include "printing/pdf_author.h"

#include "storage/dbase/codepage.h"
#include "storage/markup_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace quendra::printing {

namespace {

using Offsets = std::map<std::uint32_t, std::uint64_t>;

std::optional<std::uint64_t> numberAfter(std::string_view text, std::string_view name) {
    const std::size_t at = text.find(name);
    if (at == std::string_view::npos) return std::nullopt;
    std::size_t pos = at + name.size();
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n' || text[pos] == '\r')) ++pos;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data() + pos) return std::nullopt;
    return value;
}

// Where each object of the cross-reference table at xref starts.
std::optional<Offsets> readXref(std::string_view file, std::uint64_t xref) {
    if (xref >= file.size() || file.substr(xref, 5) != "xref\n") return std::nullopt;
    Offsets offsets;
    std::size_t pos = xref + 5;
    while (pos < file.size() && file.substr(pos, 7) != "trailer") {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        const char* end = file.data() + file.size();
        auto [afterFirst, e1] = std::from_chars(file.data() + pos, end, first);
        if (e1 != std::errc{} || afterFirst == end || *afterFirst != ' ') return std::nullopt;
        auto [afterCount, e2] = std::from_chars(afterFirst + 1, end, count);
        if (e2 != std::errc{} || afterCount == end || *afterCount != '\n') return std::nullopt;
        pos = std::size_t(afterCount + 1 - file.data());
        if (file.size() - pos < std::size_t(count) * 20) return std::nullopt;
        for (std::uint32_t i = 0; i < count; ++i, pos += 20) {
            const std::string_view entry = file.substr(pos, 20);
            std::uint64_t offset = 0;
            std::from_chars(entry.data(), entry.data() + 10, offset);
            if (entry[17] == 'n') offsets[first + i] = offset;
        }
    }
    return offsets;
}

// An object's text from "N 0 obj" to its "endobj".
std::optional<std::string_view> objectText(std::string_view file, const Offsets& offsets, std::uint32_t number) {
    const auto it = offsets.find(number);
    if (it == offsets.end() || it->second >= file.size()) return std::nullopt;
    const std::string_view from = file.substr(it->second);
    const std::string head = std::to_string(number) + " 0 obj";
    const std::size_t end = from.find("endobj");
    if (from.substr(0, head.size()) != head || end == std::string_view::npos) return std::nullopt;
    return from.substr(0, end);
}

std::string utf16Hex(std::string_view utf8) {
    std::string hex = "<FEFF";
    char unit[8];
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = storage::nextCodePoint(utf8, pos).value_or(U'\uFFFD');
        if (cp >= 0x10000) {
            cp -= 0x10000;
            std::snprintf(unit, sizeof unit, "%04X", unsigned(0xD800 + (cp >> 10)));
            hex += unit;
            cp = 0xDC00 + (cp & 0x3FF);
        }
        std::snprintf(unit, sizeof unit, "%04X", unsigned(cp));
        hex += unit;
    }
    return hex + ">";
}

std::string tenDigits(std::uint64_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(value));
    return text;
}

struct Update {
    std::string body;
    Offsets offsets;

    void add(std::uint64_t fileSize, std::uint32_t number, const std::string& content) {
        offsets[number] = fileSize + body.size();
        body += std::to_string(number) + " 0 obj\n" + content + "\nendobj\n";
    }
};

}  // namespace

bool addPdfAuthor(const std::filesystem::path& pdf, std::string_view authorUtf8) {
    std::string file;
    {
        std::ifstream in(pdf, std::ios::binary);
        if (!in) return false;
        file.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string_view all(file);
    const std::size_t startxref = all.rfind("startxref");
    const std::size_t trailerAt = all.rfind("trailer", startxref);
    if (startxref == std::string_view::npos || trailerAt == std::string_view::npos) return false;
    const std::string_view trailer = all.substr(trailerAt, startxref - trailerAt);
    const auto prev = numberAfter(all.substr(startxref), "startxref");
    const auto size = numberAfter(trailer, "/Size");
    const auto info = numberAfter(trailer, "/Info");
    const auto root = numberAfter(trailer, "/Root");
    const std::size_t idAt = trailer.find("/ID");
    const std::size_t idEnd = trailer.find(']', idAt);
    if (!prev || !size || !info || !root || idAt == std::string_view::npos || idEnd == std::string_view::npos) return false;
    const auto offsets = readXref(all, *prev);
    if (!offsets) return false;
    const auto infoText = objectText(all, *offsets, std::uint32_t(*info));
    const auto rootText = objectText(all, *offsets, std::uint32_t(*root));
    if (!infoText || !rootText) return false;
    const auto metadata = numberAfter(*rootText, "/Metadata");
    const auto metadataText = metadata ? objectText(all, *offsets, std::uint32_t(*metadata)) : std::nullopt;
    if (!metadataText) return false;

    const std::size_t dictStart = infoText->find("<<");
    const std::size_t dictEnd = infoText->rfind(">>");
    const auto length = numberAfter(*metadataText, "/Length");
    const std::size_t streamAt = metadataText->find("stream\n");
    if (dictStart == std::string_view::npos || dictEnd == std::string_view::npos || dictEnd < dictStart || !length ||
        streamAt == std::string_view::npos || metadataText->size() < streamAt + 7 + *length) {
        return false;
    }
    std::string xmp(metadataText->substr(streamAt + 7, *length));
    const std::size_t rdfEnd = xmp.rfind("</rdf:RDF>");
    if (rdfEnd == std::string::npos) return false;
    xmp.insert(rdfEnd, "  <rdf:Description xmlns:dc=\"http://purl.org/dc/elements/1.1/\" rdf:about=\"\">\n"
                       "      <dc:creator><rdf:Seq><rdf:li>" + storage::escapeMarkup(authorUtf8) +
                       "</rdf:li></rdf:Seq></dc:creator>\n    </rdf:Description>\n  ");

    Update update;
    update.body = "\n";
    update.add(file.size(), std::uint32_t(*info),
               std::string(infoText->substr(dictStart, dictEnd - dictStart)) + "/Author " + utf16Hex(authorUtf8) + "\n>>");
    update.add(file.size(), std::uint32_t(*metadata),
               "<<\n/Type /Metadata /Subtype /XML\n/Length " + std::to_string(xmp.size()) + "\n>>\nstream\n" + xmp +
                   "\nendstream");
    const std::uint64_t xref = file.size() + update.body.size();
    update.body += "xref\n";
    for (const auto& [number, offset] : update.offsets) {
        update.body += std::to_string(number) + " 1\n" + tenDigits(offset) + " 00000 n \n";
    }
    update.body += "trailer\n<<\n/Size " + std::to_string(*size) + "\n/Info " + std::to_string(*info) + " 0 R\n/Root " +
                   std::to_string(*root) + " 0 R\n/Prev " + std::to_string(*prev) + "\n" +
                   std::string(trailer.substr(idAt, idEnd + 1 - idAt)) + "\n>>\nstartxref\n" + std::to_string(xref) +
                   "\n%%EOF\n";

    std::ofstream out(pdf, std::ios::binary | std::ios::app);
    out.write(update.body.data(), std::streamsize(update.body.size()));
    out.close();
    if (!out) {
        std::error_code ignored;
        std::filesystem::resize_file(pdf, file.size(), ignored);
        return false;
    }
    return true;
}

}  // namespace quendra::printing
