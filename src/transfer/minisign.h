#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quendra::transfer {

// minisign's public keys and detached signatures (Ed25519), read and checked with
// libsodium.

using MinisignKeyId = std::array<unsigned char, 8>;

struct MinisignKey {
    MinisignKeyId id;
    std::array<unsigned char, 32> key;
};

struct MinisignSignature {
    bool prehashed = false;  // "ED": signs the file's BLAKE2b-512 hash; "Ed": the file itself
    MinisignKeyId keyId;
    std::array<unsigned char, 64> signature;
    std::string trustedComment;  // after "trusted comment: "
    std::array<unsigned char, 64> globalSignature;  // over signature + trusted comment
};

// The key as `minisign -P` takes it: its base64 line, alone or under the "untrusted
// comment:" line of a .pub file; nullopt for anything else.
std::optional<MinisignKey> parseMinisignKey(std::string_view text);

// A .minisig file: untrusted comment, signature, trusted comment, global signature;
// nullopt for anything else (a web page served in its place among them).
std::optional<MinisignSignature> parseMinisignSignature(std::string_view text);

// True when key made both the signature of the file's bytes and the global signature
// of the trusted comment. False also when the file cannot be read.
bool verifyMinisign(const MinisignKey& key, const MinisignSignature& signature, const std::filesystem::path& file);

// The value of a "key:value" field of the trusted comment, whose fields are separated by
// tabs (minisign's own "timestamp:…<tab>file:NAME") or blanks ("file:NAME version:4.78"
// given with -t); nullopt when the comment has no such field.
std::optional<std::string_view> trustedField(const MinisignSignature& signature, std::string_view key);

// True when the trusted comment names the file, so that a signed file cannot pass for
// another one of the same signer.
bool signatureNamesFile(const MinisignSignature& signature, std::string_view name);

}  // namespace quendra::transfer
