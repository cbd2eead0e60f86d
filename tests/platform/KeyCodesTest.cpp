// The DIK and virtual-key tables and the SDL scancode table behind them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/KeyCodes.h"
#include "platform/SdlKeys.h"

namespace {

using namespace plat;

// Keys whose virtual-key code is shared by two physical keys.
bool sharedVk(int vk) { return vk == 0x0D || vk == 0x10 || vk == 0x11 || vk == 0x12; }

TEST(KeyCodes, EveryKeyHasOneCodeAndANameAndMapsBack) {
    std::set<std::string> names;
    int keys = 0;
    for (int dik = 0; dik < 256; ++dik) {
        int vk = vkFromDik(dik);
        std::string name = dikName(dik);
        EXPECT_EQ(vk == 0, name == "?") << dik;
        if (vk == 0) continue;
        ++keys;
        EXPECT_TRUE(names.insert(name).second) << "two keys named " << name;
        if (!sharedVk(vk)) {
            EXPECT_EQ(dikFromVk(vk), dik) << name;
        }
    }
    EXPECT_EQ(keys, 105);  // a full PC keyboard, the ISO key included
}

TEST(KeyCodes, SharedCodesAnswerTheMainBlockKeyAndSidedCodesTheirSide) {
    EXPECT_EQ(vkFromDik(0x1D), 0x11);  // both Control keys report VK_CONTROL
    EXPECT_EQ(vkFromDik(0x9D), 0x11);
    EXPECT_EQ(dikFromVk(0x11), 0x1D);
    EXPECT_EQ(dikFromVk(0xA2), 0x1D);
    EXPECT_EQ(dikFromVk(0xA3), 0x9D);
    EXPECT_EQ(vkFromDik(0x9C), VK_RETURN);
    EXPECT_EQ(dikFromVk(VK_RETURN), DIK_RETURN);
    EXPECT_EQ(dikFromVk(0x10), 0x2A);
    EXPECT_EQ(dikFromVk(0xA1), 0x36);
    EXPECT_EQ(dikFromVk(0xA5), 0xB8);
    EXPECT_EQ(dikFromVk(0x0C), 0x4C);  // Clear is keypad 5 without Num Lock
    EXPECT_STREQ(dikName(0x1D), "LEFT CTRL");
    EXPECT_STREQ(dikName(0x9D), "RIGHT CTRL");
}

TEST(KeyCodes, DefaultPlayerKeys) {
    struct K {
        int dik, vk;
        const char* name;
    };
    const K keys[] = {
        // player 1: arrows, Enter, right Control
        {DIK_UP, VK_UP, "ARROW UP"}, {DIK_DOWN, VK_DOWN, "ARROW DOWN"},
        {DIK_LEFT, VK_LEFT, "ARROW LEFT"}, {DIK_RIGHT, VK_RIGHT, "ARROW RIGHT"},
        {DIK_RETURN, VK_RETURN, "ENTER"}, {0x9D, 0x11, "RIGHT CTRL"},
        // player 2: W S A D Tab Q
        {0x11, 'W', "W"}, {0x1F, 'S', "S"}, {0x1E, 'A', "A"}, {0x20, 'D', "D"},
        {0x0F, 0x09, "TAB"}, {0x10, 'Q', "Q"},
        // player 3: O L K ;: 8 I
        {0x18, 'O', "O"}, {0x26, 'L', "L"}, {0x25, 'K', "K"}, {0x27, 0xBA, ";"},
        {0x09, '8', "8"}, {0x17, 'I', "I"},
        // player 4: keypad 8 5 4 6 0 Del
        {0x48, 0x68, "NUM 8"}, {0x4C, 0x65, "NUM 5"}, {0x4B, 0x64, "NUM 4"},
        {0x4D, 0x66, "NUM 6"}, {0x52, 0x60, "NUM 0"}, {0x53, 0x6E, "NUM DEL"},
        // fixed keys
        {DIK_ESCAPE, VK_ESCAPE, "ESC"}, {0xD3, 0x2E, "DELETE"},
    };
    for (const K& k : keys) {
        EXPECT_EQ(vkFromDik(k.dik), k.vk) << k.name;
        EXPECT_STREQ(dikName(k.dik), k.name);
    }
}

TEST(KeyCodes, CodesOutsideTheTablesAnswerNothing) {
    for (int dik : {-1000, -1, 0, 0x54, 0x55, 0xFF, 256, 1 << 30}) {
        EXPECT_EQ(vkFromDik(dik), 0) << dik;
        EXPECT_STREQ(dikName(dik), "?") << dik;
    }
    for (int vk : {-1, 0, 0x07, 0x0A, 0x3A, 0xFF, 256}) EXPECT_EQ(dikFromVk(vk), 0) << vk;
}

TEST(SdlKeyTable, CoversEveryKeyOnceAndFollowsNumLock) {
    using namespace plat::internal;
    std::map<int, int> scancodesPerDik;
    for (int sc = -1; sc <= sdlScancodeCount(); ++sc) {
        int dik = dikFromSdlScancode(sc);
        if (dik == 0) continue;
        EXPECT_NE(vkFromDik(dik), 0) << "scancode " << sc;
        ++scancodesPerDik[dik];
    }
    EXPECT_EQ(scancodesPerDik.size(), 105u);
    for (auto [dik, n] : scancodesPerDik)
        EXPECT_EQ(n, dik == 0x2B ? 2 : 1) << dikName(dik);  // ISO '#' shares the '\' position

    // Scancodes are USB usage ids: 82 Up, 88 keypad Enter, 92 keypad 4, 93 keypad 5,
    // 96 keypad 8, 98 keypad 0, 99 keypad '.', 224 left Ctrl, 228 right Ctrl.
    EXPECT_EQ(dikFromSdlScancode(228), 0x9D);
    EXPECT_EQ(dikFromSdlScancode(224), 0x1D);
    EXPECT_EQ(messageVkFromSdlScancode(228, true), 0x11);
    EXPECT_EQ(messageVkFromSdlScancode(88, true), VK_RETURN);
    EXPECT_EQ(messageVkFromSdlScancode(96, true), 0x68);
    EXPECT_EQ(messageVkFromSdlScancode(96, false), VK_UP);
    EXPECT_EQ(messageVkFromSdlScancode(93, false), 0x0C);
    EXPECT_EQ(messageVkFromSdlScancode(98, false), 0x2D);
    EXPECT_EQ(messageVkFromSdlScancode(99, true), 0x6E);
    EXPECT_EQ(messageVkFromSdlScancode(99, false), 0x2E);
    EXPECT_EQ(messageVkFromSdlScancode(82, false), VK_UP);  // the arrow block ignores Num Lock
    EXPECT_TRUE(isSystemKey(226));   // left Alt
    EXPECT_TRUE(isSystemKey(230));   // right Alt
    EXPECT_TRUE(isSystemKey(67));    // F10
    EXPECT_FALSE(isSystemKey(224));
}

}  // namespace
