#pragma once

#include "transfer/net.h"

#include <cstdint>

namespace quendra::transfer {

// The bounds of every network wait, in seconds, and of a download's size.
struct NetLimits {
    long connect = 15;
    long stall = 30;       // less than one byte a second for this long ends a transfer
    long text = 60;        // a whole GET of a small text
    long file = 1800;      // a whole upload or download of one file
    std::uintmax_t fileBytes = std::uintmax_t(512) << 20;  // a download larger than this is refused
};

// Net over libcurl. Nothing is written to stderr.
class CurlNet : public Net {
public:
    explicit CurlNet(NetLimits limits = {});

    NetResult ftpStore(const FtpServer& server, const std::vector<FtpUpload>& files,
                       const StatusCallback& status) override;
    TextResult httpGetText(const WebFile& source, const StatusCallback& status) override;
    NetResult download(const WebFile& source, const std::filesystem::path& target, FileKind kind,
                       const DownloadCheck& check, const StatusCallback& status) override;

private:
    NetLimits limits_;
};

}  // namespace quendra::transfer
