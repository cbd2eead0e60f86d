#include "platform/KeyCodes.h"

#include <array>

namespace plat {
namespace {

struct Key {
    int dik;
    int vk;  // the code a key-down window message carries (Num Lock on)
    const char* name;
};

// Every key of a 105-key PC keyboard, in DIK order. DIK codes are set-1
// scancodes, extended (E0) keys with 0x80 added; Pause sends E1 1D 45 and
// is given 0xC5 by convention.
constexpr Key kKeys[] = {
    {0x01, 0x1B, "ESC"},
    {0x02, '1', "1"}, {0x03, '2', "2"}, {0x04, '3', "3"}, {0x05, '4', "4"}, {0x06, '5', "5"},
    {0x07, '6', "6"}, {0x08, '7', "7"}, {0x09, '8', "8"}, {0x0A, '9', "9"}, {0x0B, '0', "0"},
    {0x0C, 0xBD, "-"},
    {0x0D, 0xBB, "="},
    {0x0E, 0x08, "BACKSPACE"},
    {0x0F, 0x09, "TAB"},
    {0x10, 'Q', "Q"}, {0x11, 'W', "W"}, {0x12, 'E', "E"}, {0x13, 'R', "R"}, {0x14, 'T', "T"},
    {0x15, 'Y', "Y"}, {0x16, 'U', "U"}, {0x17, 'I', "I"}, {0x18, 'O', "O"}, {0x19, 'P', "P"},
    {0x1A, 0xDB, "["},
    {0x1B, 0xDD, "]"},
    {0x1C, 0x0D, "ENTER"},
    {0x1D, 0x11, "LEFT CTRL"},
    {0x1E, 'A', "A"}, {0x1F, 'S', "S"}, {0x20, 'D', "D"}, {0x21, 'F', "F"}, {0x22, 'G', "G"},
    {0x23, 'H', "H"}, {0x24, 'J', "J"}, {0x25, 'K', "K"}, {0x26, 'L', "L"},
    {0x27, 0xBA, ";"},
    {0x28, 0xDE, "'"},
    {0x29, 0xC0, "`"},
    {0x2A, 0x10, "LEFT SHIFT"},
    {0x2B, 0xDC, "\\"},
    {0x2C, 'Z', "Z"}, {0x2D, 'X', "X"}, {0x2E, 'C', "C"}, {0x2F, 'V', "V"}, {0x30, 'B', "B"},
    {0x31, 'N', "N"}, {0x32, 'M', "M"},
    {0x33, 0xBC, ","},
    {0x34, 0xBE, "."},
    {0x35, 0xBF, "/"},
    {0x36, 0x10, "RIGHT SHIFT"},
    {0x37, 0x6A, "NUM *"},
    {0x38, 0x12, "LEFT ALT"},
    {0x39, 0x20, "SPACE"},
    {0x3A, 0x14, "CAPS LOCK"},
    {0x3B, 0x70, "F1"}, {0x3C, 0x71, "F2"}, {0x3D, 0x72, "F3"}, {0x3E, 0x73, "F4"},
    {0x3F, 0x74, "F5"}, {0x40, 0x75, "F6"}, {0x41, 0x76, "F7"}, {0x42, 0x77, "F8"},
    {0x43, 0x78, "F9"}, {0x44, 0x79, "F10"},
    {0x45, 0x90, "NUM LOCK"},
    {0x46, 0x91, "SCROLL LOCK"},
    {0x47, 0x67, "NUM 7"}, {0x48, 0x68, "NUM 8"}, {0x49, 0x69, "NUM 9"},
    {0x4A, 0x6D, "NUM -"},
    {0x4B, 0x64, "NUM 4"}, {0x4C, 0x65, "NUM 5"}, {0x4D, 0x66, "NUM 6"},
    {0x4E, 0x6B, "NUM +"},
    {0x4F, 0x61, "NUM 1"}, {0x50, 0x62, "NUM 2"}, {0x51, 0x63, "NUM 3"},
    {0x52, 0x60, "NUM 0"},
    {0x53, 0x6E, "NUM DEL"},
    {0x56, 0xE2, "102ND"},  // the extra key left of Z on 105-key boards
    {0x57, 0x7A, "F11"},
    {0x58, 0x7B, "F12"},
    {0x9C, 0x0D, "NUM ENTER"},
    {0x9D, 0x11, "RIGHT CTRL"},
    {0xB5, 0x6F, "NUM /"},
    {0xB7, 0x2C, "PRINT SCREEN"},
    {0xB8, 0x12, "RIGHT ALT"},
    {0xC5, 0x13, "PAUSE"},
    {0xC7, 0x24, "HOME"},
    {0xC8, 0x26, "ARROW UP"},
    {0xC9, 0x21, "PAGE UP"},
    {0xCB, 0x25, "ARROW LEFT"},
    {0xCD, 0x27, "ARROW RIGHT"},
    {0xCF, 0x23, "END"},
    {0xD0, 0x28, "ARROW DOWN"},
    {0xD1, 0x22, "PAGE DOWN"},
    {0xD2, 0x2D, "INSERT"},
    {0xD3, 0x2E, "DELETE"},
    {0xDB, 0x5B, "LEFT WIN"},
    {0xDC, 0x5C, "RIGHT WIN"},
    {0xDD, 0x5D, "MENU"},
};

// Virtual-key codes that name one side of a key pair, or a keypad key with
// Num Lock off, which the generic table above does not answer.
constexpr int kExtraVk[][2] = {
    {0xA0, 0x2A}, {0xA1, 0x36},  // left / right Shift
    {0xA2, 0x1D}, {0xA3, 0x9D},  // left / right Control
    {0xA4, 0x38}, {0xA5, 0xB8},  // left / right Alt
    {0x0C, 0x4C},                // Clear: keypad 5 without Num Lock
};

struct Tables {
    std::array<int, 256> vkOfDik{};
    std::array<int, 256> dikOfVk{};
    std::array<const char*, 256> name{};

    Tables() {
        for (const Key& k : kKeys) {
            vkOfDik[k.dik] = k.vk;
            name[k.dik] = k.name;
            // DIK order puts the main-block key of a shared code first.
            if (dikOfVk[k.vk] == 0) dikOfVk[k.vk] = k.dik;
        }
        for (const auto& e : kExtraVk) dikOfVk[e[0]] = e[1];
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

}  // namespace

int vkFromDik(int dik) {
    if (dik < 0 || dik > 255) return 0;
    return tables().vkOfDik[dik];
}

int dikFromVk(int vk) {
    if (vk < 0 || vk > 255) return 0;
    return tables().dikOfVk[vk];
}

const char* dikName(int dik) {
    if (dik < 0 || dik > 255) return "?";
    const char* n = tables().name[dik];
    return n ? n : "?";
}

}  // namespace plat
