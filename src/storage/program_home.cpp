#include "storage/program_home.h"

#include "storage/year_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace quendra::storage {

namespace {

namespace fs = std::filesystem;

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path userDataFolder(const HomeEnvironment& env) {
    if (!env.xdgDataHome.empty() && fs::path(env.xdgDataHome).is_absolute()) return fs::path(env.xdgDataHome) / "quendra";
    if (!env.home.empty()) return fs::path(env.home) / ".local" / "share" / "quendra";
    return {};
}

void makeFolder(const fs::path& dir) {
    std::error_code made;
    fs::create_directories(dir, made);
    std::error_code ignored;
    if (fs::is_directory(dir, ignored)) return;
    std::string cause;
    if (made == std::errc::permission_denied) cause = ": accesso negato";
    if (made == std::errc::file_exists || made == std::errc::not_a_directory) cause = ": al suo posto c'è un file";
    const fs::path shown = dir.has_filename() ? dir : dir.parent_path();
    throw ProgramHomeError("Non è possibile creare la cartella dei dati " + shown.string() + cause + ".");
}

// Copied under a temporary name and renamed, so that a start that breaks off never
// leaves half a template that the next start would take as present.
void copyInto(const fs::path& source, const fs::path& target) {
    const fs::path partial = target.string() + ".part";
    std::error_code error;
    fs::copy_file(source, partial, fs::copy_options::overwrite_existing, error);
    if (!error) fs::permissions(partial, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
    if (!error) fs::rename(partial, target, error);
    if (error) {
        fs::remove(partial, error);
        throw ProgramHomeError("Non è possibile copiare " + source.filename().string() + " nella cartella dei dati " +
                               target.parent_path().string() + ".");
    }
}

bool present(const fs::path& file) {
    std::error_code ignored;
    return fs::exists(file, ignored);
}

void provideTemplate(const fs::path& installedData, const fs::path& userData, std::string_view table) {
    const fs::path source = resolveCaseBlind(installedData, table);
    if (!present(source) || present(resolveCaseBlind(userData, table))) return;
    copyInto(source, userData / table);
    // The index goes with its table, replacing any stray one that described another.
    const std::string index = indexFileName(table);
    const fs::path sourceIndex = resolveCaseBlind(installedData, index);
    if (present(sourceIndex)) copyInto(sourceIndex, resolveCaseBlind(userData, index));
}

void provideManuals(const fs::path& installDir, const fs::path& programDir) {
    std::error_code error;
    for (fs::directory_iterator it(installDir, error), end; !error && it != end; it.increment(error)) {
        const fs::path& source = it->path();
        if (source.extension() != ".pdf" || !it->is_regular_file()) continue;
        if (!present(resolveCaseBlind(programDir, source.filename().string()))) copyInto(source, programDir / source.filename());
    }
}

}  // namespace

HomeEnvironment HomeEnvironment::current() {
    return {environmentValue("QUENDRA_HOME"), environmentValue("XDG_DATA_HOME"), environmentValue("HOME")};
}

ProgramHome chooseProgramHome(const fs::path& installDir, const HomeEnvironment& env, const WritableCheck& writable) {
    ProgramHome home{installDir, installDir, writable(installDir)};
    if (!env.quendraHome.empty()) {
        home.programDir = env.quendraHome;
    } else if (!home.installWritable) {
        const fs::path user = userDataFolder(env);
        if (!user.empty()) {
            home.programDir = user;
            home.userFolder = true;
        }
    }
    return home;
}

bool isWritableDirectory(const fs::path& dir) {
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return false;
    if (::geteuid() != 0) return true;
    struct stat status {};
    return ::stat(dir.c_str(), &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

fs::path executableFile() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : executable;
}

fs::path installDirectory() {
    const fs::path executable = executableFile();
    return executable.empty() ? fs::current_path() : executable.parent_path();
}

ProgramHome currentProgramHome() {
    return chooseProgramHome(installDirectory(), HomeEnvironment::current(), isWritableDirectory);
}

void provideProgramHome(const ProgramHome& home) {
    if (!home.userFolder) return;
    const fs::path userData = dataDirectory(home.programDir);
    makeFolder(userData);
    const fs::path installedData = dataDirectory(home.installDir);
    provideTemplate(installedData, userData, kJournalTemplate);
    provideTemplate(installedData, userData, kChartTemplate);
    provideManuals(home.installDir, home.programDir);
}

}  // namespace quendra::storage
