#include "storage/query/lexer.h"

#include "storage/query/error.h"

#include <charconv>

namespace quendra::storage {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWordStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isWordChar(char c) { return isWordStart(c) || isDigit(c); }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class Lexer {
public:
    explicit Lexer(std::string_view sql) : sql_(sql) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        for (;;) {
            while (pos_ < sql_.size() && isSpace(sql_[pos_])) ++pos_;
            if (pos_ >= sql_.size()) break;
            tokens.push_back(next());
        }
        tokens.push_back(Token{TokenKind::End, sql_.size(), {}, 0});
        return tokens;
    }

private:
    Token next() {
        const std::size_t start = pos_;
        const char c = sql_[pos_];
        if (isWordStart(c)) return word(start);
        if (isDigit(c) || (c == '-' && pos_ + 1 < sql_.size() && isDigit(sql_[pos_ + 1]))) return number(start);
        switch (c) {
            case '"': return text(start);
            case ':': return parameter(start);
            case '*': return symbol(TokenKind::Star, 1);
            case '(': return symbol(TokenKind::LeftParen, 1);
            case ')': return symbol(TokenKind::RightParen, 1);
            case ',': return symbol(TokenKind::Comma, 1);
            case '=': return symbol(TokenKind::Equal, 1);
            case '<':
                if (peek(1) == '>') return symbol(TokenKind::NotEqual, 2);
                if (peek(1) == '=') return symbol(TokenKind::LessEqual, 2);
                return symbol(TokenKind::Less, 1);
            case '>':
                if (peek(1) == '=') return symbol(TokenKind::GreaterEqual, 2);
                return symbol(TokenKind::Greater, 1);
            case '|':
                if (peek(1) == '|') return symbol(TokenKind::Concat, 2);
                break;
            default: break;
        }
        const bool printable = c > ' ' && c < 0x7F;
        throw queryError(sql_, start, printable ? "carattere non ammesso \"" + std::string(1, c) + "\""
                                                : std::string("carattere non ammesso"));
    }

    char peek(std::size_t ahead) const { return pos_ + ahead < sql_.size() ? sql_[pos_ + ahead] : '\0'; }

    Token symbol(TokenKind kind, std::size_t length) {
        Token t{kind, pos_, std::string(sql_.substr(pos_, length)), 0};
        pos_ += length;
        return t;
    }

    Token word(std::size_t start) {
        while (pos_ < sql_.size() && isWordChar(sql_[pos_])) ++pos_;
        return Token{TokenKind::Word, start, std::string(sql_.substr(start, pos_ - start)), 0};
    }

    Token number(std::size_t start) {
        if (sql_[pos_] == '-') ++pos_;
        while (pos_ < sql_.size() && isDigit(sql_[pos_])) ++pos_;
        if (pos_ + 1 < sql_.size() && sql_[pos_] == '.' && isDigit(sql_[pos_ + 1])) {
            ++pos_;
            while (pos_ < sql_.size() && isDigit(sql_[pos_])) ++pos_;
        }
        if (pos_ < sql_.size() && (isWordChar(sql_[pos_]) || sql_[pos_] == '.' || sql_[pos_] == ','))
            throw queryError(sql_, start, "numero non valido");
        const std::string_view digits = sql_.substr(start, pos_ - start);
        Token t{TokenKind::Number, start, std::string(digits), 0};
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), t.number);
        if (ec != std::errc() || end != digits.data() + digits.size())
            throw queryError(sql_, start, "numero non valido");
        return t;
    }

    Token text(std::size_t start) {
        std::string value;
        ++pos_;
        for (;;) {
            if (pos_ >= sql_.size()) throw queryError(sql_, start, "testo tra virgolette non chiuso");
            const char c = sql_[pos_++];
            if (c != '"') {
                value += c;
                continue;
            }
            if (pos_ < sql_.size() && sql_[pos_] == '"') {
                value += '"';
                ++pos_;
                continue;
            }
            return Token{TokenKind::Text, start, std::move(value), 0};
        }
    }

    Token parameter(std::size_t start) {
        ++pos_;
        const std::size_t nameStart = pos_;
        while (pos_ < sql_.size() && isWordChar(sql_[pos_])) ++pos_;
        if (pos_ == nameStart) throw queryError(sql_, start, "atteso il nome del parametro dopo \":\"");
        return Token{TokenKind::Parameter, start, std::string(sql_.substr(nameStart, pos_ - nameStart)), 0};
    }

    std::string_view sql_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<Token> tokenize(std::string_view sql) { return Lexer(sql).run(); }

}  // namespace quendra::storage
