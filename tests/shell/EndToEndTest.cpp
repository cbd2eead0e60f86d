// Runs the real game binary on a virtual X display: it starts, writes its
// logs into the working folder, shows a 640 x 480 window, and a normal close
// request (WM_DELETE_WINDOW, what a window manager sends for the close
// button) ends it with exit code 0.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#if __has_include(<X11/Xlib.h>)
#include <X11/Xlib.h>
#define EMBERHAUNT_HAVE_XLIB 1
#endif

#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// A child process that is killed if the test leaves before it ended.
struct Child {
    pid_t pid = -1;
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // Waits up to `limit` for the exit; true with *status when it ended.
    bool wait(std::chrono::milliseconds limit, int* status) {
        const auto until = Clock::now() + limit;
        while (Clock::now() < until) {
            const pid_t r = waitpid(pid, status, WNOHANG);
            if (r == pid) {
                pid = -1;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    bool running() {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) != pid) return true;
        pid = -1;
        return false;
    }
};

// Starts Xvfb on the first free display; -1 when it does not come up.
int startXvfb(Child& server) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    server.pid = fork();
    if (server.pid == 0) {
        close(fds[0]);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, 1);
        dup2(devNull, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes the display number once it accepts clients.
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

std::string capture(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

// Sends the close request a window manager sends for the close button.
bool requestClose(const std::string& display, unsigned long window) {
#ifdef EMBERHAUNT_HAVE_XLIB
    void* lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    auto openDisplay = reinterpret_cast<Display* (*)(const char*)>(dlsym(lib, "XOpenDisplay"));
    auto internAtom = reinterpret_cast<Atom (*)(Display*, const char*, Bool)>(dlsym(lib, "XInternAtom"));
    auto sendEvent = reinterpret_cast<Status (*)(Display*, Window, Bool, long, XEvent*)>(dlsym(lib, "XSendEvent"));
    auto flush = reinterpret_cast<int (*)(Display*)>(dlsym(lib, "XFlush"));
    auto closeDisplay = reinterpret_cast<int (*)(Display*)>(dlsym(lib, "XCloseDisplay"));
    bool sent = false;
    if (openDisplay && internAtom && sendEvent && flush && closeDisplay) {
        if (Display* d = openDisplay(display.c_str())) {
            XEvent ev{};
            ev.xclient.type = ClientMessage;
            ev.xclient.window = window;
            ev.xclient.message_type = internAtom(d, "WM_PROTOCOLS", False);
            ev.xclient.format = 32;
            ev.xclient.data.l[0] = static_cast<long>(internAtom(d, "WM_DELETE_WINDOW", False));
            ev.xclient.data.l[1] = CurrentTime;
            sent = sendEvent(d, window, False, NoEventMask, &ev) != 0;
            flush(d);
            closeDisplay(d);
        }
    }
    dlclose(lib);
    return sent;
#else
    (void)display;
    (void)window;
    return false;
#endif
}

TEST(EndToEndTest, TheGameStartsLogsShowsItsWindowAndClosesCleanly) {
    const fs::path binDir = EMBERHAUNT_BIN_DIR;
    for (const char* needed : {"emberhaunt", "config.cfg", "filepaths.cfg"})
        if (!fs::exists(binDir / needed))
            GTEST_SKIP() << "no " << needed << " in " << binDir
                         << ": build the game and its generated assets first";
    for (const char* tool : {"Xvfb", "xdotool"})
        if (!onPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh test)";
#ifndef EMBERHAUNT_HAVE_XLIB
    GTEST_SKIP() << "the X11 headers are missing: cannot send a close request";
#endif

    // The game folder: its own copy of the executable and of config.cfg (the
    // game writes that one), everything else linked to the build's.
    testsupport::TempDir gameDir, workDir;
    for (const auto& entry : fs::directory_iterator(binDir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("log.txt", 0) == 0 || name == "windowlog.txt") continue;
        if (name == "emberhaunt" || name == "config.cfg")
            fs::copy_file(entry.path(), gameDir.file(name));
        else
            fs::create_symlink(entry.path(), gameDir.file(name));
    }

    Child server;
    const int displayNumber = startXvfb(server);
    ASSERT_GT(server.pid, 0);
    ASSERT_GE(displayNumber, 0) << "Xvfb did not start";
    const std::string display = ":" + std::to_string(displayNumber);

    // Leaks are checked by the headless tests. Here the system's X and D-Bus
    // libraries, which SDL loads and unloads at run time, leave blocks the
    // leak checker cannot attribute to any module, so it is off for the game.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asanOptions = (asan && *asan ? std::string(asan) + ":" : std::string()) + "detect_leaks=0";

    Child game;
    game.pid = fork();
    if (game.pid == 0) {
        if (chdir(workDir.path().c_str()) != 0) _exit(126);
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("SDL_VIDEODRIVER");  // a driver forced for the other tests shows no window here
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ASAN_OPTIONS", asanOptions.c_str(), 1);
        const std::string exe = gameDir.file("emberhaunt");
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_GT(game.pid, 0);

    // Start-up is over once the log has its last line and is closed.
    const std::string log = workDir.file("log.txt");
    const auto deadline = Clock::now() + std::chrono::seconds(90);
    while (testsupport::readFile(log).find("-Menu initialized\n") == std::string::npos) {
        ASSERT_TRUE(game.running()) << "the game ended during start-up";
        ASSERT_LT(Clock::now(), deadline) << "start-up did not finish";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    const std::string xdo = "DISPLAY=" + display + " xdotool ";
    std::string windows;
    while ((windows = capture(xdo + "search --pid " + std::to_string(game.pid) + " 2>/dev/null")).empty()) {
        ASSERT_LT(Clock::now(), deadline) << "no window of the game appeared";
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const unsigned long window = std::stoul(windows);
    const std::string geometry = capture(xdo + "getwindowgeometry " + std::to_string(window));
    EXPECT_NE(geometry.find("Geometry: 640x480"), std::string::npos) << geometry;

    ASSERT_TRUE(requestClose(display, window));
    int status = 0;
    ASSERT_TRUE(game.wait(std::chrono::seconds(30), &status)) << "the game did not end after the close request";
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const std::string text = testsupport::readFile(log);
    const std::string head = "Emberhaunt v7 Log\n\n-Window created\n";
    const std::string tail = "-Audio initialized\n-Menu initialized\n";
    bool knownInputLine = false;
    for (const char* line : {"-DirectInput initialized\n", "-DirectInput initialized, last time used winInput\n",
                             "-Error initializing directinput, using windows messages instead\n"})
        knownInputLine = knownInputLine || text == head + line + tail;
    EXPECT_TRUE(knownInputLine) << text;
    EXPECT_EQ(testsupport::readFile(workDir.file("windowlog.txt")),
              "-Window class registered\n-Window created\n-Got device context\n");
    // Logs go to the working folder, never beside the executable.
    EXPECT_FALSE(fs::exists(gameDir.file("log.txt")));

    kill(server.pid, SIGTERM);
    server.wait(std::chrono::seconds(10), &status);
}

}  // namespace
