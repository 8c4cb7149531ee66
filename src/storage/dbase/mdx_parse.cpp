#include "storage/dbase/mdx_parse.h"

#include "storage/dbase/mdx_key.h"
#include "storage/dbase/text_case.h"

#include <algorithm>

namespace quendra::storage::mdx {

namespace {

constexpr std::uint16_t kMaxPagesPerBlock = 32;

class Parser {
public:
    Parser(std::string_view bytes, const std::string& label) : bytes_(bytes), label_(label) {}

    ParsedMdx run() {
        if (bytes_.size() < kHeaderPages * kPageBytes) fail("file troppo corto");
        ParsedMdx out;
        out.headerPage = std::string(bytes_.substr(0, kPageBytes));
        out.pagesPerBlock = getU16(bytes_, kBlockPages);
        pagesPerBlock_ = out.pagesPerBlock;
        if (pagesPerBlock_ == 0 || pagesPerBlock_ > kMaxPagesPerBlock ||
            getU16(bytes_, kBlockBytes) != std::uint32_t(pagesPerBlock_) * kPageBytes) {
            fail("dimensione dei blocchi non valida");
        }
        if (std::uint8_t(bytes_[kEntryLength]) != kTagEntryBytes) fail("tabella dei tag non valida");
        out.pagesInFile = getU32(bytes_, kPagesInFile);
        if (out.pagesInFile < kHeaderPages || std::uint64_t(out.pagesInFile) * kPageBytes > bytes_.size()) {
            fail("file troncato");
        }
        claimed_.assign(out.pagesInFile, false);
        std::fill(claimed_.begin(), claimed_.begin() + kHeaderPages, true);
        const std::size_t tags = getU16(bytes_, kTagsInUse);
        if (tags > kMaxTags) fail("troppi tag");
        for (std::size_t t = 0; t < tags; ++t) out.tags.push_back(readTag(t, tags));
        return out;
    }

private:
    [[noreturn]] void fail(const std::string& why) const { throw damaged(label_, why); }

    // The block at page, which no other block may overlap.
    std::string_view claim(std::uint32_t page) {
        const std::uint64_t end = std::uint64_t(page) + pagesPerBlock_;
        if (page < kHeaderPages || end > claimed_.size()) fail("pagina fuori dal file");
        for (std::uint64_t p = page; p < end; ++p) {
            if (claimed_[p]) fail("pagina " + std::to_string(page) + " raggiunta due volte");
            claimed_[p] = true;
        }
        return bytes_.substr(std::size_t(page) * kPageBytes, std::size_t(pagesPerBlock_) * kPageBytes);
    }

    TagTree readTag(std::size_t t, std::size_t tagCount) {
        const std::string_view entry = bytes_.substr(kTagTable + t * kTagEntryBytes, kTagEntryBytes);
        MdxTagInfo info;
        const std::string_view rawName = entry.substr(kEntryName, kEntryNameBytes);
        info.name = std::string(rawName.substr(0, rawName.find('\0')));
        if (!isValidTagName(info.name)) fail("nome di tag non valido");
        for (const std::string& seen : names_) {
            if (equalsIgnoreCaseAscii(seen, info.name)) fail("il tag " + info.name + " compare due volte");
        }
        names_.push_back(info.name);
        const std::string where = "il tag " + info.name + " ";
        info.keyType = entry[kEntryKeyType];
        if (info.keyType != 'C' && info.keyType != 'N' && info.keyType != 'D') fail(where + "ha un tipo di chiave ignoto");
        for (std::size_t link : {kEntryLeft, kEntryRight, kEntryParent}) {
            if (std::uint8_t(entry[link]) > tagCount) fail("tabella dei tag non valida");
        }

        const std::uint32_t headerPage = getU32(entry, kEntryHeaderPage);
        const std::string_view header = claim(headerPage);
        const std::uint8_t format = std::uint8_t(header[kKeyFormat]);
        if (format & kFormatDescending) fail(where + "è in ordine discendente, che non è gestito");
        if (header[kKeyType] != info.keyType) fail(where + "ha due tipi di chiave diversi");
        info.keyLength = getU16(header, kKeyLength);
        TagGeometry geometry;
        geometry.blockBytes = std::uint32_t(pagesPerBlock_) * kPageBytes;
        geometry.keyLength = info.keyLength;
        geometry.itemLength = getU16(header, kItemLength);
        const std::size_t physical =
            geometry.itemLength > info.keyLength + 3u ? (geometry.blockBytes - kNodeOverhead) / geometry.itemLength : 0;
        info.keysPerNode = getU16(header, kKeysPerNode);
        info.nodeRoom = std::uint16_t(std::min<std::size_t>(physical, UINT16_MAX));
        geometry.capacity = std::uint16_t(std::min<std::size_t>(physical, info.keysPerNode));
        if (!keyLengthFits(info.keyType, info.keyLength) || geometry.capacity < 2) fail(where + "ha una lunghezza di chiave non valida");
        const std::string_view expression = header.substr(kExpression, kMaxExpression);
        info.expression = std::string(expression.substr(0, expression.find('\0')));
        while (!info.expression.empty() && info.expression.back() == ' ') info.expression.pop_back();
        if (info.expression.empty()) fail(where + "non ha un'espressione");
        info.unique = (format & kFormatUnique) != 0 || header[kUniqueFlag] != 0;

        TagTree tree(info, geometry, headerPage, std::string(header));
        walk(tree, getU32(header, kRootPage), physical, where);
        return tree;
    }

    struct Pending {
        std::uint32_t page;
        std::size_t depth;
        std::string_view low;   // keys below must not be smaller; empty: no bound
        std::string_view high;  // nor greater
    };

    void walk(TagTree& tree, std::uint32_t root, std::size_t maxKeys, const std::string& where) {
        const MdxTagInfo& info = tree.info();
        const TagGeometry& g = tree.geometry();
        std::vector<std::vector<std::pair<std::uint32_t, std::string_view>>> interiorByDepth;
        std::vector<std::pair<std::uint32_t, std::string_view>> emptyLeaves;
        std::size_t leaves = 0;
        std::string_view previousKey;
        std::uint32_t previousRecno = 0;
        std::vector<Pending> stack{{root, 0, {}, {}}};
        while (!stack.empty()) {
            const Pending node = stack.back();
            stack.pop_back();
            const std::string_view block = claim(node.page);
            const std::uint32_t n = getU32(block, kNodeCount);
            if (n > maxKeys) fail(where + "ha un nodo con troppe chiavi");
            const auto itemAt = [&](std::size_t i) { return block.substr(kNodeItems + i * g.itemLength, g.itemLength); };
            const auto keyOf = [&](std::string_view item) { return item.substr(4, g.keyLength); };
            const std::uint32_t lastPointer = getU32(block, kNodeItems + std::size_t(n) * g.itemLength);
            if (lastPointer == 0) {
                for (std::size_t i = 0; i < n; ++i) {
                    const std::string_view key = keyOf(itemAt(i));
                    const std::uint32_t recno = getU32(itemAt(i), 0);
                    if (recno == 0) fail(where + "ha un numero di record non valido");
                    if ((!node.low.empty() && compareKeys(info.keyType, key, node.low) < 0) ||
                        (!node.high.empty() && compareKeys(info.keyType, key, node.high) > 0)) {
                        fail(where + "ha una chiave fuori dal suo ramo");
                    }
                    if (!previousKey.empty()) {
                        const int c = compareKeys(info.keyType, previousKey, key);
                        if (c > 0 || (c == 0 && previousRecno >= recno)) fail(where + "ha le chiavi fuori ordine");
                    }
                    previousKey = key;
                    previousRecno = recno;
                }
                if (n == 0) {
                    emptyLeaves.emplace_back(node.page, block);
                } else {
                    tree.addLeaf(node.page, std::string(block));
                    ++leaves;
                }
                continue;
            }
            if (interiorByDepth.size() <= node.depth) interiorByDepth.resize(node.depth + 1);
            interiorByDepth[node.depth].emplace_back(node.page, block);
            // Children go on the stack right to left so that they come off in key order.
            stack.push_back({lastPointer, node.depth + 1, n == 0 ? node.low : keyOf(itemAt(n - 1)), node.high});
            for (std::size_t i = n; i-- > 0;) {
                stack.push_back({getU32(itemAt(i), 0), node.depth + 1, i == 0 ? node.low : keyOf(itemAt(i - 1)),
                                 keyOf(itemAt(i))});
            }
        }
        std::size_t firstSpare = 0;
        if (leaves == 0) {  // an empty tag keeps one empty leaf
            tree.addLeaf(emptyLeaves.front().first, std::string(emptyLeaves.front().second));
            firstSpare = 1;
        }
        for (const auto& level : interiorByDepth) {
            for (const auto& [page, block] : level) tree.addReusablePage(page, std::string(block));
        }
        for (std::size_t i = firstSpare; i < emptyLeaves.size(); ++i) {
            tree.addReusablePage(emptyLeaves[i].first, std::string(emptyLeaves[i].second));
        }
    }

    std::string_view bytes_;
    const std::string& label_;
    std::uint16_t pagesPerBlock_ = 0;
    std::vector<bool> claimed_;
    std::vector<std::string> names_;
};

}  // namespace

ParsedMdx parseMdx(std::string_view bytes, const std::string& label) { return Parser(bytes, label).run(); }

}  // namespace quendra::storage::mdx
