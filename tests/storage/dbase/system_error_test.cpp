#include "storage/dbase/system_error.h"

#include "storage/dbase/cursor.h"
#include "storage/dbase/error.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace quendra::storage {
namespace {

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

TEST(SystemErrorText, CommonCausesInTheUsersWordsWithTheSystemTextAsDetail) {
    const std::pair<int, const char*> causes[] = {
        {ENOENT, "il file o la cartella non esiste"},
        {EACCES, "accesso negato: mancano i permessi necessari"},
        {EPERM, "accesso negato: mancano i permessi necessari"},
        {ENOSPC, "il disco è pieno"},
        {EDQUOT, "il disco è pieno"},
        {EROFS, "il disco o la cartella è di sola lettura"},
        {EBUSY, "il file è in uso da un altro programma"},
        {EWOULDBLOCK, "il file è in uso da un altro programma"},
    };
    for (const auto& [number, cause] : causes) {
        const std::string text = systemErrorText(number);
        EXPECT_TRUE(startsWith(text, std::string(cause) + " (dettaglio del sistema: ")) << text;
        EXPECT_EQ(text.back(), ')') << text;
    }
    EXPECT_TRUE(startsWith(systemErrorText(EMLINK), "errore del sistema (dettaglio del sistema: "));
    EXPECT_EQ(systemErrorText(std::make_error_code(std::errc::no_space_on_device)), systemErrorText(ENOSPC));
    EXPECT_EQ(systemErrorText(std::error_code(ENOENT, std::system_category())), systemErrorText(ENOENT));
}

// A table under a path whose folder is a file: the engine's message says why in Italian.
TEST(SystemErrorText, ReachesTheUserThroughTheTableEngine) {
    test::TempDir dir;
    test::writeFile(dir / "esercizi", "non una cartella");
    try {
        Cursor table(dir / "esercizi" / "kr201501.dbf", OpenMode::Shared);
        FAIL() << "opened";
    } catch (const DbError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("KR201501.DBF"), std::string::npos) << text;
        EXPECT_NE(text.find(": il file o la cartella non esiste (dettaglio del sistema: "), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace quendra::storage
