// The 22 full screens: the stage intros, the play-field backgrounds, the
// menu, help and pause backgrounds and the title screen.
#include <algorithm>
#include <string>

#include "art/Font.h"
#include "art/Scenery.h"
#include "art/Sprites.h"
#include "art/Themes.h"

namespace art {

namespace {

TextStyle bigStyle(int scale, Colour top, Colour bottom) {
    TextStyle st;
    st.scale = scale;
    st.outlineWidth = std::max(2, scale / 2);
    st.shadowDrop = scale / 2 + 1;
    st.top = top;
    st.bottom = bottom;
    st.outline = rgb(30, 10, 20);
    return st;
}

// A dark band across the screen so lettering reads over any scene.
void band(Image& img, int y, int h) {
    dim(img, 0, y, kScreenW, h, 0.55);
    img.hline(0, kScreenW - 1, y, rgb(240, 170, 80));
    img.hline(0, kScreenW - 1, y + h - 1, rgb(240, 170, 80));
}

Image intro(Scene s, const std::string& heading, const std::string& name, const std::string& line) {
    Image img = sceneImage(s);
    band(img, 96, 170);
    drawTextCentred(img, kScreenW / 2, 112, heading, bigStyle(6, rgb(255, 250, 230), rgb(255, 170, 60)));
    drawTextCentred(img, kScreenW / 2, 196, name, bigStyle(3, rgb(255, 255, 255), rgb(200, 220, 255)));
    TextStyle small;
    drawTextCentred(img, kScreenW / 2, 240, line, small);
    return img;
}

// The field of a stage floats on this: the theme's wall pattern in the
// shade, and one plain panel for the players' gauges. Wide stages show its
// band along the bottom, square ones its column down the right, and both
// show the corner where the two meet, so the panel is one L-shaped piece
// with no line inside it: nothing can run through a gauge on either shape.
// Only the screen's bottom and right edges are framed; toward the field the
// wall pattern fades into the panel, so where a small arena leaves the
// band bare it reads as shade, not as an empty box.
Image playBackground(const Theme& t) {
    Image tile(kTile, kTile);
    t.wallTop(tile);
    Image img(kScreenW, kScreenH);
    for (int y = 0; y < kScreenH; y += kTile)
        for (int x = 0; x < kScreenW; x += kTile) img.blit(tile, x, y, false);
    dim(img, 0, 0, kScreenW, kScreenH, 0.62);

    const int bandY = 416, columnX = 480, fade = 40;
    const Colour fill = rgb(26, 18, 28);
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            const int d = std::min(bandY - y, columnX - x);  // <= 0 inside the panel
            if (d <= 0) {
                img.set(x, y, fill);
            } else if (d <= fade) {
                const double t = 1.0 - double(d) / (fade + 1);
                img.set(x, y, mix(img.at(x, y), fill, t * t));
            }
        }
    const Ramp f = makeRamp(rgb(150, 110, 70));
    const Colour bevel[3] = {f[0], f[4], f[2]};
    for (int k = 0; k < 3; ++k) {
        img.hline(0, kScreenW - 1 - k, kScreenH - 1 - k, bevel[k]);
        img.vline(kScreenW - 1 - k, 0, kScreenH - 1 - k, bevel[k]);
    }
    return img;
}

// A see-through pane: the scene darkened between two ember rails. It has
// no top or bottom edge, only a soft fade, because the credits scroll the
// whole height of the screen across it and a frame line would strike their
// letters through.
void glassPanel(Image& img, int x, int y, int w, int h) {
    const int fade = 32;
    for (int yy = y - fade; yy < y + h + fade; ++yy) {
        const double t = std::min(1.0, std::min(yy - (y - fade), y + h + fade - 1 - yy) / double(fade));
        dim(img, x, yy, w, 1, 0.62 * t * t * (3 - 2 * t));
    }
    const Colour dark = rgb(60, 20, 24), lit = rgb(226, 134, 60), deep = rgb(120, 56, 40);
    for (int rail : {x, x + w - 4}) {
        img.vline(rail, y, y + h - 1, dark);
        img.vline(rail + 1, y, y + h - 1, lit);
        img.vline(rail + 2, y, y + h - 1, deep);
        img.vline(rail + 3, y, y + h - 1, dark);
        for (int cy : {y - 2, y + h - 3}) img.fillRect(rail - 1, cy, 6, 5, rgb(255, 196, 90));
    }
}

Image menuBackground() {
    Image img = sceneImage(Scene::Title);
    glassPanel(img, 150, 268, 470, 182);
    // shade behind the scrolling hint line, faded in rather than edged
    for (int y = 440; y < kScreenH; ++y) dim(img, 0, y, kScreenW, 1, 0.6 * std::min(1.0, (y - 439) / 14.0));
    return img;
}

Image helpBackground() {
    Image img = sceneImage(Scene::Title);
    dim(img, 0, 0, kScreenW, kScreenH, 0.7);
    panel(img, 6, 4, 628, 236, rgb(34, 20, 30), rgb(190, 120, 70));
    // tall enough for the last key line (y 424, 16 px high)
    panel(img, 6, 252, 628, 196, rgb(30, 22, 36), rgb(150, 120, 170));
    // the powerups beside the lines that explain them, in the page's order
    const int kinds[8] = {2, 3, 4, 5, 0, 1, 6, 7};
    for (int k = 0; k < 8; ++k) img.blit(powerupBadge(kinds[k]), 27, 10 + 23 * (k + 1) - 2);
    return img;
}

Image pauseBackground() {
    Image img(110, 58);
    panel(img, 0, 0, 110, 58, rgb(40, 22, 34), rgb(220, 140, 60));
    return img;
}

Image titleScreen() {
    Image img = sceneImage(Scene::Title);
    Image logo = titleLogo(7, 620, 170);
    img.blit(logo, 10, 40);
    for (int n = 1; n <= 4; ++n) {
        Image p = playerStanding(n, kDown).scaled(3);
        img.blit(p, 90 + (n - 1) * 130, 300);
    }
    Image bomb = bombPicture(2).scaled(2);
    img.blit(bomb, 290, 390);
    drawTextCentred(img, kScreenW / 2, 236, "PRESS ENTER", TextStyle{});
    return img;
}

}  // namespace

void addScreens(AssetSet& set) {
    set.add("introTutorialLevel", "screens",
            intro(Scene::Training, "TUTORIAL", "THE TRAINING GROUND", "LEARN THE ROPES BEFORE THE REAL FIGHT"), false);
    set.add("introLevel1", "screens", intro(Scene::Courtyard, "LEVEL 1", "THE COURTYARD", "THE LEGION HOLDS THE SQUARE"),
            false);
    set.add("introLevel2", "screens", intro(Scene::Tech, "LEVEL 2", "THE TECH BASE", "WATCH FOR THE MECHS AND THEIR SHELLS"),
            false);
    set.add("introLevel3", "screens", intro(Scene::Temple, "LEVEL 3", "THE TEMPLE", "SHADOWS THROW STARS IN THE HALLS"), false);
    set.add("introLevel4", "screens", intro(Scene::Ice, "LEVEL 4", "THE ICE FIELD", "THEY MULTIPLY IN THE COLD"), false);
    set.add("introLevel5", "screens", intro(Scene::Palace, "LEVEL 5", "THE DRAGON PALACE", "STRIKE THE TAIL FIRST"), false);
    set.add("romanintroVS", "screens", intro(Scene::Courtyard, "VERSUS", "ROMAN ARENA", "LAST ONE STANDING WINS"), false);
    set.add("futureintroVS", "screens", intro(Scene::Tech, "VERSUS", "FUTURE ARENA", "LAST ONE STANDING WINS"), false);
    set.add("desertintroVS", "screens", intro(Scene::Desert, "VERSUS", "DESERT FORTRESS", "LAST ONE STANDING WINS"), false);
    set.add("ninjaintroVS", "screens", intro(Scene::Temple, "VERSUS", "NINJA ARENA", "LAST ONE STANDING WINS"), false);
    set.add("iceintroVS", "screens", intro(Scene::Arctic, "VERSUS", "ARCTIC ARENA", "INSTANT ACTION ON THE ICE"), false);
    set.add("chineseintroVS", "screens", intro(Scene::Palace, "VERSUS", "CHINA ARENA", "LAST ONE STANDING WINS"), false);

    set.add("backLevel1", "screens", playBackground(courtyardTheme()), false);
    set.add("backLevel2", "screens", playBackground(techTheme()), false);
    set.add("backLevel3", "screens", playBackground(templeTheme()), false);
    set.add("backLevel4", "screens", playBackground(iceTheme()), false);
    set.add("backLevel5", "screens", playBackground(palaceTheme()), false);
    set.add("backTutorialLevel", "screens", playBackground(trainingTheme()), false);

    set.add("menubackground", "screens", menuBackground(), false);
    set.add("helpbackground", "screens", helpBackground(), false);
    set.add("pausebackground", "screens", pauseBackground(), false);
    set.add("gameintro", "screens", titleScreen(), false);
}

}  // namespace art
