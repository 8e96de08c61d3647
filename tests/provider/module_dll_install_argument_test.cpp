// DllInstall's command line: "user" in any case, terminator included, asks for per-user
// registration; anything else does not.
#include "provider/dll_install_argument.h"

#include <gtest/gtest.h>

namespace {

TEST(DllInstallArgumentTest, OnlyUserInAnyCaseIsPerUser) {
    for (const char16_t* yes : {u"user", u"USER", u"User", u"uSeR"})
        EXPECT_TRUE(IsPerUserCommandLine(yes)) << static_cast<char>(yes[0]);
    for (const char16_t* no : {u"users", u"use", u"", u"user ", u" user", u"usr", u"machine"})
        EXPECT_FALSE(IsPerUserCommandLine(no));
    EXPECT_FALSE(IsPerUserCommandLine(nullptr));
}

TEST(DllInstallArgumentTest, StopsReadingAtTheFirstMismatch) {
    // A one-character text: the comparison ends at its terminator and reads nothing beyond.
    const char16_t shortText[] = {u'u', 0};
    EXPECT_FALSE(IsPerUserCommandLine(shortText));
}

}  // namespace
