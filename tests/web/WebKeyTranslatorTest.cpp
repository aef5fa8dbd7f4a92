// The DOM key texts the browser reports, turned into the framework's codes.
#include "framework/web/WebKeyTranslator.h"

#include "framework/IKeyEvent.h"

#include <gtest/gtest.h>

namespace {

using lum::WebKeyTranslator;

TEST(WebKeyTranslator, KeyTextsWithCtrlAndAltGrGiveTheFrameworkCodesAndOnlyTheGamesAreKeptFromTheBrowser) {
    const struct {
        const char* key;
        unsigned int expected;
        bool ctrl = false, altGr = false;
    } cases[] = {
        // Characters are their own codes, Shift or Caps Lock applied by the browser.
        {"a", 97}, {"A", 65}, {"7", 55}, {"!", 33}, {" ", lum::KEY_SPACE}, {"\xC3\xA9", 0xE9}, // é, two bytes of UTF-8
        {"\xE2\x82\xAC", 0}, {"\xF0\x9F\x98\x80", 0}, // no code of one byte
        // Named keys take the fixed codes.
        {"Escape", lum::KEY_ESCAPE}, {"Enter", 13}, {"Backspace", 8}, {"Delete", 8}, {"Tab", 9}, {"F1", 128},
        {"F9", 136}, {"F10", 137}, {"F12", 139}, {"ArrowLeft", 140}, {"ArrowUp", 141}, {"ArrowRight", 142},
        {"ArrowDown", 143},
        // Other keys, and texts that are not one whole character, give nothing.
        {"Shift", 0}, {"Control", 0}, {"F13", 0}, {"F0", 0}, {"F1x", 0}, {"Dead", 0}, {"", 0}, {nullptr, 0},
        {"\xC3", 0}, {"\x80", 0}, {"\xC3\x28", 0},
        // Ctrl gives control codes (none with a digit); AltGr keeps the character (AltGr+Q on a German layout).
        {"a", 1, true}, {"Z", 26, true}, {"[", 27, true}, {"]", 29, true}, {"1", 0, true}, {"@", 64, true, true},
        {"Escape", 27, true}, {"ArrowUp", 141, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WebKeyTranslator::translate(c.key, c.ctrl, c.altGr), c.expected) << (c.key ? c.key : "(null)");
    // The browser keeps its action for every key but the game's and full screen's (F11).
    for (unsigned int code : {32u, 9u, 13u, 8u, 27u, 128u, 138u, 140u, 141u, 142u, 143u})
        EXPECT_TRUE(WebKeyTranslator::isReservedForGame(code)) << code;
    // Reloading (F5), developer tools (F12) and typing stay the browser's.
    for (unsigned int code : {0u, 97u, 65u, 132u, 139u, 1u})
        EXPECT_FALSE(WebKeyTranslator::isReservedForGame(code)) << code;
}

} // namespace
