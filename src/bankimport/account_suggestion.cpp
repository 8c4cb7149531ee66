#include "bankimport/account_suggestion.h"

#include <algorithm>
#include <array>

namespace quendra::bankimport {

namespace {

constexpr std::size_t kShortestWord = 3;
constexpr std::array<std::string_view, 16> kLinkingWords = {"PER", "DEL",  "DELLA", "DELLE", "DEGLI", "DEI",
                                                            "DAL", "DALLA", "CON",  "SUL",   "NEL",   "NELLA",
                                                            "UNA", "UNO",  "AGLI", "ALLA"};

bool isWordByte(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80; }

}  // namespace

std::vector<std::string> significantWords(std::string_view text) {
    std::vector<std::string> out;
    std::string word;
    bool hasLetter = false;
    auto close = [&] {
        if (hasLetter && word.size() >= kShortestWord &&
            std::find(kLinkingWords.begin(), kLinkingWords.end(), word) == kLinkingWords.end()) {
            out.push_back(word);
        }
        word.clear();
        hasLetter = false;
    };
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (!isWordByte(c)) {
            close();
            continue;
        }
        if (c >= 'a' && c <= 'z') word.push_back(char(c - 'a' + 'A'));
        else word.push_back(ch);
        if (c > '9') hasLetter = true;
    }
    close();
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::vector<std::uint32_t> AccountSuggestion::wordIds(std::string_view text, bool add) {
    std::vector<std::uint32_t> ids;
    for (std::string& word : significantWords(text)) {
        auto found = words_.find(word);
        if (found == words_.end()) {
            if (!add) continue;
            found = words_.emplace(std::move(word), std::uint32_t(words_.size())).first;
            groupsOfWord_.emplace_back();
        }
        ids.push_back(found->second);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

void AccountSuggestion::learn(std::string_view text, std::string_view cod) {
    std::vector<std::uint32_t> ids = wordIds(text, true);
    if (ids.empty()) return;
    auto [slot, isNew] = groupOfWords_.emplace(ids, std::uint32_t(groups_.size()));
    if (isNew) {
        groups_.emplace_back();
        for (std::uint32_t id : ids) groupsOfWord_[id].push_back(slot->second);
    }
    ++groups_[slot->second].codes[std::string(cod)];
    answered_.clear();
}

std::string AccountSuggestion::suggest(std::string_view text) {
    const std::vector<std::uint32_t> ids = wordIds(text, false);
    if (ids.empty()) return {};
    if (const auto known = answered_.find(ids); known != answered_.end()) return known->second;
    shared_.resize(groups_.size(), 0);
    std::vector<std::uint32_t> touched;
    std::uint32_t most = 0;
    for (std::uint32_t id : ids) {
        for (std::uint32_t group : groupsOfWord_[id]) {
            if (shared_[group]++ == 0) touched.push_back(group);
            most = std::max(most, shared_[group]);
        }
    }
    std::map<std::string, int> uses;
    for (std::uint32_t group : touched) {
        if (shared_[group] == most) {
            for (const auto& [code, count] : groups_[group].codes) uses[code] += count;
        }
        shared_[group] = 0;
    }
    std::string best;
    int bestUses = 0;
    for (const auto& [code, count] : uses) {
        if (count > bestUses) {
            best = code;
            bestUses = count;
        }
    }
    answered_.emplace(ids, best);
    return best;
}

}  // namespace quendra::bankimport
