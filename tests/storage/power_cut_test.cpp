// A power cut replayed: every change the engine makes is recorded; a cut at change c keeps
// what was synced before c and any prefix of the unsynced writes after it (the last one
// possibly torn at a 512-byte sector). After each cut the year opens, the start-up repair
// restores it, and every post that had returned before the cut is there.

#include "storage/dbase/cursor.h"
#include "storage/dbase/file_events.h"
#include "storage/dbase/table_check.h"
#include "storage/index_repair.h"
#include "support/file_contents.h"
#include "support/journal_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>
#include <set>

namespace quendra::storage {
namespace {

using test::ymd;

constexpr std::size_t kSector = 512;

struct Change {
    FileEvent::Kind kind;
    std::string file;  // file name in the directory
    std::uint64_t offset = 0;
    std::string bytes;
    std::string target;
};

// The recording file layer: what the engine asked the disk to do, in order.
class Recorder {
public:
    explicit Recorder(const std::filesystem::path& dir) {
        for (const std::string& name : test::namesIn(dir)) start_[name] = test::readFile(dir / name);
        watchFileEvents([this](const FileEvent& e) {
            changes_.push_back({e.kind, e.path.filename().string(), e.offset, std::string(e.bytes),
                                e.target ? e.target->filename().string() : std::string()});
        });
    }
    ~Recorder() { watchFileEvents({}); }
    std::size_t now() const { return changes_.size(); }
    const std::vector<Change>& changes() const { return changes_; }
    const std::map<std::string, std::string>& start() const { return start_; }

private:
    std::map<std::string, std::string> start_;
    std::vector<Change> changes_;
};

void applyWrite(std::string& content, std::uint64_t offset, std::string_view bytes) {
    if (content.size() < offset + bytes.size()) content.resize(offset + bytes.size(), '\0');
    content.replace(offset, bytes.size(), bytes);
}

// The files as the disk holds them after a cut just before change `cut`.
std::map<std::string, std::string> afterCut(const Recorder& recorder, std::size_t cut, std::mt19937& random) {
    struct FileState {
        std::optional<std::string> durable;
        std::vector<const Change*> pending;
    };
    std::map<std::string, FileState> files;
    for (const auto& [name, content] : recorder.start()) files[name].durable = content;
    auto current = [&](const std::string& name) {
        std::string content = files[name].durable.value_or("");
        for (const Change* c : files[name].pending) {
            if (c->kind == FileEvent::Kind::Write) applyWrite(content, c->offset, c->bytes);
            if (c->kind == FileEvent::Kind::Truncate) content.resize(c->offset, '\0');
        }
        return content;
    };
    for (std::size_t i = 0; i < cut; ++i) {
        const Change& c = recorder.changes()[i];
        switch (c.kind) {
            case FileEvent::Kind::Write:
            case FileEvent::Kind::Truncate: files[c.file].pending.push_back(&c); break;
            case FileEvent::Kind::Sync:
                if (files.count(c.file)) files[c.file] = {current(c.file), {}};
                break;
            case FileEvent::Kind::Rename:  // followed at once by the directory's sync
                files[c.target] = {current(c.file), {}};
                files.erase(c.file);
                break;
            case FileEvent::Kind::Remove: files.erase(c.file); break;
        }
    }
    std::map<std::string, std::string> disk;
    for (auto& [name, state] : files) {
        std::string content = state.durable.value_or("");
        const std::size_t kept = std::uniform_int_distribution<std::size_t>(0, state.pending.size())(random);
        for (std::size_t i = 0; i < kept; ++i) {
            const Change& c = *state.pending[i];
            if (c.kind == FileEvent::Kind::Truncate) {
                content.resize(c.offset, '\0');
                continue;
            }
            std::string_view bytes = c.bytes;
            if (i + 1 == kept && std::uniform_int_distribution<int>(0, 1)(random) == 1) {
                // Torn: only the sectors up to a random boundary reached the disk.
                const std::uint64_t end = c.offset + bytes.size();
                const std::uint64_t boundary =
                    std::uniform_int_distribution<std::uint64_t>(c.offset / kSector, end / kSector)(random) * kSector;
                bytes = bytes.substr(0, std::size_t(std::max(boundary, c.offset) - c.offset));
            }
            applyWrite(content, c.offset, bytes);
        }
        if (state.durable || kept > 0) disk[name] = content;
    }
    return disk;
}

TEST(PowerCut, EveryPostThatReturnedSurvivesAndTheYearOpens) {
    test::TempDir work;
    const std::string name = "kr201501.dbf";
    std::vector<test::Movement> initial;
    for (int n = 1; n <= 40; ++n) initial.push_back({n, ymd(2015, 1, 1), " A0101", " C0101", "Iniziale", 0, 1, 1, 0});
    test::makeJournal(work / name, initial);

    // Each post's number and the change count when it returned.
    std::vector<std::pair<int, std::size_t>> returned;
    Recorder recorder(work.path());
    {
        Cursor journal(work / name, OpenMode::Shared);
        journal.setOrder("cod");
        for (int n = 41; n <= 160; ++n) {
            test::appendMovement(journal, {n, ymd(2015, 2, 1 + n % 28), " A01" + std::to_string(10 + n % 80), " C0101",
                                           "Posto " + std::to_string(n), 0, n * 0.5, 1, 0});
            returned.emplace_back(n, recorder.now());
            if (n % 10 == 0 && journal.gotoRecord(std::uint32_t(n - 5))) {
                journal.edit();
                journal.setText("cod", " P0101");  // an indexed field: the index changes in place
                journal.post();
            }
        }
    }
    const std::size_t total = recorder.now();
    ASSERT_GT(total, 300u);

    std::mt19937 random(20151231);
    for (int trial = 0; trial < 150; ++trial) {
        const std::size_t cut = std::uniform_int_distribution<std::size_t>(0, total)(random);
        SCOPED_TRACE("cut before change " + std::to_string(cut) + ", trial " + std::to_string(trial));
        test::TempDir dir;
        for (const auto& [file, content] : afterCut(recorder, cut, random)) test::writeFile(dir / file, content);

        ensureYearTableSound(YearTable::Journal, dir.path(), name);
        ASSERT_EQ(checkTable(dir / name), std::vector<std::string>{});
        std::set<int> present;
        Cursor journal(dir / name, OpenMode::Shared);
        for (journal.first(); !journal.eof(); journal.next()) present.insert(int(journal.asInteger("nummer")));
        for (int n = 1; n <= 40; ++n) ASSERT_TRUE(present.count(n)) << "initial row " << n;
        for (const auto& [n, at] : returned) {
            if (at <= cut) {
                ASSERT_TRUE(present.count(n)) << "post " << n << " returned before the cut";
            }
        }
    }
}

}  // namespace
}  // namespace quendra::storage
