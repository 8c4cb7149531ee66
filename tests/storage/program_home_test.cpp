#include "storage/program_home.h"

#include "storage/settings_file.h"
#include "storage/year_files.h"
#include "years/new_year.h"

#include "support/file_contents.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

namespace quendra::storage {
namespace {

namespace fs = std::filesystem;
using test::namesIn;
using test::readFile;
using test::TempDir;
using test::writeFile;

WritableCheck always(bool answer) {
    return [answer](const fs::path&) { return answer; };
}

TEST(ProgramHome, QuendraHomeWinsThenAWritableInstallationThenTheUsersFolder) {
    const fs::path install = "/opt/quendra";
    const HomeEnvironment env{"", "/home/anna/.dati", "/home/anna"};

    ProgramHome home = chooseProgramHome(install, env, always(true));
    EXPECT_EQ(home.programDir, install);
    EXPECT_TRUE(home.installWritable);
    EXPECT_FALSE(home.userFolder);

    home = chooseProgramHome(install, env, always(false));
    EXPECT_EQ(home.programDir, "/home/anna/.dati/quendra");
    EXPECT_EQ(home.installDir, install);
    EXPECT_FALSE(home.installWritable);
    EXPECT_TRUE(home.userFolder);

    // QUENDRA_HOME chooses the data, but the installation stays what it is.
    home = chooseProgramHome(install, {"/media/chiavetta/quendra", env.xdgDataHome, env.home}, always(false));
    EXPECT_EQ(home.programDir, "/media/chiavetta/quendra");
    EXPECT_FALSE(home.installWritable);
    EXPECT_FALSE(home.userFolder);
}

TEST(ProgramHome, TheUsersFolderFollowsTheDesktopRules) {
    const auto programDir = [](const HomeEnvironment& env) {
        return chooseProgramHome("/opt/quendra", env, always(false)).programDir;
    };
    EXPECT_EQ(programDir({"", "", "/home/anna"}), "/home/anna/.local/share/quendra");
    EXPECT_EQ(programDir({"", "dati", "/home/anna"}), "/home/anna/.local/share/quendra");  // relative: ignored
    EXPECT_EQ(programDir({"", "/srv/dati", ""}), "/srv/dati/quendra");
    EXPECT_EQ(programDir({"", "", ""}), "/opt/quendra");  // nowhere else to go
}

// A directory made read-only for the test and writable again before it is removed, so
// that the removal works for an ordinary user too.
class ReadOnly {
public:
    explicit ReadOnly(fs::path dir) : dir_(std::move(dir)) { ::chmod(dir_.c_str(), 0555); }
    ~ReadOnly() { ::chmod(dir_.c_str(), 0755); }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

private:
    fs::path dir_;
};

TEST(ProgramHome, ADirectoryWithoutWriteBitsIsReadOnlyEvenForTheSuperuser) {
    TempDir dir;
    EXPECT_TRUE(isWritableDirectory(dir.path()));
    {
        ReadOnly locked(dir.path());
        EXPECT_FALSE(isWritableDirectory(dir.path()));
    }
    EXPECT_FALSE(isWritableDirectory(dir / "mancante"));
}

TEST(ProgramHome, TheProgramDirectoryOfThisProcessHonoursQuendraHome) {
    const char* old = std::getenv("QUENDRA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("QUENDRA_HOME", "/opt/quendra", 1);
    EXPECT_EQ(programDirectory(), fs::path("/opt/quendra"));
    ::setenv("QUENDRA_HOME", "", 1);
    EXPECT_TRUE(fs::exists(programDirectory() / "storage_tests"));  // the build tree is writable
    EXPECT_EQ(installDirectory(), programDirectory());
    old ? ::setenv("QUENDRA_HOME", saved.c_str(), 1) : ::unsetenv("QUENDRA_HOME");
}

// An installation as the package lays it out: the program's folder with the templates
// in krw/ and a manual, nobody allowed to write there.
class ReadOnlyInstallation : public ::testing::Test {
protected:
    ReadOnlyInstallation() {
        fs::create_directories(installData);
        const fs::path built = dataDirectory(QUENDRA_RUNTIME_DIR);
        for (const char* name : {"kr000000.dbf", "kr000000.mdx", "kw000000.dbf", "kw000000.mdx"}) {
            fs::copy_file(built / name, installData / name);
        }
        writeFile(install / "quendra2015.pdf", "manuale");
    }

    ProgramHome start() {
        ProgramHome home = chooseProgramHome(install, {"", (root / "xdg").string(), "/nonexistent"}, isWritableDirectory);
        provideProgramHome(home);
        return home;
    }

    TempDir root;
    fs::path install = root / "opt";
    fs::path installData = dataDirectory(install);
    std::vector<std::string> installed = {"krw", "quendra2015.pdf"};
};

TEST_F(ReadOnlyInstallation, YearFilesSettingsAndTemplatesLandInTheUsersFolder) {
    const ReadOnly lockedData(installData);
    const ReadOnly locked(install);
    const ProgramHome home = start();
    const fs::path userData = root / "xdg" / "quendra" / "krw";
    ASSERT_EQ(home.programDir, root / "xdg" / "quendra");
    ASSERT_EQ(dataDirectory(home.programDir), userData / "");
    EXPECT_EQ(namesIn(userData), (std::vector<std::string>{"kr000000.dbf", "kr000000.mdx", "kw000000.dbf", "kw000000.mdx"}));
    EXPECT_TRUE(readFile(userData / "kw000000.dbf") == readFile(installData / "kw000000.dbf"));
    EXPECT_EQ(readFile(home.programDir / "quendra2015.pdf"), "manuale");

    // What the program then does at its first start: a year from the templates, and the
    // settings written when it closes.
    const std::string year = years::createYear(userData, 2026, Date::fromYmd(2026, 1, 7));
    Settings settings;
    settings.hauptdatei = yearFileName(YearTable::Journal, year);
    settings.konto = yearFileName(YearTable::Chart, year);
    writeSettings(userData / kSettingsFileName, settings);

    EXPECT_EQ(readSettings(userData / kSettingsFileName).hauptdatei, "kr202601.dbf");
    for (const char* name : {"kr202601.dbf", "kr202601.mdx", "kw202601.dbf", "kw202601.mdx", "tovald.INI"}) {
        EXPECT_TRUE(fs::exists(userData / name)) << name;
    }
    EXPECT_EQ(namesIn(install), installed);
    EXPECT_EQ(namesIn(installData).size(), 4u);
}

TEST_F(ReadOnlyInstallation, ALaterStartKeepsWhatTheUsersFolderHolds) {
    const ReadOnly locked(install);
    ProgramHome home = start();
    const fs::path userData = dataDirectory(home.programDir);
    // The update refreshed the chart template (dropping its index) and the manual.
    writeFile(userData / "kw000000.dbf", "modello aggiornato");
    fs::remove(userData / "kw000000.mdx");
    writeFile(home.programDir / "quendra2015.pdf", "manuale nuovo");
    // The journal template was lost, and its index outlived it.
    fs::remove(userData / "kr000000.dbf");
    writeFile(userData / "kr000000.mdx", "indice di un'altra tabella");

    home = start();
    EXPECT_EQ(readFile(userData / "kw000000.dbf"), "modello aggiornato");
    EXPECT_FALSE(fs::exists(userData / "kw000000.mdx"));
    EXPECT_EQ(readFile(home.programDir / "quendra2015.pdf"), "manuale nuovo");
    EXPECT_TRUE(readFile(userData / "kr000000.dbf") == readFile(installData / "kr000000.dbf"));
    EXPECT_TRUE(readFile(userData / "kr000000.mdx") == readFile(installData / "kr000000.mdx"));
    EXPECT_EQ(namesIn(userData), (std::vector<std::string>{"kr000000.dbf", "kr000000.mdx", "kw000000.dbf"}));
}

TEST_F(ReadOnlyInstallation, AUsersFolderThatCannotBeMadeIsSaidInItalian) {
    const ReadOnly locked(install);
    writeFile(root / "xdg", "un file, non una cartella");
    try {
        start();
        FAIL() << "no error";
    } catch (const ProgramHomeError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Non è possibile creare la cartella dei dati " + (root / "xdg/quendra/krw").string() +
                      ": al suo posto c'è un file.");
    }
}

}  // namespace
}  // namespace quendra::storage
