#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quendra::storage {

// The parsed form of a query. Offsets are byte offsets into the query text, kept for
// the messages of the later checks against the table.

struct FieldName {
    std::string name;  // as typed
    std::size_t offset = 0;
};

struct Operand {
    enum class Kind { Field, Upper, Text, Number, Parameter };
    Kind kind = Kind::Field;
    std::size_t offset = 0;
    std::string text;  // field name, text value or parameter name
    double number = 0;
    std::unique_ptr<Operand> inner;  // the argument of upper
};

// A like pattern is literal texts (where % and _ are wildcards) and parameters (taken
// as they are, so a typed % is just a character), joined by ||.
struct PatternPart {
    bool isParameter = false;
    std::string text;  // the literal, or the parameter's name
    std::size_t offset = 0;
};

enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

struct Condition {
    enum class Kind { And, Or, Not, Compare, Like };
    Kind kind = Kind::Compare;
    std::size_t offset = 0;
    std::vector<Condition> children;  // And, Or: two or more; Not: one
    CompareOp op = CompareOp::Equal;   // Compare
    Operand left;                      // Compare, Like
    Operand right;                     // Compare
    bool negated = false;              // Like: not like
    std::vector<PatternPart> pattern;  // Like
};

struct Statement {
    enum class Kind { Select, SelectSums, Delete };
    Kind kind = Kind::Select;
    std::string table;  // the path as written
    std::size_t tableOffset = 0;
    std::vector<FieldName> sums;  // SelectSums
    std::optional<Condition> where;
    std::vector<FieldName> orderBy;  // Select
};

}  // namespace quendra::storage
