#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::storage {

enum class TokenKind {
    Word,       // a name or a keyword, as typed
    Text,       // "…" with "" for a quote inside; text holds the value
    Number,     // digits with an optional sign and fraction
    Parameter,  // :name; text holds the name
    Star,
    LeftParen,
    RightParen,
    Comma,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Concat,  // ||
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::size_t offset = 0;  // byte offset in the query text
    std::string text;
    double number = 0;
};

// The tokens of a query, ending with one End token. Throws DbError(BadQuery) with the
// position of the first character it cannot read.
std::vector<Token> tokenize(std::string_view sql);

}  // namespace quendra::storage
