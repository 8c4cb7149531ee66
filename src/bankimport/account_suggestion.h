#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quendra::bankimport {

// The words of a text that tell movements apart: runs of letters and digits with at
// least one letter, three characters or more, in capitals, small linking words left out.
std::vector<std::string> significantWords(std::string_view text);

// Learns which account goes with which words from the journal rows of one bank, and
// suggests for a new text the account used most often with the texts that share the
// most words with it (ties: the smaller code).
class AccountSuggestion {
public:
    void learn(std::string_view text, std::string_view cod);
    // Empty when no learned text shares a word with it.
    std::string suggest(std::string_view text);

private:
    // Rows with the same words are one group, so a journal of many alike movements stays small.
    struct Group {
        std::map<std::string, int> codes;
    };
    std::vector<std::uint32_t> wordIds(std::string_view text, bool add);

    std::unordered_map<std::string, std::uint32_t> words_;
    std::vector<std::vector<std::uint32_t>> groupsOfWord_;
    std::map<std::vector<std::uint32_t>, std::uint32_t> groupOfWords_;
    std::vector<Group> groups_;
    std::map<std::vector<std::uint32_t>, std::string> answered_;
    std::vector<std::uint32_t> shared_;
};

}  // namespace quendra::bankimport
