#include "storage/dbase/mdx_create.h"

#include "storage/dbase/mdx_key.h"
#include "storage/dbase/mdx_tag_tree.h"
#include "storage/dbase/text_case.h"

#include <algorithm>
#include <array>

namespace quendra::storage::mdx {

namespace {

constexpr std::uint32_t kOurBlockBytes = std::uint32_t(kPagesPerBlock) * kPageBytes;

// A new file grows block by block in memory.
class MemorySink : public BlockSink {
public:
    explicit MemorySink(std::string& file) : file_(file) {}
    std::uint32_t allocate() override {
        const auto page = std::uint32_t(file_.size() / kPageBytes);
        file_.resize(file_.size() + kOurBlockBytes, '\0');
        return page;
    }
    void release(std::uint32_t) override {}  // a tree being built gives nothing back
    void write(std::uint32_t page, std::string_view block) override {
        file_.replace(std::size_t(page) * kPageBytes, block.size(), block);
    }

private:
    std::string& file_;
};

TagGeometry geometryOf(const MdxTagInfo& info) {
    TagGeometry g;
    g.blockBytes = kOurBlockBytes;
    g.keyLength = info.keyLength;
    g.itemLength = std::uint16_t((info.keyLength + 4 + 3) / 4 * 4);
    g.capacity = std::uint16_t((g.blockBytes - kNodeOverhead) / g.itemLength);
    return g;
}

std::string tagHeader(const MdxTagInfo& info, const TagGeometry& g) {
    std::string block(g.blockBytes, '\0');
    const std::uint8_t uniqueBit = info.unique ? kFormatUnique : 0;
    block[kKeyFormat] = char(kFormatField | uniqueBit);
    block[kKeyType] = info.keyType;
    putU16(block, kKeyLength, g.keyLength);
    putU16(block, kKeysPerNode, g.capacity);
    putU16(block, kSecondaryType, info.keyType == 'D' ? 1 : 0);
    putU16(block, kItemLength, g.itemLength);
    block[kUniqueFlag] = char(uniqueBit);
    block.replace(kExpression, info.expression.size(), info.expression);
    return block;
}

class Checker {
public:
    explicit Checker(const std::string& label) : label_(label) {}

    [[noreturn]] void fail(const std::string& why) const {
        throw DbError(DbError::Kind::BadValue, "Impossibile creare l'indice \"" + label_ + "\": " + why);
    }

    void tags(const std::vector<MdxTagInfo>& tags, std::size_t entryLists) const {
        if (tags.size() > kMaxTags) fail("al massimo " + std::to_string(kMaxTags) + " tag");
        if (entryLists != tags.size()) fail("chiavi mancanti per qualche tag");
        for (std::size_t i = 0; i < tags.size(); ++i) {
            const MdxTagInfo& tag = tags[i];
            if (!isValidTagName(tag.name)) fail("nome di tag non valido \"" + tag.name + "\"");
            for (std::size_t j = 0; j < i; ++j) {
                if (equalsIgnoreCaseAscii(tags[j].name, tag.name)) fail("il tag " + tag.name + " compare due volte");
            }
            if (!keyLengthFits(tag.keyType, tag.keyLength)) fail("il tag " + tag.name + " ha un tipo o una lunghezza di chiave non validi");
            if (tag.expression.empty() || tag.expression.size() >= kMaxExpression) {
                fail("il tag " + tag.name + " ha un'espressione non valida");
            }
        }
    }

    void entries(const MdxTagInfo& tag, const std::vector<MdxEntry>& list) const {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].key.size() != tag.keyLength || list[i].recno == 0) {
                fail("chiave o numero di record non valido nel tag " + tag.name);
            }
            if (i > 0) {
                const int c = compareKeys(tag.keyType, list[i - 1].key, list[i].key);
                if (c > 0 || (c == 0 && list[i - 1].recno >= list[i].recno)) {
                    fail("chiavi fuori ordine nel tag " + tag.name);
                }
            }
        }
    }

private:
    const std::string& label_;
};

// Entry numbers (from 1) of each tag's left child, right child and parent in the
// binary search tree by name that dBase readers follow.
std::vector<std::array<std::uint8_t, 3>> nameTree(const std::vector<MdxTagInfo>& tags) {
    std::vector<std::array<std::uint8_t, 3>> links(tags.size(), {0, 0, 0});
    for (std::size_t i = 1; i < tags.size(); ++i) {
        std::size_t at = 0;
        while (true) {
            const std::size_t side = tags[i].name < tags[at].name ? 0 : 1;
            if (links[at][side] == 0) {
                links[at][side] = std::uint8_t(i + 1);
                links[i][2] = std::uint8_t(at + 1);
                break;
            }
            at = links[at][side] - 1u;
        }
    }
    return links;
}

}  // namespace

std::string buildMdx(std::string_view tableName, const std::vector<MdxTagInfo>& givenTags,
                     const std::vector<std::vector<MdxEntry>>& entries, const std::string& label) {
    std::vector<MdxTagInfo> tags = givenTags;
    for (MdxTagInfo& tag : tags) tag.name = toUpperUtf8(tag.name);
    const Checker check(label);
    check.tags(tags, entries.size());
    for (std::size_t t = 0; t < tags.size(); ++t) check.entries(tags[t], entries[t]);

    std::string file(kHeaderPages * kPageBytes, '\0');
    MemorySink sink(file);
    std::vector<std::uint32_t> headerPages;
    for (std::size_t t = 0; t < tags.size(); ++t) headerPages.push_back(sink.allocate());
    for (std::size_t t = 0; t < tags.size(); ++t) {
        const TagGeometry g = geometryOf(tags[t]);
        const std::string header = tagHeader(tags[t], g);
        sink.write(headerPages[t], header);
        TagTree(tags[t], g, headerPages[t], header).fill(sink, entries[t]);
    }

    std::string head(kHeaderPages * kPageBytes, '\0');
    head[kVersion] = 2;
    putToday(head, kCreated);
    head.replace(kTableName, std::min(tableName.size(), kTableNameBytes), tableName.substr(0, kTableNameBytes));
    putU16(head, kBlockPages, kPagesPerBlock);
    putU16(head, kBlockBytes, std::uint16_t(kOurBlockBytes));
    head[kProduction] = 1;
    head[kTableEntries] = char(kTableEntryCount);
    head[kEntryLength] = char(kTagEntryBytes);
    putU16(head, kTagsInUse, std::uint16_t(tags.size()));
    putU32(head, kPagesInFile, std::uint32_t(file.size() / kPageBytes));
    putU32(head, kFirstFree, 0);
    putU32(head, kBlocksFree, 0);
    putToday(head, kUpdated);
    const auto links = nameTree(tags);
    for (std::size_t t = 0; t < tags.size(); ++t) {
        const std::size_t at = kTagTable + t * kTagEntryBytes;
        putU32(head, at + kEntryHeaderPage, headerPages[t]);
        head.replace(at + kEntryName, tags[t].name.size(), tags[t].name);
        head[at + kEntryKeyFormat] = char(kFormatField | (tags[t].unique ? kFormatUnique : 0));
        head[at + kEntryLeft] = char(links[t][0]);
        head[at + kEntryRight] = char(links[t][1]);
        head[at + kEntryParent] = char(links[t][2]);
        head[at + kEntryReserved] = 2;
        head[at + kEntryKeyType] = tags[t].keyType;
    }
    file.replace(0, head.size(), head);
    return file;
}

}  // namespace quendra::storage::mdx
