#include "shell/Main.h"

#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "shell/CException.h"
#include "shell/Game.h"

Game game;

void timerProc() { game.draw(); }

int runMainLoop(Game& g, plat::TimerProc timerCallback) {
    int exitCode = 0;
    try {
        g.init(timerCallback);
        bool done = false;
        while (!done) {
            plat::Message msg;
            if (plat::peekMessage(&msg)) {
                if (msg.type == plat::MsgType::Quit) {
                    g.quit();
                    exitCode = static_cast<int>(msg.wParam);
                } else {
                    plat::dispatchMessage(msg);
                }
            }
            g.update();
            done = g.hasQuit();
        }
    } catch (const CException& e) {
        plat::messageBox(e.getMessage(), "CException caught", plat::BoxIcon::Information);
        exitCode = 1;
    }
    return exitCode;
}

int gameMain() {
    plat::init(plat::Backend::Sdl);
    const int exitCode = runMainLoop(game, timerProc);
    // Leaves the display as it was found (a full-screen mode is undone).
    plat::shutdown();
    return exitCode;
}
