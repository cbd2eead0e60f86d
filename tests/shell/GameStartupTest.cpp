#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ShellFixture.h"
#include "menu/MenuItem.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/Profile.h"
#include "shell/Game.h"
#include "shell/Main.h"
#include "support/PassLoop.h"

namespace shelltest {
namespace {

Game* current = nullptr;
void tick() {
    if (current) current->draw();
}

class GameStartupTest : public ShellTest {
protected:
    void TearDown() override {
        current = nullptr;
        ShellTest::TearDown();
    }

    void writeConfig(const std::string& overrides = "") { writeShippedConfig(overrides); }

    // Runs one whole program start on a fresh platform, as a new process
    // would: the game, its loop until it quits, and the configuration.
    int runProgram(const std::function<void()>& beforeStart = {}) {
        plat::headless::reset();
        resetConfig();
        windowInput = false;
        if (beforeStart) beforeStart();
        Game g;
        current = &g;
        plat::postQuit(0);  // the loop ends on its first pass once started
        const int code = runMainLoop(g, tick);
        current = nullptr;
        return code;
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> out;
        for (const auto& b : plat::headless::boxes()) out.push_back(b.caption + ": " + b.text);
        return out;
    }
};

TEST_F(GameStartupTest, ANormalStartLogsEachStepOpensTheWindowAndStartsTheDrawTimer) {
    writeStartupImages();
    writeConfig("[video]\nframeUpdateInterval=20\n[audio]\nglobalVolume=150\n");
    Game g;
    current = &g;
    EXPECT_EQ(g.state, kStateStarting);
    g.init(tick);

    EXPECT_EQ(read("log.txt"),
              "Emberhaunt v7 Log\n\n-Window created\n-DirectInput initialized\n"
              "-Audio initialized\n-Menu initialized\n");
    EXPECT_EQ(read("windowlog.txt"), "-Window class registered\n-Window created\n-Got device context\n");
    EXPECT_TRUE(plat::headless::boxes().empty());
    ASSERT_NE(plat::headless::windowSpec(), nullptr);
    EXPECT_EQ(plat::headless::windowSpec()->title, "Emberhaunt");
    EXPECT_EQ(g.state, kStateMenu);
    EXPECT_EQ(g.getDrawInterval(), 20);
    EXPECT_EQ(checkerCellSize, 32);
    EXPECT_EQ(transitionCountdown, 100);
    EXPECT_TRUE(checkerBitmap.isLoaded());
    // The menu opens its music and sounds; the title page has no music.
    const std::vector<std::string> audio = {
        "init 44100 64",
        "volume -3 150",
        "open " + path("menubgm.wav"),
        "open " + path("creditsbgm.wav"),
        "load " + path("menuSelect.wav"),
        "load " + path("menu.wav"),
        "stop " + path("menubgm.wav"),
    };
    EXPECT_EQ(plat::headless::audioLog(), audio);
    // The title page, with the opening reveal over it.
    EXPECT_EQ(g.menu.itemCount, 120);
    EXPECT_EQ(g.menu.page, 0);
    EXPECT_TRUE(transitionRunning);
    EXPECT_TRUE(transitionReveal);

    // One drawn and presented frame per timer tick, nothing in between.
    testsupport::PassLoop loop;
    loop.update = [&] { g.update(); };
    const auto r = testsupport::runPassLoop(200, loop);
    EXPECT_EQ(r.timerTicks, 9u);  // at 20, 40 ... 180 ms
    EXPECT_EQ(plat::headless::presentCount(), 9);
}

TEST_F(GameStartupTest, StartUpFailuresShowTheirBoxesAndEndTheLoop) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string log;
        std::vector<std::string> boxes;
    };
    const std::string banner = "Emberhaunt v7 Log\n\n";
    const Case cases[] = {
        {"no checker image", [] {}, banner, {"CException caught: Error loading bitmap! "}},
        {"no font image",
         [this] {
             writeStartupImages();
             write("filepaths.cfg", "[checker]\nframe1=checker.bmp\nwidth=32\nheight=32\n");
         },
         banner + "-Window created\n-DirectInput initialized\n",
         {"CException caught: Error loading bitmap! "}},
        {"no window",
         [this] {
             writeStartupImages();
             plat::headless::failWindowCreate(true);
         },
         banner + "-Error creating window!\n",
         {"ERROR!: Could not create window", "CException caught: Error creating window"}},
        {"no menu image",
         [this] {
             writeStartupImages();
             std::string paths = read("filepaths.cfg");
             paths.replace(paths.find("[pausebackground]\nframeCount=1\nframe1=black.bmp"), 47,
                           "[pausebackground]\nframeCount=1\nframe1=gone.bmp");
             write("filepaths.cfg", paths);
         },
         banner + "-Window created\n-DirectInput initialized\n-Audio initialized\n",
         {"CException caught: Error loading bitmap! "}},
        {"no timer",
         [this] {
             writeStartupImages();
             plat::headless::failTimer(true);
         },
         banner + "-Window created\n-Error setting draw timer!\n",
         {"CException caught: Error setting timer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(path("filepaths.cfg").c_str());
        writeConfig();
        EXPECT_EQ(runProgram(c.arrange), 1);
        EXPECT_EQ(read("log.txt"), c.log);
        EXPECT_EQ(boxTexts(), c.boxes);
        EXPECT_EQ(plat::headless::boxes().back().icon, plat::BoxIcon::Information);
    }
}

TEST_F(GameStartupTest, ClosingTheWindowEndsTheLoopWithTheQuitCode) {
    writeStartupImages();
    writeConfig();
    plat::headless::reset();
    Game g;
    current = &g;
    plat::headless::postMessage({plat::MsgType::Close, 0, 0});
    EXPECT_EQ(runMainLoop(g, tick), 0);
    EXPECT_TRUE(g.hasQuit());

    writeConfig();
    EXPECT_EQ(runProgram([] {
                  plat::headless::reset();
                  plat::postQuit(7);
              }),
              7);
}

// The real loop takes one message per pass and updates the game after each,
// so keys waiting together reach the menu one by one: Enter leaves the title
// page, Up selects EXIT, Enter chooses it. EXIT ends the loop at the end of
// its own pass: the messages behind it are never taken.
TEST_F(GameStartupTest, TheLoopTakesOneMessagePerPassAndEndsInThePassThatChoseExit) {
    writeStartupImages();
    writeConfig();
    plat::headless::reset();
    plat::headless::failKeyboardStep("system");  // window messages: keys come only as messages
    using plat::MsgType;
    const plat::Message waiting[] = {
        {MsgType::KeyDown, plat::VK_RETURN, 0}, {MsgType::KeyUp, plat::VK_RETURN, 0},
        {MsgType::KeyDown, plat::VK_UP, 0},     {MsgType::KeyUp, plat::VK_UP, 0},
        {MsgType::KeyDown, plat::VK_RETURN, 0}, {MsgType::KeyUp, plat::VK_RETURN, 0},
        {MsgType::Quit, 5, 0},
    };
    for (const plat::Message& m : waiting) plat::headless::postMessage(m);
    Game g;
    current = &g;
    EXPECT_EQ(runMainLoop(g, tick), 0);
    EXPECT_TRUE(g.hasQuit());
    EXPECT_EQ(g.menu.page, 1);
    EXPECT_EQ(g.menu.current()->label.getText(), "EXIT");

    plat::Message left;
    ASSERT_TRUE(plat::peekMessage(&left));
    EXPECT_EQ(left.type, MsgType::KeyUp);
    ASSERT_TRUE(plat::peekMessage(&left));
    EXPECT_EQ(left.type, MsgType::Quit);
    current = nullptr;
}

// The key bindings follow the input mode across starts, in both directions.
TEST_F(GameStartupTest, TheInputModeChoiceReloadsTheDefaultKeysWhenTheModeChanges) {
    writeStartupImages();
    writeConfig("[player1keys]\nup=99\n");
    const std::string banner = "Emberhaunt v7 Log\n\n-Window created\n";
    const std::string tail = "-Audio initialized\n-Menu initialized\n";
    auto failKeyboard = [] { plat::headless::failKeyboardStep("create"); };
    auto setKey = [this](int up) {
        ASSERT_TRUE(plat::profileWrite("player1keys", "up", std::to_string(up), path("config.cfg")));
    };

    // Keyboard device lost after a device start: window-message defaults.
    ASSERT_EQ(runProgram(failKeyboard), 0);
    EXPECT_EQ(read("log.txt"), banner + "-Error initializing directinput, using windows messages instead\n" + tail);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"ERROR!: Error creating keyboard DI device"});
    EXPECT_TRUE(windowInput);
    EXPECT_EQ(getConfigInt("input", "lastUsedDI"), 0);
    EXPECT_EQ(getConfigInt("player1keys", "up"), 38);
    EXPECT_EQ(getConfigInt("player1keys", "primary"), 13);

    // Every window-message start reloads them, whatever the player set.
    setKey(77);
    ASSERT_EQ(runProgram(failKeyboard), 0);
    EXPECT_EQ(getConfigInt("player1keys", "up"), 38);

    // The device works again: device defaults, and the mode is remembered.
    setKey(77);
    ASSERT_EQ(runProgram(), 0);
    EXPECT_EQ(read("log.txt"), banner + "-DirectInput initialized, last time used winInput\n" + tail);
    EXPECT_FALSE(windowInput);
    EXPECT_EQ(getConfigInt("input", "lastUsedDI"), 1);
    EXPECT_EQ(getConfigInt("player1keys", "up"), 200);
    EXPECT_EQ(playerKeys[0][KEY_RIGHT], 205);

    // Device start after device start: the player's keys stay.
    setKey(55);
    ASSERT_EQ(runProgram(), 0);
    EXPECT_EQ(read("log.txt"), banner + "-DirectInput initialized\n" + tail);
    EXPECT_EQ(getConfigInt("player1keys", "up"), 55);
    EXPECT_EQ(playerKeys[0][KEY_UP], 55);
}

// A zero, negative or tiny period must not turn the draw timer into a busy
// loop: every one of them draws every 10 ms. A huge one must still draw:
// at least every 100 ms.
TEST_F(GameStartupTest, TheDrawIntervalIsKeptBetweenTenAndAHundredMilliseconds) {
    writeStartupImages();
    const std::pair<const char*, int> cases[] = {
        {"0", 10},   {"-40", 10}, {"1", 10},   {"9", 10},          {"-2147483648", 10},
        {"x", 10},   {"", 15},  // empty: as if missing, the shipped value
        {"101", 100}, {"2147483647", 100}};
    for (const auto& [interval, expected] : cases) {
        SCOPED_TRACE(interval);
        plat::headless::reset();
        writeConfig(std::string("[video]\nframeUpdateInterval=") + interval + "\n");
        Game g;
        current = &g;
        g.init(tick);
        EXPECT_EQ(g.getDrawInterval(), expected);
        testsupport::PassLoop loop;
        loop.update = [&] { g.update(); };
        const auto r = testsupport::runPassLoop(450, loop);
        EXPECT_FALSE(r.passLimitHit);
        const uint32_t ticks = 449 / uint32_t(expected);  // every interval before 450 ms
        EXPECT_EQ(r.timerTicks, ticks);
        EXPECT_EQ(plat::headless::presentCount(), int(ticks));
        current = nullptr;
    }
}

using GameDeathTest = GameStartupTest;

void reportAtExit() {
    for (const auto& b : plat::headless::boxes())
        std::fprintf(stderr, "BOX [%s] [%s] %d\n", b.text.c_str(), b.caption.c_str(), int(b.icon));
    std::fprintf(stderr, "WINDOW %d\n", plat::windowExists() ? 1 : 0);
}

TEST_F(GameDeathTest, AnUncreatableLogEndsTheProcessWithCode1BeforeAnyWindow) {
    writeStartupImages();
    writeConfig();
    ASSERT_EQ(mkdir(path("log.txt").c_str(), 0755), 0);  // a folder cannot be opened as the log
    EXPECT_EXIT(
        {
            std::atexit(reportAtExit);
            Game g;
            g.init(tick);
        },
        testing::ExitedWithCode(1),
        "BOX \\[Error opening log file\\] \\[ERROR!\\] 1\nWINDOW 0");
}

}  // namespace
}  // namespace shelltest
