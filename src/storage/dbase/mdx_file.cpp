#include "storage/dbase/mdx_file.h"

#include "storage/dbase/error.h"
#include "storage/dbase/file_handle.h"
#include "storage/dbase/index_seals.h"
#include "storage/dbase/mdx_create.h"
#include "storage/dbase/mdx_parse.h"

namespace quendra::storage {

// The open file is the sink of every tree: blocks go straight to it, new blocks come
// from pages given back during this session or from the end of the file. Pages given
// back stay unreferenced on disk (the header's free list is left empty) until reused.
struct MdxFile::Impl : mdx::BlockSink {
    std::filesystem::path path;
    std::string label;
    FileHandle file;
    std::string headerPage;
    std::uint32_t pagesInFile = 0;
    std::uint16_t pagesPerBlock = 0;
    std::uint64_t digest = 0;  // of the bytes read
    std::vector<std::uint32_t> spare;
    bool dateTouched = false;
    std::vector<mdx::TagTree> tags;

    std::uint32_t allocate() override {
        if (!spare.empty()) {
            const std::uint32_t page = spare.back();
            spare.pop_back();
            return page;
        }
        const std::uint32_t page = pagesInFile;
        pagesInFile += pagesPerBlock;
        mdx::putU32(headerPage, mdx::kPagesInFile, pagesInFile);
        writeHeader();
        return page;
    }

    void release(std::uint32_t page) override { spare.push_back(page); }

    void write(std::uint32_t page, std::string_view block) override {
        if (!dateTouched) writeHeader();
        file.writeAt(std::uint64_t(page) * mdx::kPageBytes, block);
    }

    void writeHeader() {
        mdx::putToday(headerPage, mdx::kUpdated);
        file.writeAt(0, headerPage);
        dateTouched = true;
    }

    mdx::TagTree& tree(std::size_t t) {
        if (t >= tags.size()) misuse("tag inesistente");
        return tags[t];
    }

    [[noreturn]] void misuse(const std::string& why) const {
        throw DbError(DbError::Kind::BadValue, "Modifica non valida dell'indice \"" + label + "\": " + why);
    }
};

MdxFile::MdxFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MdxFile::~MdxFile() = default;

std::unique_ptr<MdxFile> MdxFile::open(const std::filesystem::path& path) {
    const std::string label = fileLabel(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw DbError(DbError::Kind::IndexMissing, "L'indice \"" + label + "\" non esiste");
    }
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->label = label;
    impl->file = FileHandle(path, FileHandle::Lock::Shared);
    const std::string bytes = impl->file.readAll();
    impl->digest = digestOf(bytes);
    mdx::ParsedMdx parsed = mdx::parseMdx(bytes, label);
    impl->headerPage = std::move(parsed.headerPage);
    impl->pagesInFile = parsed.pagesInFile;
    impl->pagesPerBlock = parsed.pagesPerBlock;
    impl->tags = std::move(parsed.tags);
    return std::unique_ptr<MdxFile>(new MdxFile(std::move(impl)));
}

std::unique_ptr<MdxFile> MdxFile::create(const std::filesystem::path& path, std::string_view tableName,
                                         const std::vector<MdxTagInfo>& tags,
                                         const std::vector<std::vector<MdxEntry>>& entries) {
    writeFileAtomically(path, mdx::buildMdx(tableName, tags, entries, fileLabel(path)));
    return open(path);
}

const std::filesystem::path& MdxFile::path() const { return impl_->path; }
std::size_t MdxFile::tagCount() const { return impl_->tags.size(); }
const MdxTagInfo& MdxFile::tag(std::size_t index) const { return impl_->tree(index).info(); }
std::size_t MdxFile::entryCount(std::size_t tag) const { return impl_->tree(tag).size(); }
std::vector<MdxEntry> MdxFile::entries(std::size_t tag) const { return impl_->tree(tag).entries(); }

void MdxFile::insert(std::size_t tag, std::size_t position, std::string_view key, std::uint32_t recno) {
    mdx::TagTree& tree = impl_->tree(tag);
    const MdxTagInfo& info = tree.info();
    if (position > tree.size()) impl_->misuse("posizione fuori dal tag " + info.name);
    if (key.size() != info.keyLength || recno == 0) {
        impl_->misuse("chiave o numero di record non valido per il tag " + info.name);
    }
    // A key out of place would leave a file that no reader (ours included) accepts.
    if (!tree.insert(*impl_, position, key, recno)) impl_->misuse("chiave fuori ordine nel tag " + info.name);
}

void MdxFile::erase(std::size_t tag, std::size_t position) {
    mdx::TagTree& tree = impl_->tree(tag);
    if (position >= tree.size()) impl_->misuse("posizione fuori dal tag " + tree.info().name);
    tree.erase(*impl_, position);
}

void MdxFile::letGo() { impl_->file = FileHandle(); }

bool MdxFile::takeBack() {
    impl_->file = FileHandle(impl_->path, FileHandle::Lock::Shared);
    return digestOf(impl_->file.readAll()) == impl_->digest;
}

std::uint64_t MdxFile::digest() const { return impl_->digest; }

}  // namespace quendra::storage
