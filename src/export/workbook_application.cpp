#include "export/workbook_application.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <memory>
#include <string>
#include <vector>

namespace quendra::spreadsheet {

namespace {

constexpr const char* kApplicationPart = "docProps/app.xml";

struct UnzipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};
struct ZipCloser {
    void operator()(void* zip) const { zipClose(zip, nullptr); }
};

// The current entry's bytes as stored (compressed) or, with raw false, unpacked.
bool readEntry(unzFile in, bool raw, std::string& bytes, int& method, int& level) {
    if (unzOpenCurrentFile2(in, &method, &level, raw ? 1 : 0) != UNZ_OK) return false;
    bytes.clear();
    std::vector<char> buffer(1 << 16);
    int got = 0;
    while ((got = unzReadCurrentFile(in, buffer.data(), unsigned(buffer.size()))) > 0) bytes.append(buffer.data(), std::size_t(got));
    return unzCloseCurrentFile(in) == UNZ_OK && got == 0;
}

bool copyEntry(unzFile in, zipFile out, const std::string& name, const unz_file_info64& info,
               std::string_view application) {
    zip_fileinfo stamp{};
    stamp.dosDate = info.dosDate;
    stamp.internal_fa = info.internal_fa;
    stamp.external_fa = info.external_fa;
    std::string bytes;
    int method = 0;
    int level = 0;
    if (name == kApplicationPart) {
        if (!readEntry(in, false, bytes, method, level)) return false;
        const std::string from = "<Application>Microsoft Excel</Application>";
        if (const std::size_t at = bytes.find(from); at != std::string::npos) {
            bytes.replace(at, from.size(), "<Application>" + std::string(application) + "</Application>");
        }
        return zipOpenNewFileInZip64(out, name.c_str(), &stamp, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                     Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
               zipWriteInFileInZip(out, bytes.data(), unsigned(bytes.size())) == ZIP_OK &&
               zipCloseFileInZip(out) == ZIP_OK;
    }
    if (!readEntry(in, true, bytes, method, level)) return false;
    return zipOpenNewFileInZip2_64(out, name.c_str(), &stamp, nullptr, 0, nullptr, 0, nullptr, method, level, 1, 0) ==
               ZIP_OK &&
           zipWriteInFileInZip(out, bytes.data(), unsigned(bytes.size())) == ZIP_OK &&
           zipCloseFileInZipRaw64(out, info.uncompressed_size, info.crc) == ZIP_OK;
}

}  // namespace

bool copyNamingApplication(const std::filesystem::path& from, const std::filesystem::path& to,
                           std::string_view application) {
    const std::unique_ptr<void, UnzipCloser> in(unzOpen64(from.c_str()));
    if (!in) return false;
    std::unique_ptr<void, ZipCloser> out(zipOpen64(to.c_str(), APPEND_STATUS_CREATE));
    if (!out) return false;
    int at = unzGoToFirstFile(in.get());
    for (; at == UNZ_OK; at = unzGoToNextFile(in.get())) {
        unz_file_info64 info{};
        char name[512];
        if (unzGetCurrentFileInfo64(in.get(), &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
        if (!copyEntry(in.get(), out.get(), name, info, application)) return false;
    }
    return at == UNZ_END_OF_LIST_OF_FILE && zipClose(out.release(), nullptr) == ZIP_OK;
}

}  // namespace quendra::spreadsheet
