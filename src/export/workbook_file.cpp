#include "export/workbook_file.h"

#include "export/export_error.h"
#include "export/workbook_application.h"

#include <xlsxwriter.h>

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <fcntl.h>
#include <locale.h>
#include <string>
#include <unistd.h>

namespace quendra::spreadsheet {

namespace {

std::string systemCause(int error) {
    switch (error) {
    case ENOSPC: return "spazio su disco esaurito";
    case EDQUOT: return "quota del disco superata";
    case EACCES:
    case EPERM: return "accesso negato";
    case EROFS: return "il disco è di sola lettura";
    case ENOENT: return "la cartella non esiste";
    case ENOTDIR: return "nel percorso c'è un file al posto di una cartella";
    case EISDIR:
    case ENOTEMPTY: return "al posto del file c'è una cartella";
    case ENAMETOOLONG: return "il nome è troppo lungo";
    case EIO: return "errore di lettura o scrittura sul disco";
    case EMFILE:
    case ENFILE: return "troppi file aperti";
    default: return "errore di sistema " + std::to_string(error);
    }
}

std::string libraryCause(lxw_error error, int systemError) {
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED: return "memoria insufficiente";
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED: return "un testo è più lungo dei 32.767 caratteri di una cella";
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE: return "un foglio supererebbe le 1.048.576 righe";
    default: return systemError != 0 ? systemCause(systemError) : "errore interno n. " + std::to_string(int(error));
    }
}

constexpr const char* kAuthor = "Quendra";

[[noreturn]] void fail(const std::filesystem::path& target, const std::string& cause) {
    throw ExportError("Impossibile salvare la cartella di lavoro \"" + target.string() + "\": " + cause + ".");
}

// A replaced file keeps its mode; a new one gets what the umask leaves of 0666, so that
// the office's other accounts and shared folders can open it.
mode_t modeFor(const std::filesystem::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The temporary file beside the target; removed on the way out unless kept.
class AsideFile {
public:
    explicit AsideFile(const std::filesystem::path& target) {
        std::string name = ".";
        name += target.filename().string();
        name += ".XXXXXX";
        std::string pattern = (target.parent_path() / name).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) fail(target, systemCause(errno));
        const bool moded = ::fchmod(fd, modeFor(target)) == 0;
        const int modeError = errno;
        ::close(fd);
        path_ = pattern;
        if (!moded) fail(target, systemCause(modeError));
    }
    ~AsideFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    AsideFile(const AsideFile&) = delete;
    AsideFile& operator=(const AsideFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Flushes the file to disk and renames it over the target; errno on failure.
    int replace(const std::filesystem::path& target) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errno;
        const bool synced = ::fsync(fd) == 0;
        const int syncError = errno;
        ::close(fd);
        if (!synced) return syncError;
        if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
        path_.clear();
        if (const int dir = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return 0;
    }

private:
    std::filesystem::path path_;
};

// libxlsxwriter prints numbers with the C library, which under an Italian desktop would
// write "2075,5": spreadsheet programs then read 2075. The writing thread uses the C
// rules for numbers while the guard lives, whatever the program's locale.
class CNumbersOnThisThread {
public:
    CNumbersOnThisThread() {
        const locale_t current = ::duplocale(LC_GLOBAL_LOCALE);
        if (current == locale_t(0)) return;
        c_ = ::newlocale(LC_NUMERIC_MASK, "C", current);
        if (c_ == locale_t(0)) {
            ::freelocale(current);
            return;
        }
        previous_ = ::uselocale(c_);
    }
    ~CNumbersOnThisThread() {
        if (c_ == locale_t(0)) return;
        ::uselocale(previous_);
        ::freelocale(c_);
    }
    CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
    CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;

private:
    locale_t c_ = locale_t(0);
    locale_t previous_ = locale_t(0);
};

// A spreadsheet reads "_x0041_" as "A": the underscore that opens such a text (either
// case of x, as readers differ) is written as "_x005F_" so that the text reads back as it
// stands.
std::string escapedText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool code = text[i] == '_' && i + 6 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
                          text[i + 6] == '_' &&
                          std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
                          std::isxdigit(static_cast<unsigned char>(text[i + 3])) &&
                          std::isxdigit(static_cast<unsigned char>(text[i + 4])) &&
                          std::isxdigit(static_cast<unsigned char>(text[i + 5]));
        out += code ? std::string("_x005F_") : std::string(1, text[i]);
    }
    return out;
}

// Amounts to the cent: sums of binary fractions carry tails (34096.340000000004).
double toTheCent(double value) {
    const double cents = std::round(value * 100) / 100;
    return cents == 0 ? 0.0 : cents;
}

// Writes every cell row by row, which the constant-memory mode requires; the first
// failure is kept.
lxw_error writeSheet(lxw_worksheet* worksheet, const Sheet& sheet) {
    for (std::size_t row = 1; row <= sheet.lastRow(); ++row) {
        const std::vector<CellValue>& cells = sheet.row(row);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            const CellValue& cell = cells[column];
            const auto r = lxw_row_t(row - 1);
            const auto c = lxw_col_t(column);
            lxw_error result = LXW_NO_ERROR;
            if (const auto* text = std::get_if<std::string>(&cell)) {
                result = worksheet_write_string(worksheet, r, c, escapedText(*text).c_str(), nullptr);
            } else if (const auto* number = std::get_if<double>(&cell)) {
                result = worksheet_write_number(worksheet, r, c, toTheCent(*number), nullptr);
            }
            if (result != LXW_NO_ERROR) return result;
        }
    }
    return LXW_NO_ERROR;
}

}  // namespace

void saveWorkbook(const Workbook& book, const std::filesystem::path& target) {
    const auto sheets = book.sheets();
    saveSheets(sheets, book.title(), target);
}

void saveSheets(std::span<const Sheet* const> sheets, const std::string& title, const std::filesystem::path& target) {
    if (!target.parent_path().empty()) {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        // A file where a folder should be makes the library say "exists".
        if (error) fail(target, systemCause(error.value() == EEXIST ? ENOTDIR : error.value()));
    }
    AsideFile aside(target);
    const CNumbersOnThisThread cNumbers;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(aside.path().c_str(), &options);
    if (workbook == nullptr) fail(target, libraryCause(LXW_ERROR_MEMORY_MALLOC_FAILED, 0));
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.c_str());
    properties.author = const_cast<char*>(kAuthor);
    workbook_set_properties(workbook, &properties);

    lxw_error written = LXW_NO_ERROR;
    for (const Sheet* sheet : sheets) {
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, sheet->name().c_str());
        written = worksheet == nullptr ? LXW_ERROR_CREATING_TMPFILE : writeSheet(worksheet, *sheet);
        if (written != LXW_NO_ERROR) break;
    }
    errno = 0;
    // Closing writes the file; it is also what frees the workbook, so it runs on failure too.
    const lxw_error closed = workbook_close(workbook);
    const int closeErrno = errno;
    if (written != LXW_NO_ERROR) fail(target, libraryCause(written, 0));
    if (closed != LXW_NO_ERROR) fail(target, libraryCause(closed, closeErrno));
    AsideFile named(target);
    errno = 0;
    if (!copyNamingApplication(aside.path(), named.path(), kAuthor)) fail(target, systemCause(errno != 0 ? errno : EIO));
    if (const int error = named.replace(target); error != 0) fail(target, systemCause(error));
}

}  // namespace quendra::spreadsheet
