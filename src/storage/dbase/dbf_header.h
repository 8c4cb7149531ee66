#pragma once

#include "storage/dbase/codepage.h"
#include "storage/dbase/date.h"
#include "storage/dbase/field_def.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

// The local date, as a header records its last update.
Date headerDateToday();

// The fixed part of a .dbf file: 32-byte header, field descriptors, terminator 0x0D.
struct DbfHeader {
    std::uint8_t version = 0x03;
    Date lastUpdate;                     // header bytes 1-3
    std::uint32_t recordCount = 0;       // bytes 4-7, deleted rows included
    std::uint16_t headerLength = 0;      // bytes 8-9
    std::uint16_t recordLength = 0;      // bytes 10-11, flag byte included
    bool productionIndex = false;        // byte 28
    std::uint8_t languageDriver = 0x57;  // byte 29
    FieldList fields;
    std::vector<std::uint32_t> fieldOffsets;  // offset of each field inside a record (flag byte = 0)

    CodePage codePage() const { return codePageFromDriver(languageDriver); }

    // Header for a new table: lengths and offsets computed, Windows-1252, no index.
    // Throws DbError(BadValue) for an invalid field list (empty, bad name, duplicate
    // name, bad length or decimals, record longer than 65535 bytes).
    static DbfHeader forFields(const FieldList& fields);

    // Parses and validates the bytes at the start of a file of fileSize bytes. Throws
    // DbError(BadFile) naming fileLabel for: too short, wrong header length, unknown
    // field type, garbage or repeated names, impossible lengths or decimals, field
    // lengths that do not add up to the record length. The record count is left to
    // recordCountProblem(), so that a repair can still read such a header.
    static DbfHeader parse(std::string_view bytes, std::uint64_t fileSize, const std::string& fileLabel);

    // Whole records the file holds after the header (a torn last one not counted).
    std::uint32_t recordsInFile(std::uint64_t fileSize) const;
    // "" when the count fits the file: the counted records, then at most the end-of-file
    // byte. Otherwise the Italian reason, naming both counts.
    std::string recordCountProblem(std::uint64_t fileSize, const std::string& fileLabel) const;

    // The bytes of header, descriptors and 0x0D (headerLength bytes).
    std::string serialize() const;

    // Index of the field with this name, compared case-blind; -1 when none.
    int fieldIndex(std::string_view name) const;

    std::uint64_t recordOffset(std::uint32_t recno) const {  // recno counts from 1
        return headerLength + std::uint64_t(recno - 1) * recordLength;
    }
};

}  // namespace quendra::storage
