// The polled keyboard device on the headless back end.
#include <gtest/gtest.h>

#include <cstring>

#include "support/HeadlessTest.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/KeyboardDevice.h"

namespace {

using namespace plat;
namespace hl = plat::headless;

using KeyboardDeviceTest = testsupport::HeadlessTest;

bool setUp(KeyboardDevice& k) {
    return k.create() && k.setFormat() && k.setCooperative() && k.acquire();
}

TEST_F(KeyboardDeviceTest, ReadsScriptedKeysWithBitSeven) {
    ASSERT_TRUE(openInputSystem());
    KeyboardDevice k;
    ASSERT_TRUE(setUp(k));
    uint8_t state[256];
    std::memset(state, 0xAA, sizeof state);
    ASSERT_TRUE(k.getState(state));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(state[i], 0) << i;

    hl::setKeyState(DIK_ESCAPE, true);
    hl::pressKey(0x9D);
    hl::setKeyState(-1, true);  // ignored
    hl::setKeyState(256, true);
    ASSERT_TRUE(k.getState(state));
    EXPECT_EQ(state[DIK_ESCAPE], 0x80);
    EXPECT_EQ(state[0x9D], 0x80);
    EXPECT_EQ(state[0x1D], 0);

    hl::releaseKey(0x9D);
    hl::setKeyState(DIK_ESCAPE, false);
    ASSERT_TRUE(k.getState(state));
    EXPECT_EQ(state[0x9D], 0);
    EXPECT_EQ(state[DIK_ESCAPE], 0);

    hl::pressKey(DIK_UP);
    hl::clearKeyStates();
    ASSERT_TRUE(k.getState(state));
    EXPECT_EQ(state[DIK_UP], 0);
}

TEST_F(KeyboardDeviceTest, EachSetUpStepCanFailOnItsOwn) {
    hl::failKeyboardStep("system");
    EXPECT_FALSE(openInputSystem());

    struct Step {
        const char* name;
        int failingIndex;
    };
    for (Step s : {Step{"create", 0}, Step{"format", 1}, Step{"cooperative", 2}, Step{"acquire", 3}}) {
        hl::failKeyboardStep(s.name);
        EXPECT_TRUE(openInputSystem());
        KeyboardDevice k;
        bool results[4] = {k.create(), k.setFormat(), k.setCooperative(), k.acquire()};
        for (int i = 0; i < 4; ++i) {
            // Steps after a failed create fail too: there is no device.
            bool expected = i != s.failingIndex && !(s.failingIndex == 0);
            EXPECT_EQ(results[i], expected) << s.name << " step " << i;
        }
    }

    hl::failKeyboardStep("read");
    KeyboardDevice k;
    ASSERT_TRUE(setUp(k));
    uint8_t state[256];
    std::memset(state, 0x11, sizeof state);
    EXPECT_FALSE(k.getState(state));
    EXPECT_EQ(state[0], 0x11);  // left untouched
    hl::failKeyboardStep("");
    EXPECT_TRUE(k.getState(state));
}

TEST_F(KeyboardDeviceTest, ReadsOnlyWhileAcquiredAndFocused) {
    KeyboardDevice k;
    uint8_t state[256] = {};
    EXPECT_FALSE(k.setFormat());  // before create
    EXPECT_FALSE(k.acquire());
    EXPECT_FALSE(k.getState(state));
    EXPECT_FALSE(k.unacquire());

    ASSERT_TRUE(setUp(k));
    hl::setKeyState(DIK_RETURN, true);
    hl::setFocus(false);
    std::memset(state, 0x22, sizeof state);
    EXPECT_FALSE(k.getState(state));
    EXPECT_EQ(state[DIK_RETURN], 0x22);
    EXPECT_TRUE(k.acquire());  // re-acquiring does not bring the focus back
    EXPECT_FALSE(k.getState(state));
    hl::setFocus(true);
    ASSERT_TRUE(k.getState(state));
    EXPECT_EQ(state[DIK_RETURN], 0x80);

    EXPECT_TRUE(k.unacquire());
    EXPECT_FALSE(k.getState(state));
    EXPECT_TRUE(k.acquire());
    EXPECT_TRUE(k.getState(state));
    EXPECT_FALSE(k.getState(nullptr));

    k.release();
    EXPECT_FALSE(k.getState(state));
    EXPECT_FALSE(k.acquire());
}

}  // namespace
