#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace quendra::storage {

// Where the program keeps its data (the program directory: krw/ with the year files, the
// templates, tovald.INI and the backups, and the manuals beside krw/) and where it was
// installed (the directory of the running executable, with the files it ships).
struct ProgramHome {
    std::filesystem::path programDir;
    std::filesystem::path installDir;
    // False for an installation nobody may write (a system package): the program file
    // stays as installed and the data go to the user's own folder.
    bool installWritable = true;
    // The program directory is the user's own data folder, chosen for that reason.
    bool userFolder = false;
};

// The environment the choice reads; empty means unset.
struct HomeEnvironment {
    std::string quendraHome;  // QUENDRA_HOME
    std::string xdgDataHome;  // XDG_DATA_HOME
    std::string home;         // HOME
    static HomeEnvironment current();
};

using WritableCheck = std::function<bool(const std::filesystem::path&)>;

// The program directory is QUENDRA_HOME when set; else the installation directory when
// it is writable (a built tree, a copy on a USB stick); else $XDG_DATA_HOME/quendra, or
// $HOME/.local/share/quendra when XDG_DATA_HOME is unset or not absolute. Without
// either the installation directory is all there is.
ProgramHome chooseProgramHome(const std::filesystem::path& installDir, const HomeEnvironment& env,
                              const WritableCheck& writable);

// True when this process may create files in dir. The superuser passes every access
// check, so for it a directory without any write bit counts as read-only: an
// installation meant to stay as installed stays so whoever runs it.
bool isWritableDirectory(const std::filesystem::path& dir);

// The running executable's own file; empty when it is unknown.
std::filesystem::path executableFile();

// The directory of the running executable (the working directory when it is unknown).
std::filesystem::path installDirectory();

// The choice for this process: its executable, its environment, the real access check.
ProgramHome currentProgramHome();

// The program directory cannot be made ready; the message is Italian.
class ProgramHomeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Makes the user's own data folder ready for a start (nothing to do for any other
// program directory): creates it and its krw/, and copies from the installation the templates (each table with its
// index) and the manuals (*.pdf) that it lacks. What is there already is kept: it may be
// newer, fetched by the update. Throws ProgramHomeError when a folder or a copy fails.
void provideProgramHome(const ProgramHome& home);

}  // namespace quendra::storage
