#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "storage/dbase/mdx_file.h"
#include "storage/dbase/open_table.h"
#include "storage/dbase/table_check.h"
#include "storage/dbase/table_ops.h"
#include "tools/command_args.h"
#include "tools/csv.h"
#include "tools/db_commands.h"
#include "tools/dump_format.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
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

void setCell(Cursor& table, const FieldDef& def, const std::string& cell) {
    if (cell.empty()) return;  // the appended row is blank already
    switch (def.type) {
        case FieldType::Date: {
            const auto date = Date::parseIso(cell);
            if (!date) throw std::runtime_error("data non valida per " + def.name + ": \"" + cell + "\"");
            table.setDate(def.name, *date);
            break;
        }
        case FieldType::Numeric:
        case FieldType::Float: {
            char* end = nullptr;
            const double value = std::strtod(cell.c_str(), &end);
            if (end != cell.c_str() + cell.size()) {
                throw std::runtime_error("numero non valido per " + def.name + ": \"" + cell + "\"");
            }
            table.setNumber(def.name, value);
            break;
        }
        default: table.setText(def.name, cell);
    }
}

}  // namespace

int runInfo(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {}, {}, 1);
    Cursor table(parsed.positional[0], OpenMode::Shared);
    const OpenTable& t = *table.table();
    const DbfHeader& h = t.header();
    std::cout << "file: " << parsed.positional[0] << "\n"
              << "versione: 0x" << std::hex << int(h.version) << std::dec << "\n"
              << "ultimo aggiornamento: " << h.lastUpdate.toIso() << "\n"
              << "record: " << h.recordCount << " (validi " << t.visibleCount() << ", cancellati "
              << h.recordCount - t.visibleCount() << ")\n"
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
        // The file's own tag, so a dump shows what other readers would walk.
        const std::unique_ptr<MdxFile> mdx = MdxFile::open(indexPathFor(parsed.positional[0]));
        std::size_t index = mdx->tagCount();
        for (std::size_t i = 0; i < mdx->tagCount(); ++i) {
            if (mdx->tag(i).name.size() == tag.size() &&
                std::equal(tag.begin(), tag.end(), mdx->tag(i).name.begin(),
                           [](char a, char b) { return std::toupper(a) == std::toupper(b); })) {
                index = i;
            }
        }
        if (index == mdx->tagCount()) throw DbError(DbError::Kind::NoSuchTag, "tag \"" + tag + "\" inesistente");
        for (const MdxEntry& e : mdx->entries(index)) {
            if (e.recno >= 1 && e.recno <= t.physicalCount()) order.push_back(e.recno);
        }
    } else {
        for (std::uint32_t r = 1; r <= t.physicalCount(); ++r) order.push_back(r);
    }
    std::vector<std::string> cells;
    if (withDeleted) cells.push_back("_deleted");
    for (const FieldDef& f : t.fields()) cells.push_back(f.name);
    writeCsvRow(std::cout, cells);
    for (const std::uint32_t r : order) {
        if (t.isDeleted(r) && !withDeleted) continue;
        cells.clear();
        if (withDeleted) cells.push_back(t.isDeleted(r) ? "1" : "0");
        for (std::size_t i = 0; i < t.fields().size(); ++i) {
            cells.push_back(dumpValue(t.fields()[i], t.rawField(r, i), t.codePage()));
        }
        writeCsvRow(std::cout, cells);
    }
    return 0;
}

int runLoad(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--fields", "--tag"}, {"--replace"}, 1);
    const std::string fieldList = parsed.one("--fields");
    if (fieldList.empty()) throw std::runtime_error("manca --fields");
    const std::filesystem::path path = parsed.positional[0];
    createTable(path, parseFieldList(fieldList), parsed.flags.count("--replace") > 0);
    {
        Cursor table(path, OpenMode::Exclusive);
        const auto header = readCsvRow(std::cin);
        std::vector<int> columns;
        if (header) {
            for (const std::string& name : *header) {
                const int field = table.findField(name);
                if (field < 0) throw DbError(DbError::Kind::NoSuchField, "colonna \"" + name + "\" senza campo");
                columns.push_back(field);
            }
        }
        std::size_t line = 1;
        while (const auto row = readCsvRow(std::cin)) {
            ++line;
            if (row->size() == 1 && (*row)[0].empty()) continue;
            if (row->size() > columns.size()) {
                throw std::runtime_error("riga " + std::to_string(line) + ": più colonne dell'intestazione");
            }
            table.append();
            try {
                for (std::size_t c = 0; c < row->size(); ++c) {
                    setCell(table, table.fieldDef(std::size_t(columns[c])), (*row)[c]);
                }
            } catch (const std::exception& e) {
                throw std::runtime_error("riga " + std::to_string(line) + ": " + e.what());
            }
            table.post();
        }
    }
    const std::vector<TagField> tags = tagOptions(parsed);
    if (!tags.empty()) reindexTable(path, tags);
    return 0;
}

int runCheck(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {}, {}, 1);
    const std::vector<std::string> problems = checkTable(parsed.positional[0]);
    for (const std::string& p : problems) std::cout << p << "\n";
    if (problems.empty()) std::cout << "nessun problema\n";
    return problems.empty() ? 0 : 1;
}

int runReindex(const CommandArgs& args) {
    const ParsedArgs parsed = parseArgs(args, {"--tag"}, {}, 1);
    reindexTable(parsed.positional[0], tagOptions(parsed));
    return 0;
}

}  // namespace quendra::tools
