// The Debian package as dpkg sees it: its files, its control data, its desktop entry.

#include "state/title_line.h"
#include "transfer/version_number.h"

#include "support/file_contents.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace quendra {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::runProgram;

// The package of that name, made from the same build (quendra or quendra-curia).
fs::path packageFile(const std::string& name = "quendra") {
    for (const auto& entry : fs::directory_iterator(QUENDRA_PACKAGE_DIR)) {
        if (entry.path().extension() == ".deb" && entry.path().filename().string().starts_with(name + "_")) {
            return entry.path();
        }
    }
    return {};
}

std::string dpkgDeb(const std::vector<std::string>& args, const std::string& name = "quendra") {
    std::vector<std::string> all = args;
    all.push_back(packageFile(name).string());
    const test::ProgramResult result = runProgram(QUENDRA_DPKG_DEB, all);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

// "path -> mode" for every entry of the archive, links as "path -> target".
std::map<std::string, std::string> contents(const std::string& name = "quendra") {
    std::map<std::string, std::string> entries;
    std::istringstream lines(dpkgDeb({"--contents"}, name));
    std::string line;
    // drwxr-xr-x root/root 0 2026-01-07 10:00 ./opt/quendra/ [-> target]
    const std::regex entry(R"(^(\S+)\s+\S+\s+\d+\s+\S+\s+\S+\s+\.(/\S*?)/?(?: -> (\S+))?$)");
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) entries[m[2]] = m[3].matched ? "-> " + m[3].str() : m[1].str();
    }
    return entries;
}

// The package names of a Depends field, without their versions.
std::set<std::string> dependencyNames(const std::string& depends) {
    std::set<std::string> names;
    const std::regex name(R"((?:^|,)\s*([a-z0-9][a-z0-9+.-]*))");
    for (std::sregex_iterator it(depends.begin(), depends.end(), name), end; it != end; ++it) names.insert((*it)[1]);
    return names;
}

TEST(DebianPackage, HoldsTheProgramsTemplatesAndDesktopFilesWithAReadOnlyProgramFolder) {
    ASSERT_FALSE(packageFile().empty()) << "no package in " << QUENDRA_PACKAGE_DIR;
    const std::map<std::string, std::string> files = contents();
    const auto expect = [&](const std::string& path, const std::string& what) {
        const auto found = files.find(path);
        ASSERT_NE(found, files.end()) << path;
        EXPECT_EQ(found->second, what) << path;
    };
    // Nobody writes into the installation, so each user's books go to the user's folder.
    expect("/opt/quendra", "dr-xr-xr-x");
    expect("/opt/quendra/krw", "dr-xr-xr-x");
    expect("/opt/quendra/quendra2015", "-rwxr-xr-x");
    expect("/opt/quendra/quendra-db", "-rwxr-xr-x");
    for (const char* table : {"krw/kr000000", "krw/kw000000", "templates/de/kw000000"}) {
        expect("/opt/quendra/" + std::string(table) + ".dbf", "-rw-r--r--");
        expect("/opt/quendra/" + std::string(table) + ".mdx", "-rw-r--r--");
    }
    expect("/usr/bin/quendra", "-> /opt/quendra/quendra2015");
    expect("/usr/bin/quendra-db", "-> /opt/quendra/quendra-db");
    expect("/usr/share/man/man1/quendra-db.1.gz", "-rw-r--r--");
    if (QUENDRA_HAS_REPORT) {
        expect("/opt/quendra/quendra-report", "-rwxr-xr-x");
        expect("/usr/bin/quendra-report", "-> /opt/quendra/quendra-report");
        expect("/usr/share/man/man1/quendra-report.1.gz", "-rw-r--r--");
    }
    expect("/usr/share/applications/it.velmora.quendra.desktop", "-rw-r--r--");
    expect("/usr/share/metainfo/it.velmora.quendra.metainfo.xml", "-rw-r--r--");
    for (const char* size : {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
        expect("/usr/share/icons/hicolor/" + std::string(size) + "/apps/quendra.png", "-rw-r--r--");
    }
    expect("/usr/share/icons/hicolor/scalable/apps/quendra.svg", "-rw-r--r--");
    // The manual beside the program, where its help window finds it, and the package's documents.
    for (const char* page : {"index.html", "primo-avvio.html", "movimenti.html", "problemi.html", "manuale.pdf",
                             "immagini/principale.png"}) {
        expect("/opt/quendra/manuale/" + std::string(page), "-rw-r--r--");
    }
    expect("/usr/share/doc/quendra/copyright", "-rw-r--r--");
    expect("/usr/share/doc/quendra/changelog.Debian.gz", "-rw-r--r--");
}

TEST(DebianPackage, CarriesTheProgramsVersionAndItsDependencies) {
    const std::string info = dpkgDeb({"--info"});
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex(R"(\n Version: (\S+)\n)"))) << info;
    // The program's version and the package's own revision.
    EXPECT_EQ(m[1].str(), transfer::versionAfterVers(state::kMainCaption) + "-1");
    EXPECT_NE(info.find("\n Package: quendra\n"), std::string::npos) << info;
    ASSERT_TRUE(std::regex_search(info, m, std::regex(R"(\n Depends: ([^\n]+)\n)"))) << info;
    const std::set<std::string> names = dependencyNames(m[1]);
    // Found by dpkg-shlibdeps in the programs, and the two that no library shows.
    for (const char* package : {"libc6", "libstdc++6", "libqt6widgets6", "libqt6gui6", "libcurl4", "fonts-liberation",
                                "qt6-translations-l10n"}) {
        EXPECT_TRUE(names.count(package)) << package << " missing in " << m[1];
    }
}

// The package unpacked into a temporary folder, as dpkg would lay it out.
class UnpackedPackage : public ::testing::Test {
protected:
    UnpackedPackage() {
        const test::ProgramResult result =
            runProgram(QUENDRA_DPKG_DEB, {"--extract", packageFile().string(), root.path().string()});
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    test::TempDir root;
};

TEST_F(UnpackedPackage, TheDesktopEntryAndTheAppStreamDataAreValid) {
    if (!fs::exists(QUENDRA_DESKTOP_FILE_VALIDATE)) GTEST_SKIP() << "desktop-file-validate missing";
    const fs::path entry = root / "usr/share/applications/it.velmora.quendra.desktop";
    const test::ProgramResult validated = runProgram(QUENDRA_DESKTOP_FILE_VALIDATE, {entry.string()});
    EXPECT_EQ(validated.exitCode, 0) << validated.out << validated.err;
    EXPECT_EQ(validated.out + validated.err, "");
    const std::string text = readFile(entry);
    for (const char* line : {"\nName=Quendra parrochiale\n", "\nExec=quendra\n", "\nIcon=quendra\n",
                             "\nCategories=Office;Finance;\n", "\nComment=Tiene la prima nota e il bilancio annuale della parrocchia\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    if (!fs::exists(QUENDRA_APPSTREAMCLI)) GTEST_SKIP() << "appstreamcli missing";
    const test::ProgramResult appstream = runProgram(
        QUENDRA_APPSTREAMCLI, {"validate", "--no-net", (root / "usr/share/metainfo/it.velmora.quendra.metainfo.xml").string()});
    EXPECT_EQ(appstream.exitCode, 0) << appstream.out << appstream.err;
}

TEST_F(UnpackedPackage, TheDocumentsAreDebiansAndTheManualIsThereAsPdf) {
    const fs::path doc = root / "usr/share/doc/quendra";
    EXPECT_EQ(readFile(doc / "copyright").rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n", 0), 0u);
    const test::ProgramResult changelog = runProgram("/usr/bin/gzip", {"-dc", (doc / "changelog.Debian.gz").string()});
    EXPECT_EQ(changelog.out.rfind("quendra (" + transfer::versionAfterVers(state::kMainCaption) + "-1) ", 0), 0u)
        << changelog.out;
    const test::ProgramResult pdf = runProgram("/usr/bin/pdftotext", {(root / "opt/quendra/manuale/manuale.pdf").string(), "-"});
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err;
    for (const char* title : {"Manuale di Quendra parrochiale", "Il primo avvio e il primo esercizio", "Registrare i movimenti",
                              "Windows-1252"}) {
        EXPECT_NE(pdf.out.find(title), std::string::npos) << title;
    }
}

TEST(DebianPackageLint, LintianFindsNoErrorsInEitherPackage) {
    if (!fs::exists(QUENDRA_LINTIAN)) GTEST_SKIP() << "lintian missing";
    for (const char* name : {"quendra", "quendra-curia"}) {
        ASSERT_FALSE(packageFile(name).empty()) << name;
        const test::ProgramResult lint = runProgram(QUENDRA_LINTIAN, {"--tag-display-limit", "0", packageFile(name).string()});
        EXPECT_EQ(lint.out.find("E: "), std::string::npos) << name << "\n" << lint.out;
        EXPECT_EQ(lint.exitCode, 0) << name << "\n" << lint.out << lint.err;
    }
}

TEST(DebianPackage, TheCuriaPackageHoldsTheServiceItsUnitAndItsConfiguration) {
    ASSERT_FALSE(packageFile("quendra-curia").empty()) << "no quendra-curia package in " << QUENDRA_PACKAGE_DIR;
    const std::map<std::string, std::string> files = contents("quendra-curia");
    for (const auto& [path, what] : std::map<std::string, std::string>{
             {"/opt/quendra", "dr-xr-xr-x"},
             {"/opt/quendra/quendra-curia", "-rwxr-xr-x"},
             {"/usr/bin/quendra-curia", "-> /opt/quendra/quendra-curia"},
             {"/lib/systemd/system/quendra-curia.service", "-rw-r--r--"},
             {"/etc/quendra-curia/quendra-curia.conf", "-rw-r--r--"},
             {"/usr/share/doc/quendra-curia/examples/parrocchie.csv", "-rw-r--r--"},
             {"/usr/share/doc/quendra-curia/copyright", "-rw-r--r--"},
             {"/usr/share/man/man1/quendra-curia.1.gz", "-rw-r--r--"}}) {
        const auto found = files.find(path);
        ASSERT_NE(found, files.end()) << path;
        EXPECT_EQ(found->second, what) << path;
    }
    // Nothing of the parish's package: both install side by side.
    EXPECT_FALSE(files.contains("/opt/quendra/quendra-db"));

    const std::string info = dpkgDeb({"--info"}, "quendra-curia");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex(R"(\n Depends: ([^\n]+)\n)"))) << info;
    const std::set<std::string> names = dependencyNames(m[1]);
    for (const char* package : {"quendra", "adduser", "libc6"}) EXPECT_TRUE(names.count(package)) << package << " in " << m[1];
    // The documents are drawn by the quendra-report of the same build.
    EXPECT_NE(m[1].str().find("quendra (= " + transfer::versionAfterVers(state::kMainCaption) + "-1)"), std::string::npos) << m[1];

    const test::ProgramResult conffiles = runProgram(QUENDRA_DPKG_DEB, {"--info", packageFile("quendra-curia").string(), "conffiles"});
    EXPECT_EQ(conffiles.out, "/etc/quendra-curia/quendra-curia.conf\n");
    const test::ProgramResult postinst = runProgram(QUENDRA_DPKG_DEB, {"--info", packageFile("quendra-curia").string(), "postinst"});
    EXPECT_NE(postinst.out.find("adduser --system --group"), std::string::npos) << postinst.out;
}

TEST(DebianPackage, TheCuriaUnitRunsTheServiceAsItsOwnUserWithTheConfiguredFolders) {
    test::TempDir curia;
    ASSERT_EQ(runProgram(QUENDRA_DPKG_DEB, {"--extract", packageFile("quendra-curia").string(), curia.path().string()}).exitCode, 0);
    const std::string unit = readFile(curia / "lib/systemd/system/quendra-curia.service");
    for (const char* line : {"\nUser=quendra-curia\n", "\nGroup=quendra-curia\n", "\nEnvironmentFile=/etc/quendra-curia/quendra-curia.conf\n",
                             "\nExecStart=/opt/quendra/quendra-curia serve --inbox ${QUENDRA_CURIA_INBOX} --archive "
                             "${QUENDRA_CURIA_ARCHIVE} --listen ${QUENDRA_CURIA_LISTEN} $QUENDRA_CURIA_OPTIONS\n",
                             "\nReadWritePaths=/srv/quendra\n", "\nProtectSystem=strict\n"}) {
        EXPECT_NE(unit.find(line), std::string::npos) << line;
    }
    // The configuration's folders are where the unit lets the service write.
    const std::string conf = readFile(curia / "etc/quendra-curia/quendra-curia.conf");
    for (const char* line : {"\nQUENDRA_CURIA_INBOX=/srv/quendra/tovald\n", "\nQUENDRA_CURIA_ARCHIVE=/srv/quendra/archivio\n",
                             "\nQUENDRA_CURIA_LISTEN=127.0.0.1:8080\n"}) {
        EXPECT_NE(conf.find(line), std::string::npos) << line;
    }
    // The service as packaged runs.
    const test::ProgramResult help = runProgram(curia / "opt/quendra/quendra-curia", {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_NE(help.out.find("quendra-curia serve"), std::string::npos) << help.out;
}

TEST_F(UnpackedPackage, TheTemplatesAreTheBuiltOnesAndTheToolRuns) {
    for (const char* table : {"krw/kr000000.dbf", "krw/kw000000.dbf", "templates/de/kw000000.dbf", "krw/kw000000.mdx"}) {
        EXPECT_TRUE(readFile(root / "opt/quendra" / table) == readFile(fs::path(QUENDRA_RUNTIME_DIR) / table)) << table;
    }
    const test::ProgramResult help = runProgram(root / "opt/quendra/quendra-db", {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_NE(help.out.find("quendra-db demo"), std::string::npos);
    const test::ProgramResult info = runProgram(root / "opt/quendra/quendra-db", {"info", (root / "opt/quendra/krw/kw000000.dbf").string()});
    EXPECT_EQ(info.exitCode, 0) << info.err;
}

}  // namespace
}  // namespace quendra
