// Shared set-up of the graphics tests: a private temp folder holding the
// .bmp files and the filepaths.cfg that each test writes, the headless clock
// at a known tick, and small pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "graphics/Animation.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "shell/CException.h"
#include "shell/FilePaths.h"

namespace gfxtest {

// Frame i of a generated set is filled with this colour, so a drawn pixel
// tells which frame was drawn.
inline uint32_t frameColour(int i) { return plat::rgb(200, 10 + 5 * i, 7); }  // i < 48
inline int frameOf(uint32_t colour) {
    int g = static_cast<int>((colour >> 8) & 255);
    if ((colour >> 16) != 200 || (colour & 255) != 7 || g < 10) return -1;
    return (g - 10) / 5;
}

// The text of the CException that f throws.
inline std::string thrownMessage(const std::function<void()>& f) {
    try {
        f();
    } catch (const CException& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

constexpr uint32_t kGrey = 0x00808080;

inline void writeBmp(const std::string& path, int w, int h, uint32_t colour) {
    auto s = plat::Surface::create(w, h);
    ASSERT_TRUE(s);
    s->fill(0, 0, w, h, colour);
    ASSERT_TRUE(s->saveBmp(path)) << path;
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    ASSERT_TRUE(out.good()) << path;
}

inline std::unique_ptr<plat::Surface> greyTarget(int w = 64, int h = 64) {
    auto t = plat::Surface::create(w, h);
    t->fill(0, 0, w, h, kGrey);
    return t;
}

// Draws a at (1, 1) on a fresh 4 x 4 target: the index of the frame drawn
// (by frameColour), or -1 when nothing was drawn.
inline int drawnFrame(Animation& a) {
    auto target = greyTarget(4, 4);
    a.x = 1;
    a.y = 1;
    a.draw(*target);
    if (target->pixel(1, 1) == kGrey) return -1;
    return frameOf(target->pixel(1, 1));
}

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::init(plat::Backend::Headless);
        plat::headless::reset();
        plat::headless::setTicks(1000);
        char pattern[] = "/tmp/emberhaunt-gfx-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        filePathsPath = dir + "/filepaths.cfg";
    }
    void TearDown() override {
        filePathsPath.clear();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::string file(const std::string& name) const { return dir + "/" + name; }

    // Appends to the filepaths.cfg of this test.
    void config(const std::string& text) {
        cfg += text;
        writeFile(filePathsPath, cfg);
    }

    // A section of n frames of w x h pixels, frame i in frameColour(i),
    // written as relative file names; extra lines (e.g. "animationSpeed=50\n")
    // are added to the section.
    void addSet(const std::string& section, int n, const std::string& extra = "", int w = 2,
                int h = 2) {
        std::string text = "[" + section + "]\nframeCount=" + std::to_string(n) + "\n";
        text += "width=" + std::to_string(w) + "\nheight=" + std::to_string(h) + "\n";
        for (int i = 0; i < n; ++i) {
            std::string name = section + "_" + std::to_string(i + 1) + ".bmp";
            writeBmp(file(name), w, h, frameColour(i));
            text += "frame" + std::to_string(i + 1) + "=" + name + "\n";
        }
        config(text + extra + "\n");
    }

    std::string dir;
    std::string cfg;
};

}  // namespace gfxtest
