#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/field_codec.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/year_structure.h"
#include "storage/dbase/table_ops.h"
#include "storage/dbase/text_case.h"
#include "tools/command_args.h"
#include "tools/csv.h"
#include "tools/db_commands.h"
#include "tools/dump_format.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace quendra::tools {

using namespace storage;

namespace {

std::vector<TagField> tagOptions(const ParsedArgs& args) {
    std::vector<TagField> tags;
    for (const std::string& value : args.all("--tag")) {
        auto [name, field] = splitAssignment(value, "--tag");
        tags.push_back({name, field});
    }
    return tags;
}

int parseWhole(const std::string& text, const std::string& what) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        throw std::runtime_error(what + " non valido: \"" + text + "\"");
    }
    return value;
}

// "name:type:len[:dec],..." as in the tool's usage.
FieldList parseFieldList(const std::string& text) {
    FieldList fields;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        start = comma + 1;
        std::vector<std::string> parts;
        for (std::size_t p = 0; p <= item.size();) {
            const std::size_t colon = std::min(item.find(':', p), item.size());
            parts.push_back(item.substr(p, colon - p));
            p = colon + 1;
        }
        if (parts.size() < 2 || parts[1].size() != 1) throw std::runtime_error("campo non valido in --fields: \"" + item + "\"");
        FieldDef def;
        def.name = parts[0];
        def.type = FieldType(std::toupper(static_cast<unsigned char>(parts[1][0])));
        switch (def.type) {
            case FieldType::Date: def.length = 8; break;
            case FieldType::Logical: def.length = 1; break;
            case FieldType::Character:
            case FieldType::Numeric:
            case FieldType::Float:
                if (parts.size() < 3) throw std::runtime_error("manca la lunghezza del campo " + def.name);
                def.length = std::uint8_t(parseWhole(parts[2], "lunghezza"));
                if (parts.size() > 3) def.decimals = std::uint8_t(parseWhole(parts[3], "decimali"));
                break;
            default: throw std::runtime_error("tipo di campo sconosciuto in \"" + item + "\"");
        }
        fields.push_back(def);
        if (comma == text.size()) break;
    }
    return fields;
}

bool isDecimalNumber(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digits = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// One cell in the field's bytes. Numbers are decimal ("12.50"), dates YYYY-MM-DD or
// dd.mm.yyyy, text without control characters.
std::string encodeCell(const FieldDef& def, const std::string& cell, CodePage page) {
    if (def.isNumeric() && !cell.empty() && !isDecimalNumber(cell)) {
        throw std::runtime_error("numero non valido per " + def.name + ": \"" + cell + "\"");
    }
    for (const char c : cell) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            throw std::runtime_error("carattere di controllo nel valore per " + def.name);
        }
    }
    return encodeText(def, cell, page);
}

// The rows of the CSV on standard input as records of the header's fields; nothing is
// written until every row has been read and found good.
std::string readRows(const DbfHeader& header) {
    std::vector<std::size_t> columns;
    if (const auto names = readCsvRow(std::cin)) {
        for (const std::string& name : *names) {
            const int field = header.fieldIndex(name);
            if (field < 0) throw DbError(DbError::Kind::NoSuchField, "colonna \"" + name + "\" senza campo");
            columns.push_back(std::size_t(field));
        }
    }
    std::string rows;
    std::size_t line = 1;
    while (const auto row = readCsvRow(std::cin)) {
        ++line;
        if (row->size() == 1 && (*row)[0].empty()) continue;
        if (row->size() > columns.size()) {
            throw std::runtime_error("riga " + std::to_string(line) + ": più colonne dell'intestazione");
        }
        std::string record(header.recordLength, ' ');
        try {
            for (std::size_t f = 0; f < header.fields.size(); ++f) {
                record.replace(header.fieldOffsets[f], header.fields[f].length, blankValue(header.fields[f]));
            }
            for (std::size_t c = 0; c < row->size(); ++c) {
                const FieldDef& def = header.fields[columns[c]];
                record.replace(header.fieldOffsets[columns[c]], def.length, encodeCell(def, (*row)[c], header.codePage()));
            }
        } catch (const std::exception& e) {
            throw std::runtime_error("riga " + std::to_string(line) + ": " + e.what());
        }
        rows += record;
    }
    return rows;
}

}  // namespace

int runInfo(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {}, {}, 1);
    Cursor table(parsed.positional[0], OpenMode::Shared);
    const OpenTable& t = *table.table();
    const DbfHeader& h = t.header();
    // Counted from the flags themselves: a damaged one is neither valid nor deleted.
    std::uint32_t deleted = 0, damaged = 0;
    for (std::uint32_t r = 1; r <= t.physicalCount(); ++r) {
        const char flag = t.record(r)[0];
        if (!recordFlagProblem(flag).empty()) ++damaged;
        else if (flag == '*') ++deleted;
    }
    std::cout << "file: " << parsed.positional[0] << "\n"
              << "versione: 0x" << std::hex << int(h.version) << std::dec << "\n"
              << "ultimo aggiornamento: " << h.lastUpdate.toIso() << "\n"
              << "record: " << h.recordCount << " (validi " << h.recordCount - deleted - damaged << ", cancellati "
              << deleted << (damaged ? ", con il contrassegno danneggiato " + std::to_string(damaged) : "") << ")\n"
              << "lunghezza intestazione: " << h.headerLength << "\n"
              << "lunghezza record: " << h.recordLength << "\n"
              << "indice di produzione (byte 28): " << (h.productionIndex ? 1 : 0) << "\n"
              << "driver di lingua: 0x" << std::hex << int(h.languageDriver) << std::dec << "\n"
              << "campi:\n";
    for (const FieldDef& f : h.fields) {
        std::cout << "  " << f.name << " " << char(f.type) << " " << int(f.length);
        if (f.isNumeric()) std::cout << "." << int(f.decimals);
        if (f.hasTag) std::cout << " (indicizzato)";
        std::cout << "\n";
    }
    std::cout << "tag:\n";
    for (std::size_t i = 0; i < t.tagCount(); ++i) {
        std::cout << "  " << t.tagAt(i).info().name << " = " << t.tagAt(i).info().expression << "\n";
    }
    if (!t.indexProblem().empty()) std::cout << "problema dell'indice: " << t.indexProblem() << "\n";
    return 0;
}

int runDump(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--tag"}, {"--deleted"}, 1);
    const bool withDeleted = parsed.flags.count("--deleted") > 0;
    Cursor cursor(parsed.positional[0], OpenMode::Shared);
    const OpenTable& t = *cursor.table();
    std::vector<std::uint32_t> order;
    if (const std::string tag = parsed.one("--tag"); !tag.empty()) {
        // The tag as checked against the rows: a stale one is refused, never walked.
        if (!t.indexUsable() && t.header().productionIndex) throw DbError(t.indexProblemKind(), t.indexProblem());
        std::size_t index = t.tagCount();
        for (std::size_t i = 0; i < t.tagCount(); ++i) {
            if (equalsIgnoreCaseAscii(t.tagAt(i).info().name, tag)) index = i;
        }
        if (index == t.tagCount()) throw DbError(DbError::Kind::NoSuchTag, "tag \"" + tag + "\" inesistente");
        for (std::size_t pos = 0; pos < t.tagAt(index).size(); ++pos) order.push_back(t.tagAt(index).recnoAt(pos));
    } else {
        for (std::uint32_t r = 1; r <= t.physicalCount(); ++r) order.push_back(r);
    }
    std::vector<std::string> cells;
    if (withDeleted) cells.push_back("_deleted");
    for (const FieldDef& f : t.fields()) cells.push_back(f.name);
    // Written out only once every row has been read: a damaged field stops the dump
    // without half a table on the output.
    std::ostringstream out;
    writeCsvRow(out, cells);
    for (const std::uint32_t r : order) {
        if (t.isDeleted(r) && !withDeleted) continue;
        cells.clear();
        if (withDeleted) cells.push_back(t.isDeleted(r) ? "1" : "0");
        readInRow(t.path(), r, [&] {
            for (std::size_t i = 0; i < t.fields().size(); ++i) {
                cells.push_back(dumpValue(t.fields()[i], t.rawField(r, i), t.codePage()));
            }
        });
        writeCsvRow(out, cells);
    }
    std::cout << out.str();
    return 0;
}

int runLoad(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--fields", "--tag"}, {"--replace"}, 1);
    const std::string fieldList = parsed.one("--fields");
    if (fieldList.empty()) throw std::runtime_error("manca --fields");
    const std::filesystem::path path = parsed.positional[0];
    const DbfHeader header = DbfHeader::forFields(parseFieldList(fieldList));
    if (parsed.flags.count("--replace") == 0 && std::filesystem::exists(path)) {
        throw DbError(DbError::Kind::Io, "Il file \"" + fileLabel(path) + "\" esiste già");
    }
    // Built whole in memory, then put in place at once: a refused or interrupted load
    // leaves the old table (or none) as it was.
    installTable(path, header, readRows(header), tagOptions(parsed));
    return 0;
}

int runCheck(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {}, {}, 1);
    const std::filesystem::path path = parsed.positional[0];
    std::vector<std::string> problems = checkTable(path);
    const auto isError = [](const std::string& p) { return !isWarning(p); };
    bool errors = std::any_of(problems.begin(), problems.end(), isError);
    if (const auto kind = yearTableKindOf(path.filename().string()); kind && !errors) {
        for (std::string& p : yearStructureProblems(*kind, Cursor(path, OpenMode::Shared).fields(), fileLabel(path))) {
            problems.push_back(std::move(p));
            errors = true;
        }
    }
    for (const std::string& p : problems) std::cout << p << "\n";
    if (problems.empty()) std::cout << "nessun problema\n";
    // Warnings alone leave the rows readable: the check passes.
    return errors ? 1 : 0;
}

int runReindex(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--tag"}, {}, 1);
    reindexTable(parsed.positional[0], tagOptions(parsed));
    return 0;
}

}  // namespace quendra::tools
