#include "storage/dbase/table_registry.h"

#include "storage/dbase/error.h"

#include <algorithm>
#include <map>
#include <vector>

namespace quendra::storage {

namespace {

// Enough for the tables of two years; each holds its rows and tags in memory.
constexpr std::size_t kKeptTables = 8;

struct KeptTable {
    std::filesystem::path key;
    std::unique_ptr<OpenTable> table;
};

// Never destroyed: the last cursor of a table may go at the program's end, after them.
std::map<std::filesystem::path, std::weak_ptr<OpenTable>>& registry() {
    static auto* tables = new std::map<std::filesystem::path, std::weak_ptr<OpenTable>>;
    return *tables;
}

// Tables nobody holds any more, kept with what they read (oldest first).
std::vector<KeptTable>& keptTables() {
    static auto* kept = new std::vector<KeptTable>;
    return *kept;
}

std::filesystem::path registryKey(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path key = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::filesystem::absolute(path) : key;
}

DbError inUse(const std::filesystem::path& path) {
    return DbError(DbError::Kind::Locked, "La tabella \"" + fileLabel(path) + "\" è già aperta in questo momento");
}

void keep(const std::filesystem::path& key, std::unique_ptr<OpenTable> table) {
    auto& kept = keptTables();
    kept.push_back({key, std::move(table)});
    if (kept.size() > kKeptTables) kept.erase(kept.begin());
}

std::shared_ptr<OpenTable> held(const std::filesystem::path& key, std::unique_ptr<OpenTable> table) {
    return std::shared_ptr<OpenTable>(table.release(), [key](OpenTable* released) {
        std::unique_ptr<OpenTable> owned(released);
        if (owned->letGo()) return keep(key, std::move(owned));
        const bool written = owned->written();
        owned.reset();  // closed, and durable
        // The comparison of every key with its row is made once the work is done, not at
        // the next start, where a user waits for it.
        if (written) {
            if (std::unique_ptr<OpenTable> verified = OpenTable::verified(key)) keep(key, std::move(verified));
        }
    });
}

// The table as it was let go, when its files still hold exactly what it read.
std::unique_ptr<OpenTable> takeKept(const std::filesystem::path& key, OpenMode mode) {
    auto& kept = keptTables();
    const auto it = std::find_if(kept.begin(), kept.end(), [&](const KeptTable& k) { return k.key == key; });
    if (it == kept.end()) return nullptr;
    std::unique_ptr<OpenTable> table = std::move(it->table);
    kept.erase(it);
    if (!table->takeBack(mode == OpenMode::Exclusive)) return nullptr;
    return table;
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
    std::unique_ptr<OpenTable> loaded = takeKept(key, mode);
    if (!loaded) loaded = OpenTable::load(key, mode == OpenMode::Exclusive);
    if (mode == OpenMode::Exclusive && !loaded->indexProblem().empty()) {
        throw DbError(loaded->indexProblemKind(), loaded->indexProblem());
    }
    std::shared_ptr<OpenTable> table = held(key, std::move(loaded));
    tables[key] = table;
    return table;
}

bool isTableOpen(const std::filesystem::path& path) {
    const auto it = registry().find(registryKey(path));
    return it != registry().end() && !it->second.expired();
}

}  // namespace quendra::storage
