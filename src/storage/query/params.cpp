#include "storage/query/params.h"

#include "storage/dbase/text_case.h"

namespace quendra::storage {

namespace {

std::string_view bareName(std::string_view name) {
    if (!name.empty() && name.front() == ':') name.remove_prefix(1);
    return name;
}

}  // namespace

QueryParams& QueryParams::text(std::string_view name, std::string_view value) {
    return set(name, std::string(value));
}

QueryParams& QueryParams::number(std::string_view name, double value) { return set(name, value); }

QueryParams& QueryParams::date(std::string_view name, Date value) { return set(name, value); }

const QueryValue* QueryParams::find(std::string_view name) const {
    const std::string_view bare = bareName(name);
    for (const auto& [key, value] : values_)
        if (equalsIgnoreCaseAscii(key, bare)) return &value;
    return nullptr;
}

QueryParams& QueryParams::set(std::string_view name, QueryValue value) {
    const std::string_view bare = bareName(name);
    for (auto& [key, existing] : values_) {
        if (equalsIgnoreCaseAscii(key, bare)) {
            existing = std::move(value);
            return *this;
        }
    }
    values_.emplace_back(std::string(bare), std::move(value));
    return *this;
}

}  // namespace quendra::storage
