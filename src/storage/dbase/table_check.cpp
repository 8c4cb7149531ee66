#include "storage/dbase/table_check.h"

#include "storage/dbase/error.h"
#include "storage/dbase/dbf_header.h"
#include "storage/dbase/field_codec.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/mdx_file.h"
#include "storage/dbase/mdx_key.h"
#include "storage/dbase/open_table.h"

#include <algorithm>
#include <memory>

namespace quendra::storage {

namespace {

void checkTag(const DbfHeader& header, const std::string& data, const MdxFile& mdx, std::size_t t,
              std::vector<std::string>& problems) {
    const MdxTagInfo& info = mdx.tag(t);
    const std::string tagLabel = "tag " + info.name + ": ";
    const int field = header.fieldIndex(info.expression);
    if (field < 0) {
        problems.push_back(tagLabel + "l'espressione \"" + info.expression + "\" non è un campo della tabella");
        return;
    }
    const FieldDef& def = header.fields[std::size_t(field)];
    if (info.keyType != indexKeyType(def) || info.keyLength != indexKeyLength(def)) {
        problems.push_back(tagLabel + "tipo o lunghezza della chiave diversi dal campo " + def.name);
        return;
    }
    if (!def.hasTag) problems.push_back(tagLabel + "il campo " + def.name + " non è segnato come indicizzato");
    if (info.keysPerNode != info.nodeRoom) {
        problems.push_back(std::string(kWarning) + tagLabel + "l'intestazione dichiara " + std::to_string(info.keysPerNode) +
                           " chiavi per nodo invece di " + std::to_string(info.nodeRoom));
    }
    const std::vector<MdxEntry> entries = mdx.entries(t);
    if (entries.size() != header.recordCount) {
        problems.push_back(tagLabel + std::to_string(entries.size()) + " chiavi per " +
                           std::to_string(header.recordCount) + " record");
    }
    std::vector<bool> seen(std::size_t(header.recordCount) + 1, false);
    std::size_t wrongKeys = 0, badRecnos = 0, twice = 0;
    for (const MdxEntry& e : entries) {
        if (e.recno == 0 || e.recno > header.recordCount) {
            ++badRecnos;
            continue;
        }
        if (seen[e.recno]) ++twice;
        seen[e.recno] = true;
        const std::size_t at = header.headerLength + std::size_t(e.recno - 1) * header.recordLength +
                               header.fieldOffsets[std::size_t(field)];
        if (e.key != indexKeyOf(def, std::string_view(data).substr(at, def.length))) ++wrongKeys;
    }
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const int c = compareKeys(info.keyType, entries[i - 1].key, entries[i].key);
        if (c > 0 || (c == 0 && entries[i - 1].recno > entries[i].recno)) {
            problems.push_back(tagLabel + "chiavi fuori ordine alla posizione " + std::to_string(i + 1));
            break;
        }
    }
    if (badRecnos) problems.push_back(tagLabel + std::to_string(badRecnos) + " numeri di record fuori dalla tabella");
    if (twice) problems.push_back(tagLabel + std::to_string(twice) + " record con più di una chiave");
    if (wrongKeys) problems.push_back(tagLabel + std::to_string(wrongKeys) + " chiavi diverse dal valore del campo");
    std::size_t missing = 0;
    for (std::uint32_t r = 1; r <= header.recordCount; ++r) missing += seen[r] ? 0 : 1;
    if (missing) problems.push_back(tagLabel + std::to_string(missing) + " record senza chiave");
}

constexpr std::size_t kFieldProblemsListed = 20;

// Every flag byte and field whose bytes are not what they should be, the first ones by
// row and field.
void checkFields(const DbfHeader& header, std::string_view data, std::vector<std::string>& problems) {
    std::size_t found = 0;
    for (std::uint32_t r = 1; r <= header.recordCount; ++r) {
        const std::string_view record = data.substr(header.recordOffset(r), header.recordLength);
        if (const std::string problem = recordFlagProblem(record[0]); !problem.empty()) {
            if (++found <= kFieldProblemsListed) problems.push_back("record " + std::to_string(r) + ": " + problem);
        }
        for (std::size_t f = 0; f < header.fields.size(); ++f) {
            const FieldDef& def = header.fields[f];
            const std::string problem = fieldValueProblem(def, record.substr(header.fieldOffsets[f], def.length));
            if (problem.empty()) continue;
            if (++found <= kFieldProblemsListed) {
                problems.push_back("record " + std::to_string(r) + ", campo " + def.name + ": " + problem);
            }
        }
    }
    if (found > kFieldProblemsListed) {
        problems.push_back("altri " + std::to_string(found - kFieldProblemsListed) + " campi con valori non validi");
    }
}

std::string hexByte(char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    return std::string("0x") + kHex[byte >> 4] + kHex[byte & 0x0F];
}

bool hasLowerCase(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// What other dBase programs might read differently although this engine reads the rows
// right. Needs a record count that fits the file.
void checkHeaderBytes(const DbfHeader& header, std::string_view data, std::vector<std::string>& problems) {
    const std::string warning(kWarning);
    if (data[0] != 0x03) problems.push_back(warning + "il byte di versione è " + hexByte(data[0]) + " invece di 0x03 (dBase IV)");
    if (!isKnownDriver(std::uint8_t(data[29]))) {
        problems.push_back(warning + "la pagina di codici " + hexByte(data[29]) + " è sconosciuta: il testo è letto come Windows-1252");
    }
    if (data[28] != 0 && data[28] != 1) problems.push_back(warning + "il byte 28 vale " + hexByte(data[28]) + " invece di 0 o 1");
    for (const FieldDef& def : header.fields) {
        if (hasLowerCase(def.name)) problems.push_back(warning + "il nome del campo " + def.name + " contiene minuscole");
    }
    const std::uint64_t end = header.recordOffset(header.recordCount + 1);
    if (data.size() == end) {
        problems.push_back(warning + "manca il byte di fine file 0x1A");
    } else if (data[end] != 0x1A) {
        problems.push_back(warning + "il byte di fine file è " + hexByte(data[end]) + " invece di 0x1A");
    }
}

bool rowReadable(const DbfHeader& header, std::string_view record) {
    if (!recordFlagProblem(record[0]).empty()) return false;
    for (std::size_t f = 0; f < header.fields.size(); ++f) {
        const FieldDef& def = header.fields[f];
        if (!fieldValueProblem(def, record.substr(header.fieldOffsets[f], def.length)).empty()) return false;
    }
    return true;
}

constexpr std::size_t kRowsNamed = 10;

}  // namespace

std::vector<std::uint32_t> unreadableRows(const DbfHeader& header, std::string_view rows) {
    std::vector<std::uint32_t> found;
    const std::size_t count = rows.size() / header.recordLength;
    for (std::size_t r = 0; r < count; ++r) {
        if (!rowReadable(header, rows.substr(r * header.recordLength, header.recordLength))) {
            found.push_back(std::uint32_t(r + 1));
        }
    }
    return found;
}

void refuseUnreadableRows(const OpenTable& table) {
    const std::vector<std::uint32_t> rows = unreadableRows(table.header(), table.rowBytes());
    if (rows.empty()) return;
    std::string named;
    for (std::size_t i = 0; i < rows.size() && i < kRowsNamed; ++i) named += (i ? ", " : "") + std::to_string(rows[i]);
    if (rows.size() > kRowsNamed) named += " e altri " + std::to_string(rows.size() - kRowsNamed);
    throw DbError(DbError::Kind::DamagedRows,
                  "La tabella \"" + fileLabel(table.path()) + "\" ha " + std::to_string(rows.size()) +
                      (rows.size() == 1 ? " record danneggiato" : " record danneggiati") + " (" + named +
                      "): l'indice non è stato ricostruito, perché il danno non diventi definitivo");
}

std::vector<std::string> checkTable(const std::filesystem::path& path) {
    std::vector<std::string> problems;
    std::string data;
    DbfHeader header;
    try {
        data = FileHandle(path, FileHandle::Lock::None).readAll();
        header = DbfHeader::parse(data, data.size(), fileLabel(path));
    } catch (const DbError& e) {
        return {e.what()};
    }
    if (const std::string problem = header.recordCountProblem(data.size(), fileLabel(path)); !problem.empty()) {
        problems.push_back(problem);
        header.recordCount = std::min(header.recordCount, header.recordsInFile(data.size()));
    } else {
        checkHeaderBytes(header, data, problems);
    }
    checkFields(header, data, problems);
    const std::filesystem::path mdxPath = indexPathFor(path);
    std::error_code ec;
    const bool mdxExists = std::filesystem::exists(mdxPath, ec);
    if (!header.productionIndex) {
        if (mdxExists) problems.push_back("il byte 28 è 0 ma esiste l'indice \"" + fileLabel(mdxPath) + "\"");
        for (const FieldDef& def : header.fields) {
            if (def.hasTag) problems.push_back("il campo " + def.name + " è segnato come indicizzato senza indice");
        }
        return problems;
    }
    if (!mdxExists) {
        problems.push_back("il byte 28 annuncia l'indice \"" + fileLabel(mdxPath) + "\" che manca");
        return problems;
    }
    std::unique_ptr<MdxFile> mdx;
    try {
        refuseIfNotRegular(mdxPath);
        mdx = MdxFile::open(mdxPath);
    } catch (const DbError& e) {
        problems.push_back(e.what());
        return problems;
    }
    if (mdx->tagCount() == 0) problems.push_back("l'indice \"" + fileLabel(mdxPath) + "\" non contiene alcun tag");
    std::vector<bool> tagged(header.fields.size(), false);
    for (std::size_t t = 0; t < mdx->tagCount(); ++t) {
        checkTag(header, data, *mdx, t, problems);
        if (const int field = header.fieldIndex(mdx->tag(t).expression); field >= 0) tagged[std::size_t(field)] = true;
    }
    for (std::size_t f = 0; f < header.fields.size(); ++f) {
        if (header.fields[f].hasTag && !tagged[f]) {
            problems.push_back("il campo " + header.fields[f].name + " è segnato come indicizzato ma nessun tag è su di esso");
        }
    }
    return problems;
}

}  // namespace quendra::storage
