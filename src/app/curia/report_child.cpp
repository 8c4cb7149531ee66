#include "report_child.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace quendra::curia {

namespace fs = std::filesystem;

namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "quendra-curia-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Exit status of the program, or -1 when it could not run.
int run(const std::vector<std::string>& args, const fs::path& log) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    // The documents never depend on the server's language settings.
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (!std::string_view(*e).starts_with("LC_ALL=")) env.push_back(*e);
    }
    std::string plainLocale = "LC_ALL=C.UTF-8";
    env.push_back(plainLocale.data());
    env.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

MadeDocument makeDocument(const fs::path& reportProgram, std::string_view kind, const fs::path& journal,
                          const fs::path& chart, const std::string& yearNumber) {
    const ScratchFolder scratch;
    if (scratch.path().empty()) return {{}, "Impossibile creare una cartella temporanea"};
    const fs::path journalCopy = scratch.path() / ("KR" + yearNumber + ".dbf");
    const fs::path chartCopy = scratch.path() / ("KW" + yearNumber + ".dbf");
    std::error_code error;
    fs::copy_file(journal, journalCopy, error);
    if (!error) fs::copy_file(chart, chartCopy, error);
    if (error) return {{}, "Impossibile copiare i file dell'archivio: " + error.message()};

    const bool workbook = kind == "cartella";
    const fs::path output = scratch.path() / (workbook ? "documento.xlsx" : "documento.pdf");
    const fs::path log = scratch.path() / "messaggi.txt";
    const int status = run({reportProgram.string(), "--journal", journalCopy.string(), "--chart", chartCopy.string(),
                            "--year", yearNumber, std::string(kind), workbook ? "--xlsx" : "--pdf", output.string()},
                           log);
    if (status != 0) {
        std::string said = fileBytes(log);
        while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) said.pop_back();
        return {{}, status < 0 ? "Impossibile avviare " + reportProgram.string()
                               : "La stampa non è riuscita: " + said};
    }
    return {fileBytes(output), {}};
}

}  // namespace quendra::curia
