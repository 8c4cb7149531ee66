#pragma once

#include "storage/query/ast.h"
#include "storage/query/like.h"
#include "storage/query/operand.h"
#include "storage/query/tag_span.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace quendra::storage {

// A compiled where condition, tested on a record's bytes (flag byte first).
class Predicate {
public:
    virtual ~Predicate() = default;
    virtual bool test(std::string_view record) const = 0;
    // Positions of one tag that hold every row the condition can accept; nullopt when
    // no tag narrows it. The condition is still tested on each of those rows.
    virtual std::optional<TagSpan> narrow(const OpenTable& table) const;
};

using PredicatePtr = std::unique_ptr<Predicate>;

PredicatePtr constantPredicate(bool value);
PredicatePtr allOf(std::vector<PredicatePtr> parts);
PredicatePtr anyOf(std::vector<PredicatePtr> parts);
PredicatePtr negationOf(PredicatePtr inner);

// Character values compare as dBase does: the shorter one as if padded with blanks.
int compareBlankPadded(std::string_view a, std::string_view b);

template <class T>
PredicatePtr comparison(std::unique_ptr<ValueSource<T>> left, CompareOp op, std::unique_ptr<ValueSource<T>> right);

PredicatePtr likeTest(std::unique_ptr<CharSource> value, LikePattern pattern, bool negated);

// inner, whose accepted rows all have keys of interval.field inside interval.
PredicatePtr narrowedBy(PredicatePtr inner, KeyInterval interval);

}  // namespace quendra::storage
