#include "years/year_messages.h"

#include "storage/dbase/text_case.h"

namespace quendra::years::messages {

using storage::toUpperUtf8;

std::string confirmDeleteYear(std::string_view yearNumber) {
    const std::string number(yearNumber);
    return "Vuoi veramente cancellare l'esercizio " + number.substr(0, 4) + "-" + number.substr(4) + " (KR" + number +
           ".DBF e KW" + number + ".DBF)?";
}

std::string renamedOnImport(std::string_view newName) {
    return "Il file esiste già. Il nome del nuovo file è: " + toUpperUtf8(newName);
}

std::string yearDoesNotExist(std::string_view journalName) {
    return "l'esercizio: " + std::string(journalName) + " non esiste";
}

std::string chartDoesNotExist(std::string_view chartName) {
    return "Manca il piano dei conti \"" + toUpperUtf8(chartName) + "\": il riporto non è stato eseguito.";
}

std::string chartMissingBesideJournal(std::string_view chartName, std::string_view journalName) {
    return "Manca il piano dei conti \"" + toUpperUtf8(chartName) + "\" nella cartella dell'esercizio \"" +
           toUpperUtf8(journalName) + "\": l'esercizio non è stato importato.";
}

std::string notAYearJournal(std::string_view fileName) {
    return "Il file \"" + std::string(fileName) +
           "\" non è un esercizio salvato: il nome deve essere KR seguito da sei cifre (ad es. KR201501.DBF).";
}

}  // namespace quendra::years::messages
