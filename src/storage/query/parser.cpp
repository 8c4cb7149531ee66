#include "storage/query/parser.h"

#include "storage/query/error.h"
#include "storage/query/lexer.h"
#include "storage/dbase/text_case.h"

#include <array>

namespace quendra::storage {

namespace {

constexpr std::array<std::string_view, 12> kKeywords = {"select", "from", "where", "order", "by",  "and",
                                                        "or",     "not",  "like",  "sum",   "upper", "delete"};

// Deep enough for any condition a person or a report writes, shallow enough for the stack.
constexpr int kMaxDepth = 100;

bool isKeyword(const Token& t) {
    if (t.kind != TokenKind::Word) return false;
    for (const std::string_view k : kKeywords)
        if (equalsIgnoreCaseAscii(t.text, k)) return true;
    return false;
}

class Parser {
public:
    explicit Parser(std::string_view sql) : sql_(sql), tokens_(tokenize(sql)) {}

    Statement statement() {
        if (at(TokenKind::End)) fail("la query è vuota");
        Statement s;
        if (acceptKeyword("delete")) {
            s.kind = Statement::Kind::Delete;
            from(s);
            if (!acceptKeyword("where")) fail("atteso \"where\": delete richiede una condizione");
            s.where = condition();
        } else if (acceptKeyword("select")) {
            columns(s);
            from(s);
            if (acceptKeyword("where")) s.where = condition();
            if (acceptKeyword("order")) {
                if (s.kind == Statement::Kind::SelectSums) fail("\"order by\" non è ammesso con sum", previous());
                expectKeyword("by");
                s.orderBy.push_back(fieldName());
                while (accept(TokenKind::Comma)) s.orderBy.push_back(fieldName());
            }
        } else {
            fail("atteso \"select\" o \"delete\"");
        }
        if (!at(TokenKind::End)) fail("testo inatteso dopo la fine della query");
        return s;
    }

private:
    void columns(Statement& s) {
        if (accept(TokenKind::Star)) return;
        if (!atKeyword("sum")) fail("atteso \"*\" o \"sum(\"");
        s.kind = Statement::Kind::SelectSums;
        do {
            expectKeyword("sum");
            expect(TokenKind::LeftParen, "attesa una parentesi aperta");
            s.sums.push_back(fieldName());
            expect(TokenKind::RightParen, "attesa una parentesi chiusa");
        } while (accept(TokenKind::Comma));
    }

    void from(Statement& s) {
        expectKeyword("from");
        if (!at(TokenKind::Text)) fail("atteso il nome della tabella tra virgolette");
        s.tableOffset = current().offset;
        s.table = take().text;
    }

    Condition condition() {
        const DepthGuard guard(*this);
        Condition first = conjunction();
        if (!atKeyword("or")) return first;
        Condition any = group(Condition::Kind::Or, first.offset);
        any.children.push_back(std::move(first));
        while (acceptKeyword("or")) any.children.push_back(conjunction());
        return any;
    }

    Condition conjunction() {
        Condition first = negation();
        if (!atKeyword("and")) return first;
        Condition all = group(Condition::Kind::And, first.offset);
        all.children.push_back(std::move(first));
        while (acceptKeyword("and")) all.children.push_back(negation());
        return all;
    }

    Condition negation() {
        if (!atKeyword("not")) return primary();
        const DepthGuard guard(*this);
        Condition c = group(Condition::Kind::Not, take().offset);
        c.children.push_back(negation());
        return c;
    }

    static Condition group(Condition::Kind kind, std::size_t offset) {
        Condition c;
        c.kind = kind;
        c.offset = offset;
        return c;
    }

    Condition primary() {
        if (accept(TokenKind::LeftParen)) {
            Condition inner = condition();
            expect(TokenKind::RightParen, "attesa una parentesi chiusa");
            return inner;
        }
        Condition c;
        c.offset = current().offset;
        c.left = operand();
        if (atKeyword("not") || atKeyword("like")) {
            c.kind = Condition::Kind::Like;
            c.negated = acceptKeyword("not");
            expectKeyword("like");
            c.pattern.push_back(patternPart());
            while (accept(TokenKind::Concat)) c.pattern.push_back(patternPart());
            return c;
        }
        c.kind = Condition::Kind::Compare;
        c.op = compareOp();
        c.right = operand();
        return c;
    }

    CompareOp compareOp() {
        switch (current().kind) {
            case TokenKind::Equal: take(); return CompareOp::Equal;
            case TokenKind::NotEqual: take(); return CompareOp::NotEqual;
            case TokenKind::Less: take(); return CompareOp::Less;
            case TokenKind::LessEqual: take(); return CompareOp::LessEqual;
            case TokenKind::Greater: take(); return CompareOp::Greater;
            case TokenKind::GreaterEqual: take(); return CompareOp::GreaterEqual;
            default: fail("atteso un operatore di confronto o \"like\"");
        }
    }

    Operand operand() {
        Operand o;
        o.offset = current().offset;
        switch (current().kind) {
            case TokenKind::Text: o.kind = Operand::Kind::Text; o.text = take().text; return o;
            case TokenKind::Number: o.kind = Operand::Kind::Number; o.number = take().number; return o;
            case TokenKind::Parameter: o.kind = Operand::Kind::Parameter; o.text = take().text; return o;
            case TokenKind::Word: break;
            default: fail("atteso un campo, un testo, un numero o un parametro");
        }
        if (acceptKeyword("upper")) {
            const DepthGuard guard(*this);
            o.kind = Operand::Kind::Upper;
            expect(TokenKind::LeftParen, "attesa una parentesi aperta");
            o.inner = std::make_unique<Operand>(operand());
            expect(TokenKind::RightParen, "attesa una parentesi chiusa");
            return o;
        }
        if (isKeyword(current())) fail("atteso un campo, un testo, un numero o un parametro");
        o.kind = Operand::Kind::Field;
        o.text = take().text;
        return o;
    }

    PatternPart patternPart() {
        const Token& t = current();
        if (t.kind != TokenKind::Text && t.kind != TokenKind::Parameter)
            fail("atteso un testo tra virgolette o un parametro");
        PatternPart part{t.kind == TokenKind::Parameter, t.text, t.offset};
        take();
        return part;
    }

    FieldName fieldName() {
        if (current().kind != TokenKind::Word || isKeyword(current())) fail("atteso un nome di campo");
        const std::size_t offset = current().offset;
        return FieldName{take().text, offset};
    }

    // Bounds the recursion of nested parentheses, not and upper.
    struct DepthGuard {
        explicit DepthGuard(Parser& p) : parser(p) {
            if (++parser.depth_ > kMaxDepth) parser.fail("condizione troppo annidata");
        }
        ~DepthGuard() { --parser.depth_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
        Parser& parser;
    };

    const Token& current() const { return tokens_[pos_]; }
    const Token& previous() const { return tokens_[pos_ - 1]; }
    const Token& take() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
    bool at(TokenKind kind) const { return current().kind == kind; }
    bool atKeyword(std::string_view k) const {
        return current().kind == TokenKind::Word && equalsIgnoreCaseAscii(current().text, k);
    }
    bool accept(TokenKind kind) {
        if (!at(kind)) return false;
        take();
        return true;
    }
    bool acceptKeyword(std::string_view k) {
        if (!atKeyword(k)) return false;
        take();
        return true;
    }
    void expect(TokenKind kind, const char* message) {
        if (!accept(kind)) fail(message);
    }
    void expectKeyword(std::string_view k) {
        if (!acceptKeyword(k)) fail("atteso \"" + std::string(k) + "\"");
    }
    [[noreturn]] void fail(const std::string& message) { fail(message, current()); }
    [[noreturn]] void fail(const std::string& message, const Token& at) { throw queryError(sql_, at.offset, message); }

    std::string_view sql_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

Statement parseQuery(std::string_view sql) { return Parser(sql).statement(); }

}  // namespace quendra::storage
