// The DOM key texts the browser reports, turned into the framework's codes.
#include "framework/web/WebKeyTranslator.h"

#include "framework/IKeyEvent.h"

#include <gtest/gtest.h>

using lum::WebKeyTranslator;

namespace {

unsigned int plain(const char* key) { return WebKeyTranslator::translate(key, false, false); }

} // namespace

TEST(WebKeyTranslator, CharactersAreTheirOwnCodes) {
    EXPECT_EQ(plain("a"), 97u);
    EXPECT_EQ(plain("A"), 65u); // Shift or Caps Lock applied by the browser
    EXPECT_EQ(plain("7"), 55u);
    EXPECT_EQ(plain("!"), 33u);
    EXPECT_EQ(plain(" "), unsigned{lum::KEY_SPACE});
    EXPECT_EQ(plain("\xC3\xA9"), 0xE9u);   // é, two bytes of UTF-8
    EXPECT_EQ(plain("\xE2\x82\xAC"), 0u);  // €: no code of one byte
    EXPECT_EQ(plain("\xF0\x9F\x98\x80"), 0u);
}

TEST(WebKeyTranslator, NamedKeysTakeTheFixedCodes) {
    EXPECT_EQ(plain("Escape"), unsigned{lum::KEY_ESCAPE});
    EXPECT_EQ(plain("Enter"), 13u);
    EXPECT_EQ(plain("Backspace"), 8u);
    EXPECT_EQ(plain("Delete"), 8u);
    EXPECT_EQ(plain("Tab"), 9u);
    EXPECT_EQ(plain("F1"), 128u);
    EXPECT_EQ(plain("F9"), 136u);
    EXPECT_EQ(plain("F10"), 137u);
    EXPECT_EQ(plain("F12"), 139u);
    EXPECT_EQ(plain("ArrowLeft"), 140u);
    EXPECT_EQ(plain("ArrowUp"), 141u);
    EXPECT_EQ(plain("ArrowRight"), 142u);
    EXPECT_EQ(plain("ArrowDown"), 143u);
}

TEST(WebKeyTranslator, OtherKeysAreZero) {
    EXPECT_EQ(plain("Shift"), 0u);
    EXPECT_EQ(plain("Control"), 0u);
    EXPECT_EQ(plain("F13"), 0u);
    EXPECT_EQ(plain("F0"), 0u);
    EXPECT_EQ(plain("F1x"), 0u);
    EXPECT_EQ(plain("Dead"), 0u);
    EXPECT_EQ(plain(""), 0u);
    EXPECT_EQ(WebKeyTranslator::translate(nullptr, false, false), 0u);
    EXPECT_EQ(plain("\xC3"), 0u);     // a cut-off sequence
    EXPECT_EQ(plain("\x80"), 0u);     // a stray continuation byte
    EXPECT_EQ(plain("\xC3\x28"), 0u); // a lead byte without its continuation
}

TEST(WebKeyTranslator, CtrlGivesControlCodesAndAltGrKeepsTheCharacter) {
    EXPECT_EQ(WebKeyTranslator::translate("a", true, false), 1u);
    EXPECT_EQ(WebKeyTranslator::translate("Z", true, false), 26u);
    EXPECT_EQ(WebKeyTranslator::translate("[", true, false), 27u);
    EXPECT_EQ(WebKeyTranslator::translate("]", true, false), 29u);
    EXPECT_EQ(WebKeyTranslator::translate("1", true, false), 0u);
    EXPECT_EQ(WebKeyTranslator::translate("@", true, true), 64u); // AltGr+Q on a German layout
    EXPECT_EQ(WebKeyTranslator::translate("Escape", true, false), 27u);
    EXPECT_EQ(WebKeyTranslator::translate("ArrowUp", true, false), 141u);
}

TEST(WebKeyTranslator, OnlyTheGamesKeysAreKeptFromTheBrowser) {
    for (unsigned int code : {32u, 9u, 13u, 8u, 27u, 128u, 140u, 141u, 142u, 143u}) {
        EXPECT_TRUE(WebKeyTranslator::isReservedForGame(code)) << code;
    }
    // Reloading (F5), full screen (F11), developer tools (F12) and typing stay the browser's.
    for (unsigned int code : {0u, 97u, 65u, 132u, 138u, 139u, 1u}) {
        EXPECT_FALSE(WebKeyTranslator::isReservedForGame(code)) << code;
    }
}
