#include "transfer/minisign.h"

#include "transfer/blank_trim.h"

#include <sodium.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace quendra::transfer {

namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment:";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";
constexpr std::string_view kLegacyAlgorithm = "Ed";
constexpr std::string_view kPrehashedAlgorithm = "ED";

bool sodiumReady() { return sodium_init() >= 0; }

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

// The bytes of a base64 text (with padding) that decodes to exactly size bytes.
std::optional<std::vector<unsigned char>> decoded(std::string_view base64, std::size_t size) {
    std::vector<unsigned char> bytes(size);
    std::size_t length = 0;
    if (base64.empty() || sodium_base642bin(bytes.data(), bytes.size(), base64.data(), base64.size(), nullptr, &length,
                                            nullptr, sodium_base64_VARIANT_ORIGINAL) != 0 ||
        length != size) {
        return std::nullopt;
    }
    return bytes;
}

template <std::size_t N>
std::array<unsigned char, N> slice(const std::vector<unsigned char>& bytes, std::size_t from) {
    std::array<unsigned char, N> out;
    std::copy_n(bytes.begin() + std::ptrdiff_t(from), N, out.begin());
    return out;
}

std::string_view algorithmOf(const std::vector<unsigned char>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), 2};
}

bool verified(const std::array<unsigned char, 64>& signature, const unsigned char* message, std::size_t size,
              const MinisignKey& key) {
    return crypto_sign_verify_detached(signature.data(), message, size, key.key.data()) == 0;
}

std::optional<std::array<unsigned char, crypto_generichash_BYTES_MAX>> fileHash(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    crypto_generichash_state state;
    std::array<unsigned char, crypto_generichash_BYTES_MAX> hash;
    crypto_generichash_init(&state, nullptr, 0, hash.size());
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(buffer.data()),
                                  std::size_t(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    crypto_generichash_final(&state, hash.data(), hash.size());
    return hash;
}

bool fileSignatureHolds(const MinisignKey& key, const MinisignSignature& signature, const std::filesystem::path& file) {
    if (signature.prehashed) {
        const auto hash = fileHash(file);
        return hash && verified(signature.signature, hash->data(), hash->size(), key);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    return verified(signature.signature, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), key);
}

}  // namespace

std::optional<MinisignKey> parseMinisignKey(std::string_view text) {
    if (!sodiumReady()) return std::nullopt;
    std::vector<std::string_view> lines = linesOf(text);
    std::erase_if(lines, [](std::string_view line) { return trimBlanks(line).empty(); });
    if (lines.size() == 2 && lines.front().starts_with(kUntrustedPrefix)) lines.erase(lines.begin());
    if (lines.size() != 1) return std::nullopt;
    const auto bytes = decoded(trimBlanks(lines.front()), 2 + 8 + 32);
    if (!bytes || algorithmOf(*bytes) != kLegacyAlgorithm) return std::nullopt;
    return MinisignKey{slice<8>(*bytes, 2), slice<32>(*bytes, 10)};
}

std::optional<MinisignSignature> parseMinisignSignature(std::string_view text) {
    if (!sodiumReady()) return std::nullopt;
    const std::vector<std::string_view> lines = linesOf(text);
    if (lines.size() < 4 || !lines[0].starts_with(kUntrustedPrefix) || !lines[2].starts_with(kTrustedPrefix)) {
        return std::nullopt;
    }
    const auto signature = decoded(lines[1], 2 + 8 + 64);
    const auto global = decoded(lines[3], 64);
    if (!signature || !global) return std::nullopt;
    const std::string_view algorithm = algorithmOf(*signature);
    if (algorithm != kLegacyAlgorithm && algorithm != kPrehashedAlgorithm) return std::nullopt;
    return MinisignSignature{algorithm == kPrehashedAlgorithm, slice<8>(*signature, 2), slice<64>(*signature, 10),
                             std::string(lines[2].substr(kTrustedPrefix.size())), slice<64>(*global, 0)};
}

bool verifyMinisign(const MinisignKey& key, const MinisignSignature& signature, const std::filesystem::path& file) {
    if (!sodiumReady() || signature.keyId != key.id) return false;
    std::vector<unsigned char> signedComment(signature.signature.begin(), signature.signature.end());
    signedComment.insert(signedComment.end(), signature.trustedComment.begin(), signature.trustedComment.end());
    return verified(signature.globalSignature, signedComment.data(), signedComment.size(), key) &&
           fileSignatureHolds(key, signature, file);
}

std::optional<std::string_view> trustedField(const MinisignSignature& signature, std::string_view key) {
    std::string_view comment = signature.trustedComment;
    while (!comment.empty()) {
        const std::size_t end = comment.find_first_of("\t ");
        const std::string_view field = comment.substr(0, end);
        if (field.size() > key.size() + 1 && field.starts_with(key) && field[key.size()] == ':') {
            return field.substr(key.size() + 1);
        }
        comment = end == std::string_view::npos ? std::string_view() : comment.substr(end + 1);
    }
    return std::nullopt;
}

bool signatureNamesFile(const MinisignSignature& signature, std::string_view name) {
    return trustedField(signature, "file") == name;
}

}  // namespace quendra::transfer
