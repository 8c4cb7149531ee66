#include "storage/dbase/error.h"
#include "storage/dbase/mdx_file.h"
#include "storage/dbase/mdx_key.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <numeric>
#include <random>
#include <set>

using namespace quendra::storage;
using quendra::test::TempDir;

namespace {

// ---- plain file helpers ------------------------------------------------------------

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

std::uint32_t u16(const std::string& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b.at(at))) | std::uint32_t(std::uint8_t(b.at(at + 1))) << 8;
}

std::uint32_t u32(const std::string& b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }

void put16(std::string& b, std::size_t at, std::uint32_t v) {
    b.at(at) = char(v & 0xFF);
    b.at(at + 1) = char((v >> 8) & 0xFF);
}

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

std::string cString(const std::string& b, std::size_t at, std::size_t max) {
    const std::string s = b.substr(at, max);
    return s.substr(0, s.find('\0'));
}

// ---- entries and their order -------------------------------------------------------

bool entryBefore(char type, const MdxEntry& a, const MdxEntry& b) {
    const int c = compareKeys(type, a.key, b.key);
    return c < 0 || (c == 0 && a.recno < b.recno);
}

void sortEntries(char type, std::vector<MdxEntry>& list) {
    std::sort(list.begin(), list.end(), [type](const MdxEntry& a, const MdxEntry& b) { return entryBefore(type, a, b); });
}

std::string charKey(const std::string& text, std::size_t width) {
    std::string key = text.substr(0, width);
    key.resize(width, ' ');
    return key;
}

std::string numberKey(long cents) {
    const long m = std::labs(cents);
    const std::string text = (cents < 0 ? "-" : "") + std::to_string(m / 100) + "." + std::to_string(m % 100 / 10) +
                             std::to_string(m % 10);
    return *encodeNumericKey(text);
}

std::string randomKey(char type, std::uint16_t width, std::uint32_t spread, std::mt19937& random) {
    switch (type) {
    case 'C': return charKey("K" + std::to_string(random() % spread), width);
    case 'N': return numberKey(long(random() % 2000000) - 1000000);
    default: return encodeDateKey(random() % 10 == 0 ? Date() : Date::fromJulianDay(2451545 + int(random() % 800)));
    }
}

// count entries with record numbers 1 … count, in order; C keys repeat about three times.
std::vector<MdxEntry> randomEntries(char type, std::uint16_t width, std::size_t count, std::mt19937& random) {
    std::vector<MdxEntry> list;
    for (std::uint32_t r = 1; r <= count; ++r) list.push_back({randomKey(type, width, std::uint32_t(count / 3 + 1), random), r});
    sortEntries(type, list);
    return list;
}

MdxTagInfo tagInfo(const std::string& name, char type, std::uint16_t width, const std::string& field) {
    return MdxTagInfo{name, field, type, width, false};
}

void expectSameEntries(const std::vector<MdxEntry>& actual, const std::vector<MdxEntry>& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i].key, expected[i].key) << what << " at " << i;
        ASSERT_EQ(actual[i].recno, expected[i].recno) << what << " at " << i;
    }
}

// ---- an independent reader, straight from the byte rules ---------------------------

struct RawTag {
    std::string name;
    char type = 0;
    std::string expression;
    std::uint32_t headerPage = 0;
    std::uint32_t rootPage = 0;
    std::vector<std::uint32_t> leafPages;
    std::vector<std::uint32_t> interiorPages;
    std::vector<MdxEntry> entries;
};

struct RawMdx {
    std::uint32_t blockBytes = 0;
    std::uint32_t pagesInFile = 0;
    std::vector<RawTag> tags;
    std::vector<std::array<std::uint8_t, 3>> links;  // left, right, parent
};

// Walks every tag from its root. Checks on the way: the 4 bytes after a leaf's last item
// are zero, all leaves lie at one depth, an interior key is its child's greatest key. For
// files we wrote also: every interior node has a key, and each node names the node
// before it on its level as its previous block.
RawMdx readIndependently(const std::string& file, bool ours = true) {
    RawMdx mdx;
    mdx.blockBytes = u16(file, 22);
    EXPECT_EQ(mdx.blockBytes, u16(file, 20) * 512);
    mdx.pagesInFile = u32(file, 32);
    const std::uint32_t tagCount = u16(file, 28);
    for (std::uint32_t t = 0; t < tagCount; ++t) {
        const std::size_t e = 544 + 32 * t;
        RawTag tag;
        tag.headerPage = u32(file, e);
        tag.name = cString(file, e + 4, 11);
        tag.type = file.at(e + 20);
        mdx.links.push_back({std::uint8_t(file.at(e + 16)), std::uint8_t(file.at(e + 17)), std::uint8_t(file.at(e + 18))});
        const std::size_t h = std::size_t(tag.headerPage) * 512;
        tag.rootPage = u32(file, h);
        const std::uint32_t keyLength = u16(file, h + 12);
        const std::uint32_t itemLength = u16(file, h + 18);
        EXPECT_EQ(file.at(h + 9), tag.type);
        EXPECT_GE(itemLength, keyLength + 4);
        tag.expression = cString(file, h + 24, 100);
        int leafDepth = -1;
        std::set<std::uint32_t> seen;
        std::map<int, std::uint32_t> lastOnLevel;
        const auto checkPrevious = [&](std::uint32_t page, int depth) {
            if (ours) {
                EXPECT_EQ(u32(file, std::size_t(page) * 512 + 4), lastOnLevel[depth]) << tag.name << ": page " << page;
            }
            lastOnLevel[depth] = page;
        };
        std::function<std::string(std::uint32_t, int)> walk = [&](std::uint32_t page, int depth) -> std::string {
            if (depth > 12 || !seen.insert(page).second || (page + 1ull) * 512 > file.size()) {
                ADD_FAILURE() << tag.name << ": bad page " << page;
                return {};
            }
            const std::size_t n0 = std::size_t(page) * 512;
            const std::uint32_t n = u32(file, n0);
            const auto item = [&](std::uint32_t i) { return n0 + 8 + std::size_t(i) * itemLength; };
            const std::uint32_t after = u32(file, item(n));
            checkPrevious(page, depth);
            if (after == 0) {
                if (leafDepth < 0) leafDepth = depth;
                EXPECT_EQ(depth, leafDepth) << tag.name << ": leaves at different depths";
                tag.leafPages.push_back(page);
                for (std::uint32_t i = 0; i < n; ++i) tag.entries.push_back({file.substr(item(i) + 4, keyLength), u32(file, item(i))});
                return n == 0 ? std::string() : file.substr(item(n - 1) + 4, keyLength);
            }
            tag.interiorPages.push_back(page);
            if (ours) {
                EXPECT_GE(n, 1u) << tag.name << ": interior node without keys";
            }
            for (std::uint32_t i = 0; i < n; ++i) {
                const std::string childLast = walk(u32(file, item(i)), depth + 1);
                EXPECT_EQ(childLast, file.substr(item(i) + 4, keyLength)) << tag.name << ": interior key of page " << page;
            }
            return walk(after, depth + 1);
        };
        walk(tag.rootPage, 0);
        for (std::size_t i = 1; i < tag.entries.size(); ++i) {
            EXPECT_TRUE(entryBefore(tag.type, tag.entries[i - 1], tag.entries[i])) << tag.name << " out of order at " << i;
        }
        mdx.tags.push_back(std::move(tag));
    }
    return mdx;
}

// The tag names in the order of the binary search tree's in-order walk.
std::vector<std::string> namesInTreeOrder(const RawMdx& mdx) {
    std::vector<std::string> names;
    std::function<void(std::uint8_t, int)> visit = [&](std::uint8_t entry, int depth) {
        if (entry == 0 || depth > 48) return;
        visit(mdx.links[entry - 1][0], depth + 1);
        names.push_back(mdx.tags[entry - 1].name);
        visit(mdx.links[entry - 1][1], depth + 1);
    };
    for (std::size_t i = 0; i < mdx.links.size(); ++i) {
        if (mdx.links[i][2] == 0) visit(std::uint8_t(i + 1), 0);
    }
    return names;
}

// ---- a writer of another legal layout ----------------------------------------------

struct HandTag {
    MdxTagInfo info;
    std::vector<MdxEntry> entries;
};

struct HandLayout {
    std::uint32_t blockPages = 1;
    std::size_t perLeaf = 5;
    std::size_t fan = 4;  // children per interior node
    std::size_t freeBlocks = 1;
    unsigned seed = 1;
};

// Tags stored in the given order, their blocks scattered over the file in random order,
// with unused blocks on a free list, no previous-block links, and small leaves.
std::string handBuild(const std::vector<HandTag>& tags, const HandLayout& layout) {
    const std::uint32_t blockBytes = layout.blockPages * 512;
    struct Node {
        std::vector<std::size_t> children;  // node indexes; empty for a leaf
        std::size_t first = 0, count = 0;   // leaf entries
    };
    std::vector<std::vector<Node>> nodesOf(tags.size());
    std::vector<std::size_t> rootOf(tags.size());
    std::size_t blocks = tags.size() + layout.freeBlocks;
    for (std::size_t t = 0; t < tags.size(); ++t) {
        std::vector<Node>& nodes = nodesOf[t];
        std::vector<std::size_t> level;
        const std::size_t n = tags[t].entries.size();
        for (std::size_t first = 0; first < n || level.empty(); first += layout.perLeaf) {
            nodes.push_back({{}, first, std::min(layout.perLeaf, n - first)});
            level.push_back(nodes.size() - 1);
        }
        while (level.size() > 1) {
            std::vector<std::size_t> upper;
            for (std::size_t i = 0; i < level.size(); i += layout.fan) {
                std::vector<std::size_t> children(level.begin() + std::ptrdiff_t(i),
                                                  level.begin() + std::ptrdiff_t(std::min(level.size(), i + layout.fan)));
                if (children.size() == 1) {
                    nodes[upper.back()].children.push_back(children[0]);
                } else {
                    nodes.push_back({children, 0, 0});
                    upper.push_back(nodes.size() - 1);
                }
            }
            level = upper;
        }
        rootOf[t] = level[0];
        blocks += nodes.size();
    }
    std::vector<std::uint32_t> pages(blocks);
    for (std::size_t i = 0; i < blocks; ++i) pages[i] = std::uint32_t(4 + i * layout.blockPages);
    std::mt19937 random(layout.seed);
    std::shuffle(pages.begin(), pages.end(), random);
    std::size_t nextPage = 0;

    std::string file((4 + blocks * layout.blockPages) * 512, '\0');
    file[0] = 2;
    put16(file, 20, layout.blockPages);
    put16(file, 22, blockBytes);
    file[24] = 1;
    file[25] = 48;
    file[26] = 32;
    put16(file, 28, std::uint32_t(tags.size()));
    put32(file, 32, std::uint32_t(file.size() / 512));
    for (std::size_t t = 0; t < tags.size(); ++t) {
        const MdxTagInfo& info = tags[t].info;
        const std::uint32_t itemLength = (info.keyLength + 4 + 3) / 4 * 4;
        const std::uint32_t headerPage = pages[nextPage++];
        std::vector<std::uint32_t> pageOf(nodesOf[t].size());
        for (auto& p : pageOf) p = pages[nextPage++];
        // The greatest key under each node, for the separators.
        std::function<std::string(std::size_t)> lastKey = [&](std::size_t i) {
            const Node& node = nodesOf[t][i];
            if (!node.children.empty()) return lastKey(node.children.back());
            return node.count == 0 ? std::string() : tags[t].entries[node.first + node.count - 1].key;
        };
        for (std::size_t i = 0; i < nodesOf[t].size(); ++i) {
            const Node& node = nodesOf[t][i];
            const std::size_t at = std::size_t(pageOf[i]) * 512;
            const auto item = [&](std::size_t k) { return at + 8 + k * itemLength; };
            if (node.children.empty()) {
                put32(file, at, std::uint32_t(node.count));
                for (std::size_t k = 0; k < node.count; ++k) {
                    const MdxEntry& e = tags[t].entries[node.first + k];
                    put32(file, item(k), e.recno);
                    file.replace(item(k) + 4, e.key.size(), e.key);
                }
            } else {
                const std::size_t n = node.children.size() - 1;
                put32(file, at, std::uint32_t(n));
                for (std::size_t k = 0; k <= n; ++k) {
                    put32(file, item(k), pageOf[node.children[k]]);
                    if (k < n) file.replace(item(k) + 4, info.keyLength, lastKey(node.children[k]));
                }
            }
        }
        const std::size_t h = std::size_t(headerPage) * 512;
        put32(file, h, pageOf[rootOf[t]]);
        file[h + 8] = 0x10;
        file[h + 9] = info.keyType;
        put16(file, h + 12, info.keyLength);
        put16(file, h + 14, (blockBytes - 12) / itemLength);
        put16(file, h + 16, info.keyType == 'D' ? 1 : 0);
        put16(file, h + 18, itemLength);
        file.replace(h + 24, info.expression.size(), info.expression);
        const std::size_t e = 544 + 32 * t;
        put32(file, e, headerPage);
        file.replace(e + 4, info.name.size(), info.name);
        file[e + 15] = 0x10;
        file[e + 19] = 2;
        file[e + 20] = info.keyType;
    }
    // Links of the name tree, entries inserted in table order.
    for (std::size_t t = 1; t < tags.size(); ++t) {
        std::size_t at = 0;
        while (true) {
            const std::size_t side = tags[t].info.name < tags[at].info.name ? 16 : 17;
            const std::size_t link = 544 + 32 * at + side;
            if (file[link] == 0) {
                file[link] = char(t + 1);
                file[544 + 32 * t + 18] = char(at + 1);
                break;
            }
            at = std::size_t(std::uint8_t(file[link])) - 1;
        }
    }
    if (layout.freeBlocks > 0) {
        put32(file, 36, pages[nextPage]);
        put32(file, 40, std::uint32_t(layout.freeBlocks));
        for (std::size_t i = 0; i < layout.freeBlocks; ++i) {
            const std::uint32_t next = i + 1 < layout.freeBlocks ? pages[nextPage + 1] : 0;
            put32(file, std::size_t(pages[nextPage++]) * 512, next);
        }
    }
    return file;
}

// ---- a model of one tag ------------------------------------------------------------

struct Model {
    char type;
    std::vector<MdxEntry> entries;

    std::size_t positionOf(const MdxEntry& e) const {
        return std::size_t(std::partition_point(entries.begin(), entries.end(),
                                                [&](const MdxEntry& x) { return entryBefore(type, x, e); }) -
                           entries.begin());
    }

    // The same edit on the file's tag and on the model.
    void insert(MdxFile& mdx, std::size_t tag, const MdxEntry& e) {
        const std::size_t pos = positionOf(e);
        mdx.insert(tag, pos, e.key, e.recno);
        entries.insert(entries.begin() + std::ptrdiff_t(pos), e);
    }
    void erase(MdxFile& mdx, std::size_t tag, std::size_t pos) {
        mdx.erase(tag, pos);
        entries.erase(entries.begin() + std::ptrdiff_t(pos));
    }
};

DbError::Kind openKind(const std::filesystem::path& path) {
    try {
        MdxFile::open(path)->entries(0);
    } catch (const DbError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "opened a damaged file";
    return DbError::Kind::Io;
}

ino_t inodeOf(const std::filesystem::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
}

class MdxFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path path = dir / "KR202401.MDX";
    std::mt19937 random{12345};

    std::vector<MdxTagInfo> journalTags() const {
        return {tagInfo("NUMMER", 'N', 12, "NUMMER"), tagInfo("COD", 'C', 6, "COD"), tagInfo("DATUM", 'D', 8, "DATUM"),
                tagInfo("CODD", 'C', 6, "CODD")};
    }
};

}  // namespace

// ---- create and open ----------------------------------------------------------------

TEST_F(MdxFileTest, CreatedFileReopensWithTheSameTagsAndEntries) {
    const auto tags = journalTags();
    std::vector<std::vector<MdxEntry>> entries;
    for (const auto& tag : tags) entries.push_back(randomEntries(tag.keyType, tag.keyLength, 4000, random));
    const auto created = MdxFile::create(path, "KR202401", tags, entries);
    ASSERT_EQ(created->tagCount(), tags.size());

    const auto mdx = MdxFile::open(path);
    ASSERT_EQ(mdx->tagCount(), tags.size());
    for (std::size_t t = 0; t < tags.size(); ++t) {
        EXPECT_EQ(mdx->tag(t).name, tags[t].name);
        EXPECT_EQ(mdx->tag(t).expression, tags[t].expression);
        EXPECT_EQ(mdx->tag(t).keyType, tags[t].keyType);
        EXPECT_EQ(mdx->tag(t).keyLength, tags[t].keyLength);
        EXPECT_EQ(mdx->entryCount(t), entries[t].size());
        expectSameEntries(mdx->entries(t), entries[t], tags[t].name);
    }
}

TEST_F(MdxFileTest, IndependentReaderFindsWhatCreateWrote) {
    const std::vector<MdxTagInfo> tags = {tagInfo("NUMMER", 'N', 12, "NUMMER"), tagInfo("COD", 'C', 6, "COD"),
                                          tagInfo("DATUM", 'D', 8, "DATUM"), tagInfo("ART", 'C', 30, "ART"),
                                          tagInfo("BETRAG", 'N', 12, "BETRAG")};
    std::vector<std::vector<MdxEntry>> entries;
    for (const auto& tag : tags) entries.push_back(randomEntries(tag.keyType, tag.keyLength, 3000, random));
    entries[3].clear();  // an empty tag
    MdxFile::create(path, "KR202401", tags, entries);

    const std::string file = readBytes(path);
    EXPECT_EQ(file[0], 2);
    EXPECT_EQ(cString(file, 4, 16), "KR202401");
    EXPECT_EQ(u16(file, 20), 2u);
    EXPECT_EQ(u16(file, 22), 1024u);
    EXPECT_EQ(file[24], 1);
    EXPECT_EQ(std::uint8_t(file[25]), 48);
    EXPECT_EQ(std::uint8_t(file[26]), 32);
    EXPECT_EQ(u32(file, 32) * 512, file.size());
    EXPECT_EQ(u32(file, 36), 0u);
    const RawMdx raw = readIndependently(file);
    ASSERT_EQ(raw.tags.size(), tags.size());
    for (std::size_t t = 0; t < tags.size(); ++t) {
        const std::size_t e = 544 + 32 * t;
        EXPECT_EQ(std::uint8_t(file[e + 15]), 0x10);
        EXPECT_EQ(file[e + 19], 2);
        const std::size_t h = std::size_t(raw.tags[t].headerPage) * 512;
        EXPECT_EQ(std::uint8_t(file[h + 8]), 0x10);
        EXPECT_EQ(u16(file, h + 14), (1024 - 12) / u16(file, h + 18));
        EXPECT_EQ(u16(file, h + 16), tags[t].keyType == 'D' ? 1u : 0u);
        EXPECT_EQ(raw.tags[t].name, tags[t].name);
        EXPECT_EQ(raw.tags[t].expression, tags[t].expression);
        expectSameEntries(raw.tags[t].entries, entries[t], tags[t].name);
    }
    EXPECT_GT(raw.tags[0].interiorPages.size(), 0u) << "3000 keys need an interior level";
    EXPECT_EQ(raw.tags[3].leafPages.size(), 1u);
    std::vector<std::string> names;
    for (const auto& tag : tags) names.push_back(tag.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(namesInTreeOrder(raw), names);
}

TEST_F(MdxFileTest, CreateRefusesWhatItCannotStore) {
    const std::vector<std::vector<MdxEntry>> one(1);
    const auto refused = [&](const MdxTagInfo& tag, std::vector<MdxEntry> list = {}) {
        try {
            MdxFile::create(path, "T", {tag}, {list});
        } catch (const DbError& e) {
            return e.kind() == DbError::Kind::BadValue;
        }
        return false;
    };
    EXPECT_TRUE(refused(tagInfo("NOMETROPPOLUNGO", 'C', 6, "COD")));
    EXPECT_TRUE(refused(tagInfo("", 'C', 6, "COD")));
    EXPECT_TRUE(refused(tagInfo("COD", 'C', 0, "COD")));
    EXPECT_TRUE(refused(tagInfo("COD", 'C', 101, "COD")));
    EXPECT_TRUE(refused(tagInfo("NUM", 'N', 8, "NUM")));
    EXPECT_TRUE(refused(tagInfo("LOG", 'L', 1, "LOG")));
    EXPECT_TRUE(refused(tagInfo("COD", 'C', 3, "COD"), {{"BBB", 1}, {"AAA", 2}}));
    EXPECT_TRUE(refused(tagInfo("COD", 'C', 3, "COD"), {{"AAA", 2}, {"AAA", 1}}));
    EXPECT_TRUE(refused(tagInfo("COD", 'C', 3, "COD"), {{"AAAA", 1}}));
    EXPECT_TRUE(refused(tagInfo("COD", 'C', 3, "COD"), {{"AAA", 0}}));
    EXPECT_FALSE(std::filesystem::exists(path));
    std::vector<MdxTagInfo> many;
    for (int i = 0; i < 48; ++i) many.push_back(tagInfo("T" + std::to_string(i), 'C', 1, "F"));
    EXPECT_THROW(MdxFile::create(path, "T", many, std::vector<std::vector<MdxEntry>>(48)), DbError);
    many.pop_back();
    EXPECT_NO_THROW(MdxFile::create(path, "T", many, std::vector<std::vector<MdxEntry>>(47)));
}

TEST_F(MdxFileTest, MissingFileIsReportedAsMissing) {
    try {
        MdxFile::open(dir / "NONE.MDX");
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::IndexMissing);
        EXPECT_NE(std::string(e.what()).find("NONE.MDX"), std::string::npos);
    }
}

// ---- files of other programs --------------------------------------------------------

TEST_F(MdxFileTest, AnotherLegalLayoutOpensAndCanBeMaintained) {
    std::vector<HandTag> tags = {{tagInfo("DATUM", 'D', 8, "DATUM"), {}},
                                 {tagInfo("NUMMER", 'N', 12, "NUMMER"), {}},
                                 {tagInfo("COD", 'C', 6, "COD"), {}},
                                 {tagInfo("VUOTO", 'C', 10, "VUOTO"), {}}};
    for (std::size_t t = 0; t < 3; ++t) tags[t].entries = randomEntries(tags[t].info.keyType, tags[t].info.keyLength, 300, random);
    HandLayout layout;
    layout.blockPages = 1;
    layout.freeBlocks = 3;
    writeBytes(path, handBuild(tags, layout));
    ASSERT_GE(readIndependently(readBytes(path), false).tags[0].interiorPages.size(), 5u) << "want a deep tree";

    std::vector<Model> models;
    {
        const auto mdx = MdxFile::open(path);
        ASSERT_EQ(mdx->tagCount(), tags.size());
        for (std::size_t t = 0; t < tags.size(); ++t) {
            EXPECT_EQ(mdx->tag(t).name, tags[t].info.name);
            expectSameEntries(mdx->entries(t), tags[t].entries, tags[t].info.name);
            models.push_back({tags[t].info.keyType, tags[t].entries});
        }
        for (int i = 0; i < 400; ++i) {
            const std::size_t t = random() % tags.size();
            Model& m = models[t];
            if (m.entries.empty() || random() % 3 != 0) {
                m.insert(*mdx, t, {randomKey(m.type, tags[t].info.keyLength, 500, random), std::uint32_t(1000 + i)});
            } else {
                m.erase(*mdx, t, random() % m.entries.size());
            }
        }
    }
    const auto mdx = MdxFile::open(path);
    const RawMdx raw = readIndependently(readBytes(path));
    for (std::size_t t = 0; t < tags.size(); ++t) {
        expectSameEntries(mdx->entries(t), models[t].entries, tags[t].info.name);
        expectSameEntries(raw.tags[t].entries, models[t].entries, tags[t].info.name + " (independent)");
    }
}

TEST_F(MdxFileTest, LargerBlocksAndADifferentFillOpen) {
    std::vector<HandTag> tags = {{tagInfo("COD", 'C', 6, "COD"), randomEntries('C', 6, 2000, random)}};
    HandLayout layout;
    layout.blockPages = 4;
    layout.perLeaf = 120;
    layout.fan = 20;
    layout.freeBlocks = 0;
    writeBytes(path, handBuild(tags, layout));
    expectSameEntries(MdxFile::open(path)->entries(0), tags[0].entries, "COD");
}

// ---- maintenance in place ----------------------------------------------------------

TEST_F(MdxFileTest, RandomInsertsAndErasesMatchAModelAcrossReopens) {
    // Wide keys keep only nine in a node, so splits, drops and new levels come quickly.
    const std::vector<MdxTagInfo> tags = {tagInfo("WIDE", 'C', 100, "WIDE"), tagInfo("NUM", 'N', 12, "NUM"),
                                          tagInfo("DAY", 'D', 8, "DAY")};
    std::vector<Model> models;
    std::vector<std::vector<MdxEntry>> initial;
    for (const auto& tag : tags) {
        initial.push_back(randomEntries(tag.keyType, tag.keyLength, 60, random));
        models.push_back({tag.keyType, initial.back()});
    }
    auto mdx = MdxFile::create(path, "T", tags, initial);
    std::uint32_t nextRecno = 100;
    for (int round = 0; round < 12; ++round) {
        // Some rounds mostly grow, some mostly shrink down to empty tags.
        const int insertPercent = round % 4 == 2 ? 20 : 65;
        for (int i = 0; i < 400; ++i) {
            const std::size_t t = random() % tags.size();
            Model& m = models[t];
            if (m.entries.empty() || int(random() % 100) < insertPercent) {
                MdxEntry e{randomKey(m.type, tags[t].keyLength, 300, random), nextRecno++};
                if (random() % 4 == 0 && !m.entries.empty()) e.key = m.entries[random() % m.entries.size()].key;
                m.insert(*mdx, t, e);
            } else {
                m.erase(*mdx, t, random() % m.entries.size());
            }
        }
        for (std::size_t t = 0; t < tags.size(); ++t) expectSameEntries(mdx->entries(t), models[t].entries, "in memory");
        mdx = MdxFile::open(path);
        const std::string file = readBytes(path);
        const RawMdx raw = readIndependently(file);
        EXPECT_EQ(raw.pagesInFile * 512ull, file.size());
        for (std::size_t t = 0; t < tags.size(); ++t) {
            expectSameEntries(mdx->entries(t), models[t].entries, tags[t].name + " reopened");
            expectSameEntries(raw.tags[t].entries, models[t].entries, tags[t].name + " independent");
        }
        if (HasFatalFailure()) return;
    }
}

TEST_F(MdxFileTest, ErasingEverythingLeavesOneEmptyLeafAndRefills) {
    const std::vector<MdxTagInfo> tags = {tagInfo("COD", 'C', 40, "COD")};
    std::vector<MdxEntry> list = randomEntries('C', 40, 500, random);
    auto mdx = MdxFile::create(path, "T", tags, {list});
    while (mdx->entryCount(0) > 0) mdx->erase(0, random() % mdx->entryCount(0));
    EXPECT_EQ(MdxFile::open(path)->entryCount(0), 0u);
    RawMdx raw = readIndependently(readBytes(path));
    EXPECT_EQ(raw.tags[0].leafPages.size(), 1u);
    EXPECT_TRUE(raw.tags[0].interiorPages.empty());
    const auto sizeWhenEmpty = std::filesystem::file_size(path);
    for (std::size_t i = 0; i < list.size(); ++i) mdx->insert(0, i, list[i].key, list[i].recno);
    // Blocks given back while erasing are used again before the file grows.
    EXPECT_EQ(std::filesystem::file_size(path), sizeWhenEmpty);
    expectSameEntries(MdxFile::open(path)->entries(0), list, "refilled");
}

TEST_F(MdxFileTest, AppendingInKeyOrderKeepsLeavesNearlyFull) {
    const std::vector<MdxTagInfo> tags = {tagInfo("NUMMER", 'N', 12, "NUMMER")};
    auto mdx = MdxFile::create(path, "T", tags, {{}});
    const ino_t inode = inodeOf(path);
    std::vector<MdxEntry> expected;
    for (std::uint32_t r = 1; r <= 3000; ++r) {
        const std::string key = numberKey(long(r) * 100);
        mdx->insert(0, r - 1, key, r);
        expected.push_back({key, r});
    }
    EXPECT_EQ(inodeOf(path), inode) << "maintenance must not replace the file";
    const RawMdx raw = readIndependently(readBytes(path));
    expectSameEntries(raw.tags[0].entries, expected, "appended");
    // 63 keys fit in a node; appends split at nine tenths, so about 56 per leaf.
    EXPECT_LE(raw.tags[0].leafPages.size(), 3000u / 50);
}

TEST_F(MdxFileTest, AnInsertWritesOnlyAFewBlocks) {
    const std::vector<MdxTagInfo> tags = {tagInfo("COD", 'C', 6, "COD")};
    std::vector<MdxEntry> list;
    for (std::uint32_t i = 0; i < 20000; ++i) list.push_back({charKey(std::to_string(100000 + 2 * i), 6), i + 1});
    auto mdx = MdxFile::create(path, "T", tags, {list});
    const std::string before = readBytes(path);
    mdx->insert(0, 11, charKey(std::to_string(100000 + 2 * 10 + 1), 6), 20001);  // inside the first leaf
    const std::string after = readBytes(path);
    ASSERT_EQ(after.size(), before.size());
    std::size_t changedBlocks = 0;
    for (std::size_t at = 2048; at < after.size(); at += 1024) {
        if (after.compare(at, 1024, before, at, 1024) != 0) ++changedBlocks;
    }
    EXPECT_EQ(changedBlocks, 1u);  // the leaf; its greatest key stays the same
}

TEST_F(MdxFileTest, AKeyOutOfPlaceIsRefusedAndChangesNothing) {
    const std::vector<MdxTagInfo> tags = {tagInfo("COD", 'C', 3, "COD")};
    auto mdx = MdxFile::create(path, "T", tags, {{{"AAA", 1}, {"BBB", 2}, {"CCC", 3}}});
    const std::string before = readBytes(path);
    const auto kindOf = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const DbError& e) {
            return e.kind();
        }
        return DbError::Kind::Io;
    };
    EXPECT_EQ(kindOf([&] { mdx->insert(0, 0, "BBB", 9); }), DbError::Kind::BadValue);
    EXPECT_EQ(kindOf([&] { mdx->insert(0, 2, "BBB", 1); }), DbError::Kind::BadValue);  // equal key, smaller recno
    EXPECT_EQ(kindOf([&] { mdx->insert(0, 4, "DDD", 9); }), DbError::Kind::BadValue);
    EXPECT_EQ(kindOf([&] { mdx->insert(0, 1, "AB", 9); }), DbError::Kind::BadValue);
    EXPECT_EQ(kindOf([&] { mdx->erase(0, 3); }), DbError::Kind::BadValue);
    EXPECT_EQ(kindOf([&] { mdx->entries(1); }), DbError::Kind::BadValue);
    EXPECT_EQ(readBytes(path), before);
    mdx->insert(0, 2, "BBB", 7);
    expectSameEntries(mdx->entries(0), {{"AAA", 1}, {"BBB", 2}, {"BBB", 7}, {"CCC", 3}}, "after");
}

// ---- damaged files -----------------------------------------------------------------

class MdxDamageTest : public MdxFileTest {
protected:
    std::string good;
    RawMdx raw;

    void SetUp() override {
        const std::vector<MdxTagInfo> tags = {tagInfo("COD", 'C', 6, "COD"), tagInfo("NUM", 'N', 12, "NUM")};
        MdxFile::create(path, "T", tags, {randomEntries('C', 6, 300, random), randomEntries('N', 12, 300, random)});
        good = readBytes(path);
        raw = readIndependently(good);
        ASSERT_FALSE(raw.tags[0].interiorPages.empty());
    }

    DbError::Kind kindOf(const std::string& bytes) {
        writeBytes(path, bytes);
        return openKind(path);
    }

    std::size_t at(std::uint32_t page) const { return std::size_t(page) * 512; }
};

TEST_F(MdxDamageTest, TruncatedFilesAreDamaged) {
    for (std::size_t size : {std::size_t(0), std::size_t(100), std::size_t(2047), std::size_t(3000), good.size() - 1}) {
        EXPECT_EQ(kindOf(good.substr(0, size)), DbError::Kind::IndexDamaged) << size;
    }
}

TEST_F(MdxDamageTest, PagesOutsideTheFileAreDamaged) {
    std::string bad = good;
    put32(bad, at(raw.tags[0].headerPage), 100000);  // root
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, 544, 2);  // tag header inside the file header
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, at(raw.tags[0].rootPage) + 8, 0);  // child 0
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, 32, u32(good, 32) + 2);  // header claims more pages than there are
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
}

TEST_F(MdxDamageTest, LoopsAndSharedPagesAreDamaged) {
    std::string bad = good;
    const std::uint32_t root = raw.tags[0].rootPage;
    put32(bad, at(root) + 8, root);  // the root's first child is the root
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, at(raw.tags[1].headerPage), raw.tags[0].leafPages[0]);  // two tags share a leaf
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, 544 + 32, raw.tags[0].headerPage);  // two tags share a header
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
}

TEST_F(MdxDamageTest, NodesWithTooManyKeysAreDamaged) {
    std::string bad = good;
    put32(bad, at(raw.tags[0].leafPages[0]), 85);  // 84 fit
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, at(raw.tags[0].rootPage), 0xFFFFFFFF);
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
}

TEST_F(MdxDamageTest, KeysOutOfOrderAreDamaged) {
    const std::uint32_t leaf = raw.tags[0].leafPages[1];
    std::string bad = good;
    const std::size_t first = at(leaf) + 8, second = first + 12;
    std::swap_ranges(bad.begin() + std::ptrdiff_t(first), bad.begin() + std::ptrdiff_t(first + 12),
                     bad.begin() + std::ptrdiff_t(second));
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    bad.replace(at(leaf) + 8 + 4, 6, "ZZZZZZ");  // beyond the separator of its parent
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    bad.replace(at(raw.tags[0].rootPage) + 8 + 4, 6, "A     ");  // a separator below its child's keys
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put32(bad, at(leaf) + 8, 0);  // record number 0
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
}

TEST_F(MdxDamageTest, BadTagsAreDamaged) {
    std::string bad = good;
    bad.replace(544 + 32 + 4, 3, "COD");  // a second tag named COD
    bad[544 + 32 + 7] = '\0';
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    bad[544 + 20] = 'X';
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put16(bad, at(raw.tags[1].headerPage) + 12, 8);  // an N key of 8 bytes
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    bad[at(raw.tags[0].headerPage) + 8] = 0x18;  // descending
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put16(bad, 28, 48);
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
    bad = good;
    put16(bad, 22, 1000);  // block bytes not a whole number of pages
    EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged);
}

TEST_F(MdxDamageTest, GarbageIsDamagedAndNamesTheFile) {
    std::mt19937 noise(99);
    for (int round = 0; round < 20; ++round) {
        std::string bad = round % 2 == 0 ? std::string(good.size(), '\0') : good;
        for (std::size_t i = round % 2 == 0 ? 0 : 2048; i < bad.size(); ++i) bad[i] = char(noise());
        EXPECT_EQ(kindOf(bad), DbError::Kind::IndexDamaged) << round;
    }
    writeBytes(path, std::string(5000, '\xff'));
    try {
        MdxFile::open(path);
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Indice \"KR202401.MDX\" danneggiato: ", 0), 0u) << e.what();
    }
}
