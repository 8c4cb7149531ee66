#include <gtest/gtest.h>

#include <clocale>

// The program runs in its user's locale (QApplication adopts it); so do the tests, so
// that a suite run under it_IT.UTF-8 sees what an Italian desktop sees.
int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
