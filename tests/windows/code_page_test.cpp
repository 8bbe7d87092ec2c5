// The Windows build runs with the ANSI code page of the system it serves: 936 (GBK) here.
#include <gtest/gtest.h>

#include "platform/win32_api.h"

TEST(CodePage, IsGbk) { EXPECT_EQ(GetACP(), 936u) << "run under a zh_CN locale (scripts/wine-exec)"; }

TEST(CodePage, LowerCasesAsciiLettersOnly) {
    // 0xB1 0xEA is a GBK character whose second byte is no letter: only ASCII letters change.
    char text[] = "\xCD\xBC\xB1\xEA.ICO";
    CharLowerBuffA(text, 8);
    EXPECT_STREQ(text, "\xCD\xBC\xB1\xEA.ico");
}
