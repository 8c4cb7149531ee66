#include "support/signing_key.h"

#include "support/file_contents.h"
#include "support/run_program.h"

#include <stdexcept>

namespace quendra::test {

namespace {

constexpr const char* kMinisign = "/usr/bin/minisign";

void run(const std::vector<std::string>& args) {
    const ProgramResult result = runProgram(kMinisign, args);
    if (result.exitCode != 0) throw std::runtime_error("minisign failed: " + result.err);
}

// Without a comment minisign writes its own trusted comment (timestamp and file name).
void signFile(const std::filesystem::path& secretKey, const std::filesystem::path& file, bool legacy,
              const std::string& comment) {
    std::vector<std::string> args{"-S", "-s", secretKey.string(), "-m", file.string()};
    if (!comment.empty()) args.insert(args.end(), {"-t", comment});
    if (legacy) args.push_back("-l");
    run(args);
}

}  // namespace

SigningKey::SigningKey() {
    run({"-G", "-W", "-f", "-p", (dir_ / "key.pub").string(), "-s", (dir_ / "key.sec").string()});
}

std::string SigningKey::publicKeyFile() const { return readFile(dir_ / "key.pub"); }

std::string SigningKey::publicKey() const {
    const std::string text = publicKeyFile();
    const std::size_t start = text.find('\n') + 1;
    return text.substr(start, text.find('\n', start) - start);
}

void SigningKey::sign(const std::filesystem::path& file, bool legacy) const {
    signFile(dir_ / "key.sec", file, legacy, "");
}

void SigningKey::signRelease(const std::filesystem::path& file, std::string_view version, bool legacy) const {
    signFile(dir_ / "key.sec", file, legacy, "file:" + file.filename().string() + " version:" + std::string(version));
}

}  // namespace quendra::test
