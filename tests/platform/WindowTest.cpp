// The headless window, message queue and draw timer.
#include <gtest/gtest.h>

#include <vector>

#include "support/HeadlessTest.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace {

using namespace plat;
namespace hl = plat::headless;

int timerCalls = 0;
void countTimer() { ++timerCalls; }

struct Received {
    std::vector<Message> messages;
    std::vector<void*> users;
};

void record(const Message& msg, void* user) {
    auto* r = static_cast<Received*>(user);
    r->messages.push_back(msg);
    r->users.push_back(user);
}

class WindowTest : public testsupport::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        timerCalls = 0;
    }
    // Peeks until a message comes or `limit` ms pass; the tick count of its arrival.
    bool nextMessage(Message* m, uint32_t limit = 1000) {
        for (uint32_t i = 0; i <= limit; ++i)
            if (peekMessage(m)) return true;
        return false;
    }
};

TEST_F(WindowTest, TimerTicksArriveOnThePeriodGrid) {
    ASSERT_TRUE(setTimer(1, 15, countTimer));
    std::vector<uint32_t> at;
    Message m;
    while (tickCount() < 151) {
        if (peekMessage(&m)) {
            ASSERT_EQ(m.type, MsgType::Timer);
            EXPECT_EQ(m.wParam, 1u);
            at.push_back(tickCount());
        }
    }
    ASSERT_EQ(at.size(), 10u);
    for (size_t i = 0; i < at.size(); ++i) EXPECT_EQ(at[i], 15u * (i + 1));
}

TEST_F(WindowTest, AtMostOneTickIsPendingAfterAStall) {
    ASSERT_TRUE(setTimer(1, 10, countTimer));
    hl::advance(95);  // nine periods missed
    Message m;
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::Timer);
    EXPECT_FALSE(peekMessage(&m));  // no burst of the missed ticks
    // The next tick comes a full period after the late one, not sooner.
    uint32_t late = 95;
    ASSERT_TRUE(nextMessage(&m));
    EXPECT_EQ(m.type, MsgType::Timer);
    EXPECT_EQ(tickCount() - late, 10u);
}

TEST_F(WindowTest, TickWaitsUntilTheQueueIsEmpty) {
    ASSERT_TRUE(setTimer(7, 5, countTimer));
    hl::advance(20);
    hl::postMessage({MsgType::KeyDown, VK_UP, 0});
    hl::postMessage({MsgType::KeyUp, VK_UP, 0});
    hl::postMessage({MsgType::Close, 0, 0});
    Message m;
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::KeyDown);
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::KeyUp);
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::Close);
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::Timer);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(tickCount(), 20u);  // none of these peeks let time pass
}

TEST_F(WindowTest, SettingTheTimerAgainRestartsItsPeriod) {
    ASSERT_TRUE(setTimer(1, 10, countTimer));
    hl::advance(8);
    ASSERT_TRUE(setTimer(1, 10, countTimer));
    Message m;
    ASSERT_TRUE(nextMessage(&m));
    EXPECT_EQ(tickCount(), 18u);

    killTimer(2);  // another id: no effect
    hl::advance(10);
    EXPECT_TRUE(peekMessage(&m));
    killTimer(1);
    hl::advance(100);
    EXPECT_FALSE(nextMessage(&m, 100));

    ASSERT_TRUE(setTimer(1, 0, countTimer));  // below 1 ms becomes 1 ms
    EXPECT_TRUE(nextMessage(&m, 1));

    hl::failTimer(true);
    EXPECT_FALSE(setTimer(1, 15, countTimer));
}

TEST_F(WindowTest, TimerRunsAcrossTheTickCountWrap) {
    hl::setTicks(0xFFFFFFF8u);
    ASSERT_TRUE(setTimer(1, 15, countTimer));
    Message m;
    ASSERT_TRUE(nextMessage(&m));
    EXPECT_EQ(tickCount(), 7u);
    ASSERT_TRUE(nextMessage(&m));
    EXPECT_EQ(tickCount(), 22u);
}

TEST_F(WindowTest, PeekTakesOneMessageAtATimeInOrder) {
    Message m{MsgType::Activate, 99, 99};
    EXPECT_FALSE(peekMessage(&m));
    EXPECT_EQ(m.wParam, 99u);  // untouched when nothing was taken
    EXPECT_EQ(tickCount(), 1u);  // an empty peek is the 1 ms yield

    for (uint32_t i = 0; i < 5; ++i) hl::postMessage({MsgType::KeyDown, 0x41 + i, 0});
    postQuit(4);
    for (uint32_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(peekMessage(&m));
        EXPECT_EQ(m.type, MsgType::KeyDown);
        EXPECT_EQ(m.wParam, 0x41 + i);
    }
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::Quit);
    EXPECT_EQ(m.wParam, 4u);
    EXPECT_FALSE(peekMessage(&m));
}

TEST_F(WindowTest, DispatchRoutesTicksToTheTimerAndTheRestToTheWindow) {
    Received got;
    WindowSpec spec;
    ASSERT_EQ(createWindow(spec, record, &got), WindowResult::Ok);
    ASSERT_TRUE(setTimer(1, 15, countTimer));

    dispatchMessage({MsgType::Timer, 1, 0});
    dispatchMessage({MsgType::Timer, 5, 0});  // not our timer: dropped
    dispatchMessage({MsgType::KeyDown, VK_ESCAPE, 1});
    dispatchMessage({MsgType::Quit, 0, 0});  // Quit belongs to the loop, not the window
    dispatchMessage({MsgType::Activate, 1, 0});
    EXPECT_EQ(timerCalls, 1);
    ASSERT_EQ(got.messages.size(), 2u);
    EXPECT_EQ(got.messages[0].type, MsgType::KeyDown);
    EXPECT_EQ(got.messages[0].wParam, uint32_t(VK_ESCAPE));
    EXPECT_EQ(got.messages[0].lParam, 1);
    EXPECT_EQ(got.users[0], &got);
    EXPECT_EQ(got.messages[1].type, MsgType::Activate);

    // A tick taken before its timer was killed is not run.
    hl::advance(15);
    Message m;
    ASSERT_TRUE(peekMessage(&m));
    killTimer(1);
    dispatchMessage(m);
    EXPECT_EQ(timerCalls, 1);

    // A timer without a procedure ticks into the window procedure.
    ASSERT_TRUE(setTimer(3, 1, nullptr));
    dispatchMessage({MsgType::Timer, 3, 0});
    ASSERT_EQ(got.messages.size(), 3u);
    EXPECT_EQ(got.messages[2].type, MsgType::Timer);
}

TEST_F(WindowTest, WindowCreationAndItsFailures) {
    WindowSpec spec;
    spec.title = "Emberhaunt";
    spec.iconPath = "missing.ico";
    EXPECT_EQ(windowSurface(), nullptr);
    EXPECT_EQ(hl::windowSpec(), nullptr);

    hl::failWindowCreate(true);
    EXPECT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::Failed);
    EXPECT_FALSE(windowExists());
    hl::failWindowCreate(false);

    hl::refuseFullScreen(true);
    spec.fullScreen = true;
    EXPECT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::FullScreenRefused);
    EXPECT_FALSE(windowExists());
    spec.fullScreen = false;
    ASSERT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::Ok);
    EXPECT_TRUE(windowExists());
    EXPECT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::Failed);  // only one window

    ASSERT_NE(hl::windowSpec(), nullptr);
    EXPECT_EQ(hl::windowSpec()->title, "Emberhaunt");
    Surface* s = windowSurface();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->width(), 640);
    EXPECT_EQ(s->height(), 480);
    EXPECT_EQ(s->pixel(0, 0), 0u);

    // The surface keeps the last frame drawn.
    s->fill(10, 10, 5, 5, rgb(1, 2, 3));
    presentWindow();
    presentWindow();
    EXPECT_EQ(hl::presentCount(), 2);
    EXPECT_EQ(windowSurface()->pixel(12, 12), rgb(1, 2, 3));

    ASSERT_TRUE(setTimer(1, 5, countTimer));
    destroyWindow();
    EXPECT_FALSE(windowExists());
    EXPECT_EQ(windowSurface(), nullptr);
    presentWindow();
    EXPECT_EQ(hl::presentCount(), 2);
    hl::advance(50);
    Message m;
    EXPECT_FALSE(peekMessage(&m));  // the timer went with the window

    for (auto [w, h] : {std::pair{0, 480}, {640, -1}, {20000, 480}}) {
        spec.width = w;
        spec.height = h;
        EXPECT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::Failed) << w << "x" << h;
    }
}

TEST_F(WindowTest, ScreenSizeAndKeyScripting) {
    int w = -1, h = -1;
    screenSize(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    hl::setScreenSize(1920, 1080);
    screenSize(&w, nullptr);
    EXPECT_EQ(w, 1920);

    hl::pressKey(0x9D);  // right Control
    hl::releaseKey(0x9D);
    hl::pressKey(0x54);  // no such key: no message
    Message m;
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::KeyDown);
    EXPECT_EQ(m.wParam, 17u);
    ASSERT_TRUE(peekMessage(&m));
    EXPECT_EQ(m.type, MsgType::KeyUp);
    EXPECT_EQ(m.wParam, 17u);
    EXPECT_FALSE(peekMessage(&m));
}

}  // namespace
