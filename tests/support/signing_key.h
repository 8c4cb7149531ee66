#pragma once

#include "support/temp_dir.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quendra::test {

// A minisign key pair made for one test by the minisign program, without a password.
class SigningKey {
public:
    SigningKey();

    // The public key's base64 line, as [Server] UpdateKey holds it.
    std::string publicKey() const;
    // The public key file as minisign writes it (comment line and key line).
    std::string publicKeyFile() const;
    // Signs file into file.minisig: prehashed, minisign's default, or in the legacy form
    // that signs the bytes themselves.
    void sign(const std::filesystem::path& file, bool legacy = false) const;
    // Signs file as a release of version is signed: the trusted comment names the file and
    // the version ("file:NAME version:4.8").
    void signRelease(const std::filesystem::path& file, std::string_view version, bool legacy = false) const;

private:
    TempDir dir_;
};

}  // namespace quendra::test
