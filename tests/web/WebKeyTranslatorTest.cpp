// The DOM key texts the browser reports, turned into the framework's codes.
#include "framework/web/WebKeyTranslator.h"

#include "framework/IKeyEvent.h"

#include <gtest/gtest.h>

namespace {

using lum::WebKeyTranslator;

TEST(WebKeyTranslator, KeyTextsWithCtrlAndAltGrGiveTheFrameworkCodes) {
    const struct {
        const char* key;
        bool ctrl, altGr;
        unsigned int expected;
    } cases[] = {
        // Characters are their own codes, Shift or Caps Lock applied by the browser.
        {"a", false, false, 97}, {"A", false, false, 65}, {"7", false, false, 55}, {"!", false, false, 33},
        {" ", false, false, lum::KEY_SPACE}, {"\xC3\xA9", false, false, 0xE9}, // é, two bytes of UTF-8
        {"\xE2\x82\xAC", false, false, 0}, {"\xF0\x9F\x98\x80", false, false, 0}, // no code of one byte
        // Named keys take the fixed codes.
        {"Escape", false, false, lum::KEY_ESCAPE}, {"Enter", false, false, 13}, {"Backspace", false, false, 8},
        {"Delete", false, false, 8}, {"Tab", false, false, 9}, {"F1", false, false, 128}, {"F9", false, false, 136},
        {"F10", false, false, 137}, {"F12", false, false, 139}, {"ArrowLeft", false, false, 140},
        {"ArrowUp", false, false, 141}, {"ArrowRight", false, false, 142}, {"ArrowDown", false, false, 143},
        // Other keys, and texts that are not one whole character, give nothing.
        {"Shift", false, false, 0}, {"Control", false, false, 0}, {"F13", false, false, 0}, {"F0", false, false, 0},
        {"F1x", false, false, 0}, {"Dead", false, false, 0}, {"", false, false, 0}, {nullptr, false, false, 0},
        {"\xC3", false, false, 0}, {"\x80", false, false, 0}, {"\xC3\x28", false, false, 0},
        // Ctrl gives control codes (none with a digit); AltGr keeps the character (AltGr+Q on a German layout).
        {"a", true, false, 1}, {"Z", true, false, 26}, {"[", true, false, 27}, {"]", true, false, 29},
        {"1", true, false, 0}, {"@", true, true, 64}, {"Escape", true, false, 27}, {"ArrowUp", true, false, 141},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WebKeyTranslator::translate(c.key, c.ctrl, c.altGr), c.expected) << (c.key ? c.key : "(null)");
}

TEST(WebKeyTranslator, OnlyTheGamesKeysAreKeptFromTheBrowser) {
    for (unsigned int code : {32u, 9u, 13u, 8u, 27u, 128u, 140u, 141u, 142u, 143u})
        EXPECT_TRUE(WebKeyTranslator::isReservedForGame(code)) << code;
    // Reloading (F5), full screen (F11), developer tools (F12) and typing stay the browser's.
    for (unsigned int code : {0u, 97u, 65u, 132u, 138u, 139u, 1u})
        EXPECT_FALSE(WebKeyTranslator::isReservedForGame(code)) << code;
}

} // namespace
