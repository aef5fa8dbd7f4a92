// Key translation for the web platform; see the header for the rules.
#include "framework/web/WebKeyTranslator.h"

#include "framework/IKeyEvent.h"

#include <cstring>

namespace lum {

namespace {

struct NamedKey {
    const char* name;
    unsigned int code;
};

constexpr NamedKey NAMED_KEYS[] = {
    {"Escape", KEY_ESCAPE},   {"Esc", KEY_ESCAPE},         {"Enter", KEY_ENTER},     {"Backspace", KEY_BACKSPACE},
    {"Delete", KEY_DELETE},   {"Del", KEY_DELETE},         {"Tab", KEY_TAB},         {"ArrowLeft", KEY_LEFT},
    {"Left", KEY_LEFT},       {"ArrowUp", KEY_UP},         {"Up", KEY_UP},           {"ArrowRight", KEY_RIGHT},
    {"Right", KEY_RIGHT},     {"ArrowDown", KEY_DOWN},     {"Down", KEY_DOWN},       {"Spacebar", KEY_SPACE},
};

bool isAsciiLetter(unsigned int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

} // namespace

unsigned int WebKeyTranslator::translate(const char* key, bool ctrl, bool alt) {
    if (key == nullptr || key[0] == '\0') return KEY_NONE;
    const unsigned int character = singleCharacter(key);
    if (character != 0) return translateCharacter(character, ctrl, alt);
    return translateNamed(key);
}

unsigned int WebKeyTranslator::translateCharacter(unsigned int character, bool ctrl, bool alt) {
    // Ctrl together with Alt is AltGr on many layouts: the character stands.
    if (ctrl && !alt) {
        if (isAsciiLetter(character)) return (character | 0x20) - 'a' + 1;
        if (character == '[' || character == '\\' || character == ']') return character - 0x40;
        return KEY_NONE;
    }
    // Only the characters of one byte have a code of their own.
    return character <= 0xFF ? character : unsigned{KEY_NONE};
}

unsigned int WebKeyTranslator::translateNamed(const char* key) {
    if (key[0] == 'F' && key[1] >= '1' && key[1] <= '9') {
        unsigned int number = static_cast<unsigned int>(key[1] - '0');
        if (key[2] >= '0' && key[2] <= '9' && key[3] == '\0') number = number * 10 + static_cast<unsigned int>(key[2] - '0');
        else if (key[2] != '\0') return KEY_NONE;
        if (number >= 1 && number <= 12) return KEY_F1 + (number - 1);
        return KEY_NONE;
    }
    for (const NamedKey& named : NAMED_KEYS) {
        if (std::strcmp(key, named.name) == 0) return named.code;
    }
    return KEY_NONE;
}

unsigned int WebKeyTranslator::singleCharacter(const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const unsigned char lead = bytes[0];
    unsigned int length = 0;
    unsigned int value = 0;
    if (lead < 0x80) {
        length = 1;
        value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    for (unsigned int i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (bytes[i] & 0x3F);
    }
    return bytes[length] == '\0' ? value : 0;
}

bool WebKeyTranslator::isReservedForGame(unsigned int keyCode) {
    switch (keyCode) {
    case KEY_SPACE:
    case KEY_TAB:
    case KEY_ENTER:
    case KEY_BACKSPACE:
    case KEY_ESCAPE:
    case KEY_F1:
    case KEY_F11:
    case KEY_LEFT:
    case KEY_UP:
    case KEY_RIGHT:
    case KEY_DOWN:
        return true;
    default:
        return false;
    }
}

} // namespace lum
