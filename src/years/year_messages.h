#pragma once

#include <string>
#include <string_view>

// The texts the year dialog shows, as the users know them.
namespace quendra::years::messages {

inline constexpr std::string_view kNoYear = "Manca l'esercizio. Devi aprire un nuovo esercizio!";
inline constexpr std::string_view kEnterYear = "Inserici 'anno!";
inline constexpr std::string_view kYearNeedsFourDigits = "L'anno deve avere quattro cifre (ad es. 2015).";
inline constexpr std::string_view kCopyIntoDataDirectory =
    "Non si può fare la copia dello stesso. Aprir una cartella diversa!";
inline constexpr std::string_view kSaved = "Il file è stato salvato con successo";
inline constexpr std::string_view kOldVersion = "Il file si riferisce ad una passata versione del programma.";
inline constexpr std::string_view kImported = "L'importazione dell'esercizio  è stato eseguito con sucesso";

// "Vuoi veramente cancellare l'esercizio 2015-01 (KR201501.DBF e KW201501.DBF)?"
std::string confirmDeleteYear(std::string_view yearNumber);

// "Il file esiste già. Il nome del nuovo file è: KR201503.DBF"
std::string renamedOnImport(std::string_view newName);

// "l'esercizio: kr201401.dbf non esiste"
std::string yearDoesNotExist(std::string_view journalName);

// A year's chart that is not in the data directory: nothing is carried.
std::string chartDoesNotExist(std::string_view chartName);

// The saved journal's chart is not in its folder: nothing is imported.
std::string chartMissingBesideJournal(std::string_view chartName, std::string_view journalName);

// A chosen file that is not named like a year's journal.
std::string notAYearJournal(std::string_view fileName);

}  // namespace quendra::years::messages
