#include "transfer/parish_info.h"

#include "storage/chart_record.h"
#include "storage/dbase/codepage.h"
#include "storage/dbase/cursor.h"
#include "transfer/transfer_error.h"

#include <fstream>

namespace quendra::transfer {

namespace chart = storage::chart;

ParishHeader readParishHeader(const std::filesystem::path& chartFile) {
    storage::Cursor table(chartFile, storage::OpenMode::Shared);
    table.setPhysicalOrder();
    table.first();
    if (table.eof()) return {};
    return {table.asText(chart::kText), table.asText(chart::kTextH), table.asText(chart::kTextA)};
}

std::string yearOfJournalName(std::string_view journalName) {
    return journalName.size() > 2 ? std::string(journalName.substr(2, 4)) : std::string();
}

std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

std::string parishInfoBytes(const ParishInfo& info) {
    std::string notes = "Annotazioni: ";
    for (const std::string& line : info.notes) notes += " " + line;
    const std::string lines[] = {
        "Anno dell'esercizio: " + info.year + "|",
        "Nome parrocchia: " + info.parish.name + "|",
        "Luogo: " + info.parish.place + "|",
        "Decanato: " + info.parish.deanery + "|",
        "Email: " + info.email + "|",
        notes,
    };
    std::string bytes;
    for (const std::string& line : lines) {
        const std::optional<std::string> encoded = storage::encodeFromUtf8(line, storage::CodePage::Windows1252);
        if (!encoded) {
            throw TransferError("Il carattere \"" + storage::firstUnencodable(line, storage::CodePage::Windows1252) +
                                "\" non si può trasmettere: lo tolga dall'indirizzo email o dalle annotazioni.");
        }
        bytes += *encoded + "\r\n";
    }
    return bytes;
}

void writeParishInfo(const std::filesystem::path& file, const ParishInfo& info) {
    const std::string bytes = parishInfoBytes(info);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw TransferError("Il file \"" + file.string() + "\" non si può scrivere.");
}

}  // namespace quendra::transfer
