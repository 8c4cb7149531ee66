#include "transfer/curl_net.h"

#include "transfer/net_messages.h"
#include "transfer/replacing_file.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

namespace quendra::transfer {

namespace {

constexpr std::size_t kMaxTextBytes = 64 * 1024;
constexpr long kMaxRedirects = 5;
// The FTP server's confirmations that a stored file is complete.
constexpr long kFtpStored = 226;
constexpr long kFtpDone = 250;

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using Easy = std::unique_ptr<CURL, EasyCleanup>;

struct UrlCleanup {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using Url = std::unique_ptr<CURLU, UrlCleanup>;

struct CurlFree {
    void operator()(char* text) const { curl_free(text); }
};
using CurlText = std::unique_ptr<char, CurlFree>;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

Easy newEasy() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    return Easy(curl_easy_init());
}

void tell(const StatusCallback& status, const std::string& text) {
    if (status) status(text);
}

// What the progress function says: one text while nothing has moved yet (connecting,
// logging in), then the bytes moved.
struct Progress {
    const StatusCallback& status;
    std::string waiting;
    std::string moving;
};

std::string byteCount(curl_off_t now, curl_off_t total) {
    std::string text = std::to_string(now);
    if (total > 0) text += " di " + std::to_string(total);
    return text + " byte";
}

int reportProgress(void* data, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal, curl_off_t upNow) {
    const auto& progress = *static_cast<const Progress*>(data);
    try {
        if (upNow > 0) {
            tell(progress.status, progress.moving + ": " + byteCount(upNow, upTotal));
        } else if (downNow > 0) {
            tell(progress.status, progress.moving + ": " + byteCount(downNow, downTotal));
        } else {
            tell(progress.status, progress.waiting);
        }
        return 0;
    } catch (...) {
        return 1;  // an exception must not cross libcurl; the transfer ends as aborted
    }
}

void limitWaits(CURL* easy, const NetLimits& limits, long wholeMilliseconds, Progress& progress) {
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, limits.connect);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, limits.stall);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, wholeMilliseconds);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, reportProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress);
}

// Certificates are verified (libcurl's default, set here so that it stays so); the
// deployment's own file, when it names one, is trusted as well as the system's.
void trustCertificates(CURL* easy, const std::string& caFile) {
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, caFile.c_str());
}

long tlsUse(storage::FtpTls tls) {
    switch (tls) {
    case storage::FtpTls::IfOffered:
        return CURLUSESSL_TRY;
    case storage::FtpTls::Off:
        return CURLUSESSL_NONE;
    case storage::FtpTls::Required:
        break;
    }
    return CURLUSESSL_ALL;
}

// The host and the last path segment of a web address, for status texts and messages;
// nullopt for anything but a well-formed http or https URL.
struct Where {
    std::string scheme;
    std::string host;
    std::string file;
};

std::optional<Where> whereOf(const std::string& url) {
    const Url parts(curl_url());
    if (!parts || curl_url_set(parts.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return std::nullopt;
    char* scheme = nullptr;
    char* host = nullptr;
    char* path = nullptr;
    curl_url_get(parts.get(), CURLUPART_SCHEME, &scheme, 0);
    curl_url_get(parts.get(), CURLUPART_HOST, &host, 0);
    curl_url_get(parts.get(), CURLUPART_PATH, &path, CURLU_URLDECODE);
    const CurlText schemeText(scheme), hostText(host), pathText(path);
    if (!schemeText || !hostText) return std::nullopt;
    const std::string schemeName = schemeText.get();
    if (schemeName != "http" && schemeName != "https") return std::nullopt;
    std::string file = pathText ? pathText.get() : "";
    file.erase(0, file.rfind('/') + 1);
    return Where{schemeName, hostText.get(), file};
}

struct TextSink {
    std::string body;
};

std::size_t appendText(char* data, std::size_t, std::size_t count, void* sink) {
    std::string& body = static_cast<TextSink*>(sink)->body;
    if (body.size() + count > kMaxTextBytes) return 0;
    body.append(data, count);
    return count;
}

struct FileSink {
    ReplacingFile& file;
    std::uintmax_t limit;
    bool tooLarge = false;
};

std::size_t appendFile(char* data, std::size_t, std::size_t count, void* sink) {
    auto& target = *static_cast<FileSink*>(sink);
    if (target.file.size() + count > target.limit) {
        target.tooLarge = true;
        return 0;
    }
    return target.file.write(data, count) ? count : 0;
}

// Where the body of a GET goes; a sink that refuses data fails with failure.
struct Sink {
    curl_write_callback write;
    void* data;
    std::string failure;
};

// Runs a GET into the sink; the failure text, empty when the server answered 200 and
// the body arrived whole. answer gets the server's status code (0: none came).
std::string runGet(const NetLimits& limits, long wholeSeconds, const WebFile& source, const Where& where,
                   const Sink& sink, const StatusCallback& status, long& answer) {
    long wholeMilliseconds = wholeSeconds * 1000;
    if (source.until) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*source.until - std::chrono::steady_clock::now());
        if (left.count() <= 0) return transferFailureText(CURLE_OPERATION_TIMEDOUT, where.host, where.file);
        wholeMilliseconds = std::min(wholeMilliseconds, long(left.count()));
    }
    const Easy easy = newEasy();
    if (!easy) return transferFailureText(CURLE_OUT_OF_MEMORY, where.host, where.file);
    CURL* c = easy.get();
    Progress progress{status, "Connessione a " + where.host + " ...", "Scaricamento di " + where.file};
    limitWaits(c, limits, wholeMilliseconds, progress);
    trustCertificates(c, source.caFile);
    curl_easy_setopt(c, CURLOPT_URL, source.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    // What came encrypted never continues in the clear.
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, where.scheme == "https" ? "https" : "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Quendra");
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.fileBytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, sink.write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, sink.data);
    const CURLcode code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer);
    if (code == CURLE_WRITE_ERROR) return sink.failure;
    if (code == CURLE_UNSUPPORTED_PROTOCOL && answer >= 300 && answer < 400) {
        return insecureRedirectText(where.host, where.file);
    }
    if (code == CURLE_HTTP_RETURNED_ERROR || (code == CURLE_OK && answer != 200)) {
        return httpStatusText(answer, where.host, where.file);
    }
    if (code != CURLE_OK) return transferFailureText(code, where.host, where.file);
    return {};
}

// ftp://host:port/%2Fdir/name, so that a single CWD goes to the absolute directory;
// nullopt when the host is no host name.
std::optional<std::string> ftpUrl(CURL* easy, const FtpServer& server, const std::string& remoteName) {
    const auto escaped = [easy](const std::string& text) {
        const CurlText out(curl_easy_escape(easy, text.c_str(), int(text.size())));
        return out ? std::string(out.get()) : std::string();
    };
    std::string path = "/";
    std::string directory = server.directory;
    if (!directory.empty() && directory.front() == '/') {
        path += "%2F";
        directory.erase(0, 1);
    }
    while (!directory.empty()) {
        const std::size_t slash = directory.find('/');
        path += escaped(directory.substr(0, slash)) + "/";
        directory.erase(0, slash == std::string::npos ? directory.size() : slash + 1);
    }
    path += escaped(remoteName);

    std::string host = server.host;
    if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
    const Url parts(curl_url());
    if (!parts || curl_url_set(parts.get(), CURLUPART_SCHEME, "ftp", 0) != CURLUE_OK ||
        curl_url_set(parts.get(), CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
        curl_url_set(parts.get(), CURLUPART_PORT, std::to_string(server.port).c_str(), 0) != CURLUE_OK ||
        curl_url_set(parts.get(), CURLUPART_PATH, path.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    char* url = nullptr;
    if (curl_url_get(parts.get(), CURLUPART_URL, &url, 0) != CURLUE_OK) return std::nullopt;
    const CurlText urlText(url);
    return std::string(urlText.get());
}

struct LocalSource {
    std::FILE* file;
    bool failed = false;
};

std::size_t readLocal(char* buffer, std::size_t size, std::size_t count, void* data) {
    auto& source = *static_cast<LocalSource*>(data);
    const std::size_t read = std::fread(buffer, size, count, source.file);
    if (read == 0 && std::ferror(source.file)) {
        source.failed = true;
        return CURL_READFUNC_ABORT;
    }
    return read;
}

}  // namespace

CurlNet::CurlNet(NetLimits limits) : limits_(limits) {}

NetResult CurlNet::ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                            const StatusCallback& status) {
    Easy easy = newEasy();
    if (!easy) return {transferFailureText(CURLE_OUT_OF_MEMORY, server.host, "")};
    CURL* c = easy.get();
    Progress progress{status, "Connessione a " + server.host + " ...", ""};
    limitWaits(c, limits_, limits_.file * 1000, progress);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    // A proxy from the environment would carry the upload as HTTP with the login readable
    // and answer for the server; the transmission always talks to the server itself.
    curl_easy_setopt(c, CURLOPT_PROXY, "");
    // With TLS asked for, AUTH TLS comes before the login, so the password never travels
    // in the clear.
    curl_easy_setopt(c, CURLOPT_USE_SSL, tlsUse(server.tls));
    curl_easy_setopt(c, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
    trustCertificates(c, server.caFile);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, limits_.stall);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readLocal);
    if (!server.user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, server.user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, server.password.c_str());
    }
    for (const FtpUpload& upload : files) {
        const std::optional<std::string> url = ftpUrl(c, server, upload.remoteName);
        if (!url) return {invalidAddressText()};
        const std::string localName = upload.localFile.string();
        const std::unique_ptr<std::FILE, FileClose> file(std::fopen(localName.c_str(), "rb"));
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(upload.localFile, error);
        if (!file || error) return {localReadText(localName)};
        LocalSource source{file.get()};
        progress.moving = "Invio di " + upload.remoteName;
        if (&upload != &files.front()) progress.waiting = progress.moving + " ...";
        curl_easy_setopt(c, CURLOPT_URL, url->c_str());
        curl_easy_setopt(c, CURLOPT_READDATA, &source);
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
        const CURLcode code = curl_easy_perform(c);
        if (source.failed) return {localReadText(localName)};
        long answer = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer);
        // Only the server's own confirmation counts; a refusal after the data went across is
        // no broken line.
        const bool refusedAtEnd = code == CURLE_PARTIAL_FILE && answer >= 400;
        const bool unconfirmed = code == CURLE_OK && answer != kFtpStored && answer != kFtpDone;
        if (refusedAtEnd || unconfirmed) {
            return {transferFailureText(CURLE_UPLOAD_FAILED, server.host, upload.remoteName)};
        }
        if (code != CURLE_OK) return {transferFailureText(code, server.host, upload.remoteName)};
        tell(status, upload.remoteName + " inviato");
    }
    easy.reset();  // QUIT and close
    tell(status, "Trasmissione terminata, disconnesso da " + server.host);
    return {};
}

TextResult CurlNet::httpGetText(const WebFile& source, const StatusCallback& status) {
    const std::optional<Where> where = whereOf(source.url);
    if (!where) return {"", invalidAddressText()};
    TextSink sink;
    long answer = 0;
    std::string error = runGet(limits_, limits_.text, source, *where,
                               {appendText, &sink, textTooLongText(where->host, where->file)}, status, answer);
    if (error.empty() && sink.body.empty()) error = emptyBodyText(where->host, where->file);
    if (!error.empty()) return {"", error, answer};
    return {std::move(sink.body), "", answer};
}

NetResult CurlNet::download(const WebFile& source, const std::filesystem::path& target, FileKind kind,
                            const DownloadCheck& check, const StatusCallback& status) {
    const std::optional<Where> where = whereOf(source.url);
    if (!where) return {invalidAddressText()};
    const std::string targetName = target.string();
    ReplacingFile file(target);
    if (!file.isOpen()) return {localWriteText(targetName)};
    FileSink sink{file, limits_.fileBytes};
    long answer = 0;
    std::string error = runGet(limits_, limits_.file, source, *where, {appendFile, &sink, localWriteText(targetName)},
                               status, answer);
    if (sink.tooLarge) error = fileTooLargeText(where->host, where->file);
    if (error.empty() && file.size() == 0) error = emptyBodyText(where->host, where->file);
    if (error.empty() && check) error = check(file.temporaryPath());
    if (error.empty() && !file.commit(kind)) error = localWriteText(targetName);
    return {error};
}

}  // namespace quendra::transfer
