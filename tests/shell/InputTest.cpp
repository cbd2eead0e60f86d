#include <vector>

#include "ShellFixture.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "shell/Input.h"
#include "shell/Keyboard.h"

namespace shelltest {
namespace {

using InputTest = ShellTest;

std::vector<std::string> boxTexts() {
    std::vector<std::string> out;
    for (const auto& b : plat::headless::boxes()) {
        EXPECT_EQ(b.caption, "ERROR!");
        EXPECT_EQ(b.icon, plat::BoxIcon::None);
        out.push_back(b.text);
    }
    return out;
}

TEST_F(InputTest, EachFailingSetUpStepShowsItsBoxAndLeavesNoKeyboard) {
    struct Case {
        const char* step;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"system", {}},
        {"create", {"Error creating keyboard DI device"}},
        {"format", {"Error setting keyboard device data format"}},
        {"cooperative", {"Error setting keyboard DI device cooperative level"}},
        {"acquire", {"Error aquiring keyboard DI device"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        plat::headless::reset();
        plat::headless::failKeyboardStep(c.step);
        Input input;
        EXPECT_FALSE(input.init());
        EXPECT_EQ(boxTexts(), c.boxes);
        // Window-message mode: no keyboard, so the players read windowKeys.
        EXPECT_EQ(input.getKeyboard(), nullptr);
        plat::headless::setKeyState(plat::DIK_ESCAPE, true);
        EXPECT_TRUE(input.update());
        EXPECT_FALSE(input.isKeyDown(plat::DIK_ESCAPE));
        EXPECT_FALSE(input.isKeyUp(plat::DIK_ESCAPE));
        EXPECT_TRUE(input.shutdown());
    }
}

TEST_F(InputTest, KeysAreReadByDeviceCodeAndOddCodesAreNeverDown) {
    Input input;
    ASSERT_TRUE(input.init());
    ASSERT_NE(input.getKeyboard(), nullptr);
    EXPECT_TRUE(plat::headless::boxes().empty());

    plat::headless::setKeyState(plat::DIK_ESCAPE, true);
    plat::headless::setKeyState(255, true);
    input.update();
    EXPECT_TRUE(input.isKeyDown(plat::DIK_ESCAPE));
    EXPECT_FALSE(input.isKeyUp(plat::DIK_ESCAPE));
    EXPECT_TRUE(input.isKeyDown(255));
    EXPECT_TRUE(input.isKeyUp(plat::DIK_RETURN));
    for (int odd : {-1, 256, 100000, -100000}) {
        EXPECT_FALSE(input.isKeyDown(odd));
        EXPECT_TRUE(input.isKeyUp(odd));
    }

    input.unacquireAll();  // clears the state it holds
    EXPECT_FALSE(input.isKeyDown(plat::DIK_ESCAPE));
    input.shutdown();
    EXPECT_EQ(input.getKeyboard(), nullptr);
    EXPECT_FALSE(input.isKeyDown(plat::DIK_ESCAPE));
}

// A read that fails even after the re-acquire (another window has the
// keyboard, or the device broke) counts every key as released: a key let go
// where the game cannot see it must not stay down.
TEST_F(InputTest, AReadThatFailsEvenAfterTheRetryCountsEveryKeyReleased) {
    Input input;
    ASSERT_TRUE(input.init());
    Keyboard& keyboard = *input.getKeyboard();
    plat::headless::setKeyState(plat::DIK_RETURN, true);
    EXPECT_TRUE(keyboard.update());

    // After an unacquire the first read fails; the re-acquire saves the pass.
    input.unacquireAll();
    EXPECT_TRUE(keyboard.update());
    EXPECT_TRUE(keyboard.isKeyDown(plat::DIK_RETURN));

    plat::headless::setFocus(false);
    EXPECT_FALSE(keyboard.update());
    EXPECT_TRUE(input.update());  // never reported
    EXPECT_FALSE(keyboard.isKeyDown(plat::DIK_RETURN));
    EXPECT_TRUE(keyboard.isKeyUp(plat::DIK_RETURN));

    // Back in the window, a key still held reads as down again.
    plat::headless::setFocus(true);
    EXPECT_TRUE(keyboard.update());
    EXPECT_TRUE(keyboard.isKeyDown(plat::DIK_RETURN));

    plat::headless::failKeyboardStep("read");
    EXPECT_FALSE(keyboard.update());
    EXPECT_FALSE(keyboard.isKeyDown(plat::DIK_RETURN));
    input.shutdown();
}

}  // namespace
}  // namespace shelltest
