#include "storage/dbase/table_registry.h"

#include "storage/dbase/error.h"

#include <map>

namespace quendra::storage {

namespace {

std::map<std::filesystem::path, std::weak_ptr<OpenTable>>& registry() {
    static std::map<std::filesystem::path, std::weak_ptr<OpenTable>> tables;
    return tables;
}

std::filesystem::path registryKey(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path key = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::absolute(path) : key;
}

DbError inUse(const std::filesystem::path& path) {
    return DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path) + "\" è già aperta in questo momento");
}

}  // namespace

std::shared_ptr<OpenTable> acquireTable(const std::filesystem::path& path, OpenMode mode) {
    const std::filesystem::path key = registryKey(path);
    auto& tables = registry();
    if (auto it = tables.find(key); it != tables.end()) {
        if (std::shared_ptr<OpenTable> table = it->second.lock()) {
            if (mode == OpenMode::Exclusive || table->exclusive()) throw inUse(path);
            return table;
        }
        tables.erase(it);
    }
    std::shared_ptr<OpenTable> table = OpenTable::load(key, mode == OpenMode::Exclusive);
    if (mode == OpenMode::Exclusive && !table->indexProblem().empty()) {
        throw DbError(table->indexProblemKind(), table->indexProblem());
    }
    tables[key] = table;
    return table;
}

bool isTableOpen(const std::filesystem::path& path) {
    const auto it = registry().find(registryKey(path));
    return it != registry().end() && !it->second.expired();
}

}  // namespace quendra::storage
