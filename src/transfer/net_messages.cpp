#include "transfer/net_messages.h"

#include <curl/curl.h>

namespace quendra::transfer {

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string transferFailureText(int curlCode, const std::string& host, const std::string& file) {
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return "Il server " + host + " non è stato trovato.";
    case CURLE_COULDNT_CONNECT:
        return "Il server " + host + " non accetta la connessione.";
    case CURLE_OPERATION_TIMEDOUT:
        return "Il server " + host + " non ha risposto in tempo.";
    case CURLE_LOGIN_DENIED:
        return "Il server " + host + " ha rifiutato l'accesso (nome utente o password).";
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_USE_REST:
        return "Il server " + host + " non permette l'accesso alla cartella o al file " + quoted(file) + ".";
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_DISK_FULL:
        return "Il server " + host + " non ha accettato il file " + quoted(file) + ".";
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return "Il file " + quoted(file) + " non si trova sul server " + host + ".";
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return "La connessione con il server " + host + " si è interrotta durante il trasferimento di " +
               quoted(file) + ".";
    case CURLE_USE_SSL_FAILED:
        return "Il server " + host +
               " non offre la connessione cifrata (TLS) richiesta dalle impostazioni: non è stato inviato nulla.";
    case CURLE_PEER_FAILED_VERIFICATION:
        return "Il certificato del server " + host +
               " non è valido o non è riconosciuto: la connessione sicura non è stata stabilita.";
    case CURLE_SSL_CACERT_BADFILE:
        return "Il file dei certificati indicato in tovald.INI (CaFile) non si può leggere.";
    case CURLE_SSL_CONNECT_ERROR:
        return "La connessione sicura con il server " + host + " non è riuscita.";
    case CURLE_FILESIZE_EXCEEDED:
        return fileTooLargeText(host, file);
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return invalidAddressText();
    default:
        return "Il trasferimento di " + quoted(file) + " con il server " + host + " non è riuscito (errore " +
               std::to_string(curlCode) + ").";
    }
}

std::string httpStatusText(long status, const std::string& host, const std::string& file) {
    if (status == 404) return "Il file " + quoted(file) + " non si trova sul server " + host + ".";
    return "Il server " + host + " ha risposto con il codice " + std::to_string(status) + " per " + quoted(file) + ".";
}

std::string emptyBodyText(const std::string& host, const std::string& file) {
    return "Il server " + host + " ha inviato un file vuoto per " + quoted(file) + ".";
}

std::string textTooLongText(const std::string& host, const std::string& file) {
    return "Il server " + host + " ha inviato per " + quoted(file) + " un testo troppo lungo.";
}

std::string fileTooLargeText(const std::string& host, const std::string& file) {
    return "Il server " + host + " ha inviato per " + quoted(file) + " un file troppo grande.";
}

std::string insecureRedirectText(const std::string& host, const std::string& file) {
    return "Il server " + host + " ha rimandato " + quoted(file) +
           " a un indirizzo non protetto (http): il file non è stato scaricato.";
}

std::string invalidAddressText() {
    return "L'indirizzo del server centrale nel file tovald.INI non è valido.";
}

std::string noServerText() {
    return "Nessuna connessione: il server centrale non è indicato nella sezione [Server] del file tovald.INI.";
}

std::string localReadText(const std::string& file) { return "Il file " + quoted(file) + " non si può leggere."; }

std::string localWriteText(const std::string& file) { return "Il file " + quoted(file) + " non si può scrivere."; }

std::string withReason(std::string_view message, std::string_view reason) {
    std::string text;
    text.reserve(message.size() + 1 + reason.size());
    text.append(message).append(1, '\n').append(reason);
    return text;
}

}  // namespace quendra::transfer
