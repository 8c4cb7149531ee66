#pragma once

#include <string>

namespace quendra::platform {

// Captions and button texts of the standard message boxes in one language.
struct StandardDialogTexts {
    std::string warning, error, information, confirmation;
    std::string yes, no, ok, cancel, abort, retry, ignore, all, noToAll, yesToAll, help;
};

enum class DialogLanguage { German = 1, Italian = 2 };

const StandardDialogTexts& standardDialogTexts(DialogLanguage language);

}  // namespace quendra::platform
