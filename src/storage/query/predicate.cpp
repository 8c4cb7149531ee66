#include "storage/query/predicate.h"

#include <algorithm>
#include <cstring>

namespace quendra::storage {

std::optional<TagSpan> Predicate::narrow(const OpenTable&) const { return std::nullopt; }

namespace {

class Constant final : public Predicate {
public:
    explicit Constant(bool value) : value_(value) {}
    bool test(std::string_view) const override { return value_; }

private:
    bool value_;
};

class AllOf final : public Predicate {
public:
    explicit AllOf(std::vector<PredicatePtr> parts) : parts_(std::move(parts)) {}
    bool test(std::string_view record) const override {
        for (const auto& p : parts_)
            if (!p->test(record)) return false;
        return true;
    }
    // Spans on one tag narrow each other; of the tags, the one leaving fewest rows wins.
    std::optional<TagSpan> narrow(const OpenTable& table) const override {
        std::vector<TagSpan> perTag;
        for (const auto& p : parts_) {
            auto span = p->narrow(table);
            if (!span) continue;
            auto same = std::find_if(perTag.begin(), perTag.end(), [&](const TagSpan& s) { return s.tag == span->tag; });
            if (same == perTag.end())
                perTag.push_back(std::move(*span));
            else
                *same = intersect(*same, *span);
        }
        if (perTag.empty()) return std::nullopt;
        return *std::min_element(perTag.begin(), perTag.end(),
                                 [](const TagSpan& a, const TagSpan& b) { return a.size() < b.size(); });
    }

private:
    std::vector<PredicatePtr> parts_;
};

class AnyOf final : public Predicate {
public:
    explicit AnyOf(std::vector<PredicatePtr> parts) : parts_(std::move(parts)) {}
    bool test(std::string_view record) const override {
        for (const auto& p : parts_)
            if (p->test(record)) return true;
        return false;
    }
    // Only when every alternative narrows on the same tag.
    std::optional<TagSpan> narrow(const OpenTable& table) const override {
        std::optional<TagSpan> all;
        for (const auto& p : parts_) {
            auto span = p->narrow(table);
            if (!span || (all && all->tag != span->tag)) return std::nullopt;
            all = all ? unite(*all, *span) : std::move(*span);
        }
        return all;
    }

private:
    std::vector<PredicatePtr> parts_;
};

class Negation final : public Predicate {
public:
    explicit Negation(PredicatePtr inner) : inner_(std::move(inner)) {}
    bool test(std::string_view record) const override { return !inner_->test(record); }

private:
    PredicatePtr inner_;
};

int compareValues(std::string_view a, std::string_view b) { return compareBlankPadded(a, b); }
int compareValues(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }
int compareValues(std::int32_t a, std::int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool holds(CompareOp op, int order) {
    switch (op) {
        case CompareOp::Equal: return order == 0;
        case CompareOp::NotEqual: return order != 0;
        case CompareOp::Less: return order < 0;
        case CompareOp::LessEqual: return order <= 0;
        case CompareOp::Greater: return order > 0;
        case CompareOp::GreaterEqual: return order >= 0;
    }
    return false;
}

template <class T>
class Comparison final : public Predicate {
public:
    Comparison(std::unique_ptr<ValueSource<T>> left, CompareOp op, std::unique_ptr<ValueSource<T>> right)
        : left_(std::move(left)), right_(std::move(right)), op_(op) {}
    bool test(std::string_view record) const override {
        return holds(op_, compareValues(left_->read(record), right_->read(record)));
    }

private:
    std::unique_ptr<ValueSource<T>> left_;
    std::unique_ptr<ValueSource<T>> right_;
    CompareOp op_;
};

class Like final : public Predicate {
public:
    Like(std::unique_ptr<CharSource> value, LikePattern pattern, bool negated)
        : value_(std::move(value)), pattern_(std::move(pattern)), negated_(negated) {}
    bool test(std::string_view record) const override { return pattern_.matches(value_->read(record)) != negated_; }

private:
    std::unique_ptr<CharSource> value_;
    LikePattern pattern_;
    bool negated_;
};

class Narrowed final : public Predicate {
public:
    Narrowed(PredicatePtr inner, KeyInterval interval) : inner_(std::move(inner)), interval_(std::move(interval)) {}
    bool test(std::string_view record) const override { return inner_->test(record); }
    std::optional<TagSpan> narrow(const OpenTable& table) const override { return spanOnTag(table, interval_); }

private:
    PredicatePtr inner_;
    KeyInterval interval_;
};

}  // namespace

int compareBlankPadded(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    if (const int c = std::memcmp(a.data(), b.data(), common); c != 0) return c < 0 ? -1 : 1;
    const bool aLonger = a.size() > b.size();
    const std::string_view rest = aLonger ? a.substr(common) : b.substr(common);
    for (const char ch : rest) {
        if (ch == ' ') continue;
        const bool restBelowBlank = static_cast<unsigned char>(ch) < ' ';
        return (restBelowBlank == aLonger) ? -1 : 1;
    }
    return 0;
}

PredicatePtr constantPredicate(bool value) { return std::make_unique<Constant>(value); }
PredicatePtr allOf(std::vector<PredicatePtr> parts) { return std::make_unique<AllOf>(std::move(parts)); }
PredicatePtr anyOf(std::vector<PredicatePtr> parts) { return std::make_unique<AnyOf>(std::move(parts)); }
PredicatePtr negationOf(PredicatePtr inner) { return std::make_unique<Negation>(std::move(inner)); }

template <class T>
PredicatePtr comparison(std::unique_ptr<ValueSource<T>> left, CompareOp op, std::unique_ptr<ValueSource<T>> right) {
    return std::make_unique<Comparison<T>>(std::move(left), op, std::move(right));
}

template PredicatePtr comparison(std::unique_ptr<CharSource>, CompareOp, std::unique_ptr<CharSource>);
template PredicatePtr comparison(std::unique_ptr<NumberSource>, CompareOp, std::unique_ptr<NumberSource>);
template PredicatePtr comparison(std::unique_ptr<DaySource>, CompareOp, std::unique_ptr<DaySource>);

PredicatePtr likeTest(std::unique_ptr<CharSource> value, LikePattern pattern, bool negated) {
    return std::make_unique<Like>(std::move(value), std::move(pattern), negated);
}

PredicatePtr narrowedBy(PredicatePtr inner, KeyInterval interval) {
    return std::make_unique<Narrowed>(std::move(inner), std::move(interval));
}

}  // namespace quendra::storage
