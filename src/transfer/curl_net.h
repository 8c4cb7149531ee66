#pragma once

#include "transfer/net.h"

namespace quendra::transfer {

// The bounds of every network wait, in seconds.
struct NetTimeouts {
    long connect = 15;
    long stall = 30;       // less than one byte a second for this long ends a transfer
    long text = 60;        // a whole GET of a small text
    long file = 1800;      // a whole upload or download of one file
};

// Net over libcurl. Nothing is written to stderr.
class CurlNet : public Net {
public:
    explicit CurlNet(NetTimeouts timeouts = {});

    NetResult ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                       const StatusCallback& status) override;
    TextResult httpGetText(const std::string& url, const StatusCallback& status) override;
    NetResult download(const std::string& url, const std::filesystem::path& target, FileKind kind,
                       const StatusCallback& status) override;

private:
    NetTimeouts timeouts_;
};

}  // namespace quendra::transfer
