#include "transfer/minisign.h"

#include "support/file_contents.h"
#include "support/signing_key.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace quendra::transfer {
namespace {

using test::readFile;
using test::writeFile;

// Signatures made by the minisign program, read and checked by ours.
class Minisign : public ::testing::Test {
protected:
    Minisign() { writeFile(file, std::string("programma\0\r\n", 12) + std::string(200'000, 'q')); }

    MinisignSignature signatureOf(const std::filesystem::path& signed_) const {
        const auto parsed = parseMinisignSignature(readFile(signed_.string() + ".minisig"));
        EXPECT_TRUE(parsed);
        return parsed.value_or(MinisignSignature{});
    }
    MinisignKey keyOf(const test::SigningKey& signer) const {
        const auto parsed = parseMinisignKey(signer.publicKey());
        EXPECT_TRUE(parsed);
        return parsed.value_or(MinisignKey{});
    }

    test::TempDir dir;
    std::filesystem::path file = dir / "quendra2015";
    test::SigningKey signer;
};

TEST_F(Minisign, BothFormsOfTheProgramsSignaturesHold) {
    for (const bool legacy : {false, true}) {
        signer.sign(file, legacy);
        const MinisignSignature signature = signatureOf(file);
        EXPECT_EQ(signature.prehashed, !legacy);
        EXPECT_TRUE(verifyMinisign(keyOf(signer), signature, file)) << "legacy " << legacy;
        EXPECT_TRUE(signatureNamesFile(signature, "quendra2015"));
    }
}

TEST_F(Minisign, AChangedByteAnotherKeyOrAnotherCommentFail) {
    for (const bool legacy : {false, true}) {
        signer.sign(file, legacy);
        const MinisignSignature signature = signatureOf(file);
        const MinisignKey key = keyOf(signer);

        std::string bytes = readFile(file);
        bytes[bytes.size() / 2] ^= 1;
        const auto tampered = writeFile(dir / "tampered", bytes);
        EXPECT_FALSE(verifyMinisign(key, signature, tampered));
        EXPECT_FALSE(verifyMinisign(key, signature, dir / "manca")) << "an unreadable file is no signed file";

        const test::SigningKey other;
        EXPECT_FALSE(verifyMinisign(keyOf(other), signature, file)) << "another key id";
        MinisignKey sameIdOtherKey = keyOf(other);
        sameIdOtherKey.id = key.id;
        EXPECT_FALSE(verifyMinisign(sameIdOtherKey, signature, file)) << "the id alone proves nothing";

        MinisignSignature renamed = signature;
        renamed.trustedComment = "timestamp:1\tfile:kr000000.dbf";
        EXPECT_FALSE(verifyMinisign(key, renamed, file)) << "the trusted comment is signed too";
    }
}

TEST_F(Minisign, KeysAreReadAloneOrAsTheirFile) {
    const std::string line = signer.publicKey();
    const MinisignKey key = keyOf(signer);
    for (const std::string& text : {signer.publicKeyFile(), line + "\r\n", "  " + line + "  "}) {
        const auto parsed = parseMinisignKey(text);
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(parsed->id, key.id);
        EXPECT_EQ(parsed->key, key.key);
    }
    const std::string signatureLine = [&] {
        signer.sign(file);
        const std::string text = readFile(dir / "quendra2015.minisig");
        const std::size_t start = text.find('\n') + 1;
        return text.substr(start, text.find('\n', start) - start);
    }();
    for (const std::string& bad : {std::string(), std::string("RWS"), line.substr(0, line.size() - 4), line + "AAAA",
                                   line + "\n" + line, std::string("untrusted comment: x\n"), signatureLine,
                                   std::string("<html><body>Accedi alla rete</body></html>")}) {
        EXPECT_FALSE(parseMinisignKey(bad)) << bad;
    }
}

TEST_F(Minisign, OnlyTheFourLinesOfASignatureFileAreASignature) {
    signer.sign(file);
    const std::string text = readFile(dir / "quendra2015.minisig");
    ASSERT_TRUE(parseMinisignSignature(text));
    std::string crlf;
    for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(parseMinisignSignature(crlf));

    const std::string portal = "<!DOCTYPE html>\n<html>\n<title>Wi-Fi ospiti</title>\n<body>Accedi</body>\n</html>\n";
    std::string withoutGlobal = text.substr(0, text.rfind('\n', text.size() - 2) + 1);
    std::string noTrustedPrefix = text;
    noTrustedPrefix.replace(noTrustedPrefix.find("\ntrusted comment: ") + 1, 8, "comment:");
    std::string unknownAlgorithm = text;
    unknownAlgorithm[unknownAlgorithm.find('\n') + 2] = 'X';  // "RU…" becomes "RX…": no longer "ED"
    for (const std::string& bad : {std::string(), portal, withoutGlobal, noTrustedPrefix, unknownAlgorithm}) {
        EXPECT_FALSE(parseMinisignSignature(bad)) << bad;
    }
}

TEST_F(Minisign, TheTrustedCommentMustNameTheFile) {
    signer.sign(file);
    MinisignSignature signature = signatureOf(file);
    EXPECT_TRUE(signatureNamesFile(signature, "quendra2015"));
    EXPECT_FALSE(signatureNamesFile(signature, "quendra2015.pdf"));
    EXPECT_FALSE(signatureNamesFile(signature, "quendra"));
    signature.trustedComment = "file:quendra2015";
    EXPECT_TRUE(signatureNamesFile(signature, "quendra2015"));
    signature.trustedComment = "versione 4.8";
    EXPECT_FALSE(signatureNamesFile(signature, "quendra2015"));

    const std::vector<std::pair<std::string, std::optional<std::string_view>>> versions = {
        {"file:quendra2015 version:4.78", "4.78"},
        {"timestamp:1\tfile:quendra2015\tversion:5\thashed", "5"},
        {"timestamp:1\tfile:quendra2015\thashed", std::nullopt},
        {"file:quendra2015 myversion:4.78 version:", std::nullopt},
    };
    for (const auto& [comment, version] : versions) {
        signature.trustedComment = comment;
        EXPECT_EQ(trustedField(signature, "version"), version) << comment;
        EXPECT_TRUE(signatureNamesFile(signature, "quendra2015")) << comment;
    }
}

}  // namespace
}  // namespace quendra::transfer
