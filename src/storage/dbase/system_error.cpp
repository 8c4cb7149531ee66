#include "storage/dbase/system_error.h"

#include <cerrno>

namespace quendra::storage {

namespace {

const char* causeOf(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
        case ENOTDIR: return "il file o la cartella non esiste";
        case EACCES:
        case EPERM: return "accesso negato: mancano i permessi necessari";
        case ENOSPC:
        case EDQUOT: return "il disco è pieno";
        case EROFS: return "il disco o la cartella è di sola lettura";
        case EBUSY:
        case ETXTBSY:
        case EWOULDBLOCK: return "il file è in uso da un altro programma";
        default: return "errore del sistema";
    }
}

std::string withDetail(const char* cause, const std::string& detail) {
    return std::string(cause) + " (dettaglio del sistema: " + detail + ")";
}

}  // namespace

std::string systemErrorText(int errorNumber) {
    return withDetail(causeOf(errorNumber), std::generic_category().message(errorNumber));
}

std::string systemErrorText(const std::error_code& error) {
    const bool errnoValue = error.category() == std::generic_category() || error.category() == std::system_category();
    return withDetail(errnoValue ? causeOf(error.value()) : causeOf(0), error.message());
}

}  // namespace quendra::storage
