// Shared set-up of the play-field tests: the headless clock, a small grid,
// a folder with solid-colour images, and a mover whose obstacles and move
// calls a test can set and read.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/Animation.h"
#include "graphics/Bitmap.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/Surface.h"
#include "support/HeadlessTest.h"
#include "support/TestFiles.h"
#include "world/CellValues.h"
#include "world/MovingObject.h"
#include "world/TileGrid.h"

namespace worldtest {

class WorldTest : public testsupport::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        plat::headless::setTicks(1000);
        grid.create(10, 8);
    }

    // A loaded 32 x 32 image of one colour.
    Bitmap solidImage(uint32_t colour) {
        const std::string path = dir.file("img" + std::to_string(images++) + ".bmp");
        auto s = plat::Surface::create(32, 32);
        s->fill(0, 0, 32, 32, colour);
        EXPECT_TRUE(s->saveBmp(path));
        Bitmap b;
        b.load(path, 32, 32);
        return b;
    }

    int at(int c, int r, int layerIndex = layer::kObjects) const {
        return grid.getTile(layerIndex, c, r);
    }
    void put(int c, int r, int v, int layerIndex = layer::kObjects) {
        grid.setTile(layerIndex, c, r, v);
    }

    testsupport::TempDir dir;
    TileGrid grid;
    int images = 0;
};

// Stopped by blocks only (values 1 and 2), like a walker that passes other
// actors; logs every move call with its step and slide flag.
class TestMover : public MovingObject {
public:
    struct Call {
        int direction;
        float step;
        bool slide;
    };

    bool isBlocked(int c, int r) override { return cell::isBlock(grid->getTile(layer, c, r)); }
    void moveRight(float step, Box box, bool slide) override {
        calls.push_back({dir::kRight, step, slide});
        MovingObject::moveRight(step, box, slide);
    }
    void moveLeft(float step, Box box, bool slide) override {
        calls.push_back({dir::kLeft, step, slide});
        MovingObject::moveLeft(step, box, slide);
    }
    void moveUp(float step, Box box, bool slide) override {
        calls.push_back({dir::kUp, step, slide});
        MovingObject::moveUp(step, box, slide);
    }
    void moveDown(float step, Box box, bool slide) override {
        calls.push_back({dir::kDown, step, slide});
        MovingObject::moveDown(step, box, slide);
    }

    // A 32 x 32 mover on layer 3 at pixel (px, py), value 4, without
    // animations; nothing is marked yet.
    void place(TileGrid& g, int px, int py, float newSpeed = 3.0f) {
        initMoving(cell::kPlayer, kTileSize, px / kTileSize, py / kTileSize, 32, 32,
                   layer::kObjects, &g, false, newSpeed, nullptr);
        g.setTile(layer, col, row, cell::kEmpty);
        x = px;
        y = py;
        posX = float(px);
        posY = float(py);
    }

    std::vector<Call> calls;
};

}  // namespace worldtest
