#include "storage/query/compiler.h"

#include "storage/query/error.h"

#include <charconv>

namespace quendra::storage {

namespace {

enum class ValueType { Char, Number, Date };

const char* typeName(ValueType type) {
    switch (type) {
        case ValueType::Char: return "carattere";
        case ValueType::Number: return "numerico";
        case ValueType::Date: return "data";
    }
    return "";
}

CompareOp mirrored(CompareOp op) {
    switch (op) {
        case CompareOp::Less: return CompareOp::Greater;
        case CompareOp::LessEqual: return CompareOp::GreaterEqual;
        case CompareOp::Greater: return CompareOp::Less;
        case CompareOp::GreaterEqual: return CompareOp::LessEqual;
        default: return op;
    }
}

std::string numberText(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

class Compiler {
public:
    Compiler(std::string_view sql, const OpenTable& table, const QueryParams& params)
        : sql_(sql), table_(table), params_(params) {}

    CompiledQuery run(const Statement& s) {
        CompiledQuery q;
        for (const FieldName& f : s.sums) {
            const std::size_t index = field(f.name, f.offset);
            if (!table_.fields()[index].isNumeric())
                throw queryError(sql_, f.offset, "sum vale solo per i campi numerici, non per il campo \"" +
                                                     table_.fields()[index].name + "\"");
            q.sums.push_back(index);
        }
        if (s.where) q.where = condition(*s.where);
        for (const FieldName& f : s.orderBy) q.orderBy.push_back(field(f.name, f.offset));
        return q;
    }

private:
    PredicatePtr condition(const Condition& c) {
        switch (c.kind) {
            case Condition::Kind::And:
            case Condition::Kind::Or: {
                std::vector<PredicatePtr> parts;
                for (const Condition& child : c.children) parts.push_back(condition(child));
                return c.kind == Condition::Kind::And ? allOf(std::move(parts)) : anyOf(std::move(parts));
            }
            case Condition::Kind::Not: return negationOf(condition(c.children.front()));
            case Condition::Kind::Compare: return compare(c);
            case Condition::Kind::Like: return like(c);
        }
        return constantPredicate(false);
    }

    PredicatePtr compare(const Condition& c) {
        const ValueType type = typeOf(c.left);
        if (typeOf(c.right) != type)
            throw queryError(sql_, c.offset, "impossibile confrontare " + describe(c.left) + " con " + describe(c.right));
        PredicatePtr p;
        switch (type) {
            case ValueType::Char: {
                auto left = charSource(c.left);
                auto right = charSource(c.right);
                if (!left || !right) return unencodableComparison(c);
                p = comparison(std::move(left), c.op, std::move(right));
                break;
            }
            case ValueType::Number: p = comparison(numberSource(c.left), c.op, numberSource(c.right)); break;
            case ValueType::Date: p = comparison(daySource(c.left), c.op, daySource(c.right)); break;
        }
        if (auto interval = keyInterval(c)) return narrowedBy(std::move(p), std::move(*interval));
        return p;
    }

    // A text with a character the table's code page lacks equals no value of the table.
    PredicatePtr unencodableComparison(const Condition& c) {
        if (c.op == CompareOp::Equal) return constantPredicate(false);
        if (c.op == CompareOp::NotEqual) return constantPredicate(true);
        throw queryError(sql_, c.offset, "il testo contiene un carattere che la tabella non può contenere");
    }

    // field op constant (or constant op field) on a field a tag can serve.
    std::optional<KeyInterval> keyInterval(const Condition& c) const {
        const bool fieldLeft = c.left.kind == Operand::Kind::Field;
        const Operand& fieldSide = fieldLeft ? c.left : c.right;
        const Operand& valueSide = fieldLeft ? c.right : c.left;
        if (fieldSide.kind != Operand::Kind::Field || valueSide.kind == Operand::Kind::Field ||
            valueSide.kind == Operand::Kind::Upper || c.op == CompareOp::NotEqual)
            return std::nullopt;
        const std::size_t index = field(fieldSide.text, fieldSide.offset);
        const FieldDef& def = table_.fields()[index];
        std::string key;
        switch (typeOf(valueSide)) {
            case ValueType::Char: {
                std::string bytes = *constantBytes(valueSide);
                while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
                bytes.resize(def.length, ' ');
                key = std::move(bytes);
                break;
            }
            case ValueType::Number: key = numericSortKey(constantNumber(valueSide)); break;
            case ValueType::Date: key = dateSortKey(constantDate(valueSide)); break;
        }
        KeyInterval interval{index, {}, {}};
        const CompareOp op = fieldLeft ? c.op : mirrored(c.op);
        if (op != CompareOp::Less && op != CompareOp::LessEqual) interval.low = key;
        if (op != CompareOp::Greater && op != CompareOp::GreaterEqual) interval.high = key;
        return interval;
    }

    PredicatePtr like(const Condition& c) {
        if (typeOf(c.left) != ValueType::Char)
            throw queryError(sql_, c.offset, "like vale solo per i testi, non per " + describe(c.left));
        auto value = charSource(c.left);
        std::vector<LikePattern::Part> parts;
        bool encodable = value != nullptr;
        for (const PatternPart& part : c.pattern) {
            const std::string* text = &part.text;
            if (part.isParameter) {
                text = std::get_if<std::string>(&parameter(part.text, part.offset));
                if (!text)
                    throw queryError(sql_, part.offset, "il parametro :" + part.text + " usato con like deve essere un testo");
            }
            auto bytes = encodeFromUtf8(*text, table_.codePage());
            if (!bytes) encodable = false;
            else parts.push_back({std::move(*bytes), !part.isParameter});
        }
        if (!encodable) return constantPredicate(c.negated);
        LikePattern pattern(parts);
        const std::string prefix = pattern.literalPrefix();
        PredicatePtr p = likeTest(std::move(value), std::move(pattern), c.negated);
        if (c.negated || c.left.kind != Operand::Kind::Field || prefix.empty()) return p;
        return narrowedBy(std::move(p), KeyInterval{field(c.left.text, c.left.offset), prefix, prefix});
    }

    std::size_t field(const std::string& name, std::size_t offset) const {
        const int index = table_.header().fieldIndex(name);
        if (index < 0)
            throw queryError(sql_, offset,
                             "il campo \"" + name + "\" non esiste nella tabella \"" +
                                 table_.path().filename().string() + "\"",
                             DbError::Kind::NoSuchField);
        return std::size_t(index);
    }

    const QueryValue& parameter(const std::string& name, std::size_t offset) const {
        const QueryValue* value = params_.find(name);
        if (!value) throw queryError(sql_, offset, "manca il valore del parametro :" + name);
        return *value;
    }

    ValueType typeOf(const Operand& o) const {
        switch (o.kind) {
            case Operand::Kind::Field: {
                const FieldDef& def = table_.fields()[field(o.text, o.offset)];
                switch (def.type) {
                    case FieldType::Character: return ValueType::Char;
                    case FieldType::Numeric:
                    case FieldType::Float: return ValueType::Number;
                    case FieldType::Date: return ValueType::Date;
                    case FieldType::Logical: break;
                }
                throw queryError(sql_, o.offset, "il campo logico \"" + def.name + "\" non si può usare in una condizione");
            }
            case Operand::Kind::Upper:
                if (typeOf(*o.inner) != ValueType::Char)
                    throw queryError(sql_, o.offset, "upper vale solo per i testi, non per " + describe(*o.inner));
                return ValueType::Char;
            case Operand::Kind::Text: return ValueType::Char;
            case Operand::Kind::Number: return ValueType::Number;
            case Operand::Kind::Parameter: {
                const QueryValue& value = parameter(o.text, o.offset);
                if (std::holds_alternative<std::string>(value)) return ValueType::Char;
                return std::holds_alternative<double>(value) ? ValueType::Number : ValueType::Date;
            }
        }
        return ValueType::Char;
    }

    std::string describe(const Operand& o) const {
        switch (o.kind) {
            case Operand::Kind::Field:
                return "il campo \"" + table_.fields()[field(o.text, o.offset)].name + "\" (" + typeName(typeOf(o)) + ")";
            case Operand::Kind::Upper: return "upper(...) (carattere)";
            case Operand::Kind::Text: return "il testo \"" + o.text + "\"";
            case Operand::Kind::Number: return "il numero " + numberText(o.number);
            case Operand::Kind::Parameter: return "il parametro :" + o.text + " (" + typeName(typeOf(o)) + ")";
        }
        return {};
    }

    // A text or text parameter in the table's code page; nullopt when it cannot be.
    std::optional<std::string> constantBytes(const Operand& o) const {
        const std::string& text =
            o.kind == Operand::Kind::Text ? o.text : std::get<std::string>(parameter(o.text, o.offset));
        return encodeFromUtf8(text, table_.codePage());
    }

    // nullptr when a text inside cannot be held by the table's code page.
    std::unique_ptr<CharSource> charSource(const Operand& o) const {
        switch (o.kind) {
            case Operand::Kind::Field: return charField(table_.header(), field(o.text, o.offset));
            case Operand::Kind::Upper: {
                auto inner = charSource(*o.inner);
                return inner ? upperOf(std::move(inner), table_.codePage()) : nullptr;
            }
            default: {
                auto bytes = constantBytes(o);
                return bytes ? charConstant(std::move(*bytes)) : nullptr;
            }
        }
    }

    std::unique_ptr<NumberSource> numberSource(const Operand& o) const {
        if (o.kind == Operand::Kind::Field) return numberField(table_.header(), field(o.text, o.offset));
        return numberConstant(constantNumber(o));
    }

    double constantNumber(const Operand& o) const {
        return o.kind == Operand::Kind::Number ? o.number : std::get<double>(parameter(o.text, o.offset));
    }

    Date constantDate(const Operand& o) const { return std::get<Date>(parameter(o.text, o.offset)); }

    std::unique_ptr<DaySource> daySource(const Operand& o) const {
        if (o.kind == Operand::Kind::Field) return dateField(table_.header(), field(o.text, o.offset));
        return dateConstant(constantDate(o));
    }

    std::string_view sql_;
    const OpenTable& table_;
    const QueryParams& params_;
};

}  // namespace

CompiledQuery compileQuery(std::string_view sql, const Statement& statement, const OpenTable& table,
                           const QueryParams& params) {
    return Compiler(sql, table, params).run(statement);
}

}  // namespace quendra::storage
