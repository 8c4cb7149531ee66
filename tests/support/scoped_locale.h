#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace quendra::test {

// The desktop locales of our users, whose numbers use a decimal comma.
inline const char* const kCommaLocales[] = {"it_IT.UTF-8", "de_DE.UTF-8"};

// Puts the whole process (C library and, through it, every printf and strtod) into a
// locale for the life of the guard. A locale the machine lacks fails the test: `./dev
// test` generates both.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
        if (std::setlocale(LC_ALL, name) == nullptr) {
            ADD_FAILURE() << "locale " << name << " missing on this machine (localedef -i it_IT -f UTF-8 …)";
        }
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    std::string previous_;
};

}  // namespace quendra::test
