// Everything drawn over the play: the font strip, health bars, the menu
// cursor, the life and timer icons, the ready and go messages, the checker
// of the screen transition, the title lettering and the window icon.
#include <algorithm>
#include <cmath>

#include "art/Font.h"
#include "art/Noise.h"
#include "art/Paint.h"
#include "art/Sprites.h"

namespace art {

namespace {

constexpr double kPi = 3.14159265358979323846;

const int kBarW = 100, kBarH = 12;

Image barBack(int w, int h) {
    Image img(w, h, rgb(28, 18, 26));
    const Ramp well = makeRamp(rgb(74, 36, 42));
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) img.set(x, y, y == 1 ? well[1] : y == h - 2 ? well[4] : well[2]);
    return img;
}

Image barTop(int w, int h, Colour c) {
    Image img(w, h, rgb(28, 18, 26));
    const Ramp r = makeRamp(c);
    for (int y = 1; y < h - 1; ++y) {
        double t = double(y - 1) / std::max(1, h - 3);
        int level = t < 0.2 ? 5 : t < 0.45 ? 4 : t < 0.8 ? 3 : 2;
        for (int x = 1; x < w - 1; ++x) img.set(x, y, r[level]);
    }
    // notches every ten points, so the bar reads as a gauge
    for (int x = w / 10; x < w - 1; x += std::max(2, w / 10))
        for (int y = 2; y < h - 2; ++y) img.set(x, y, shade(img.at(x, y), -0.25));
    return img;
}

Image lifeIcon() {
    Image img(18, 18);
    Pen pen(img);
    Mask heart = pen.circle(5.5, 6.5, 4.3) | pen.circle(12.5, 6.5, 4.3) | pen.poly({{1.5, 8}, {16.5, 8}, {9, 16.5}});
    pen.shaded(heart, makeRamp(rgb(226, 46, 52)), soft(5.0));
    pen.flat(pen.ellipse(5, 5, 1.6, 1.2), rgb(255, 236, 236));
    outline(img);
    return img;
}

Image timerIcon() {
    Image img(20, 20);
    Pen pen(img);
    pen.shaded(pen.rect(8, 0, 4, 3), makeRamp(rgb(200, 170, 90)), soft(1.0));
    pen.shaded(pen.circle(10, 11, 8), makeRamp(rgb(214, 176, 84)), soft(3.0));
    pen.shaded(pen.circle(10, 11, 6), makeRamp(rgb(246, 240, 226)), soft(4.0, true, 0.1));
    img.vline(10, 6, 11, rgb(40, 30, 40));
    img.hline(10, 13, 11, rgb(200, 40, 40));
    outline(img);
    return img;
}

Image cursor() {
    Image img(32, 32);
    Pen pen(img);
    // an ember flame pointing at the chosen line
    Mask outer = pen.poly({{4, 9}, {12, 12}, {20, 11}, {29, 16}, {20, 21}, {12, 20}, {4, 23}, {8, 16}});
    pen.shaded(outer, makeRamp(rgb(236, 90, 36)), soft(3.0));
    pen.shaded(pen.poly({{10, 13}, {19, 14}, {25, 16}, {19, 18}, {10, 19}, {13, 16}}), makeRamp(rgb(255, 196, 60)),
               soft(2.0, false));
    pen.flat(pen.ellipse(19, 16, 3, 1.6), rgb(255, 250, 220));
    outline(img);
    return img;
}

Image checker() {
    Image img(32, 32);
    const Ramp r = makeRamp(rgb(70, 30, 44));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int d = std::abs(x - 15) + std::abs(y - 15);
            int level = d < 6 ? 4 : d < 9 ? 3 : d < 13 ? 2 : 1;
            if (d == 9 || d == 13) level = 0;
            img.set(x, y, r[level]);
        }
    img.set(15, 15, rgb(255, 190, 80)), img.set(16, 15, rgb(255, 150, 50)), img.set(15, 16, rgb(255, 150, 50));
    return img;
}

Image message(const std::string& text, int w, int h, int scale, bool burst) {
    Image img(w, h);
    Pen pen(img);
    if (!burst) {
        // a ribbon behind the words, its ends folded back
        const Ramp cloth = makeRamp(rgb(150, 30, 40)), gold = makeRamp(rgb(230, 176, 70));
        int y0 = h / 2 - 30, y1 = h / 2 + 30;
        pen.shaded(pen.poly({{2.0, y0 + 12.0}, {30.0, y0 + 12.0}, {30.0, y1 + 8.0}, {2.0, y1 + 8.0}, {12.0, (y0 + y1) / 2.0 + 10}}),
                   makeRamp(rgb(110, 20, 30)), soft(2.0));
        pen.shaded(pen.poly({{w - 2.0, y0 + 12.0}, {w - 30.0, y0 + 12.0}, {w - 30.0, y1 + 8.0}, {w - 2.0, y1 + 8.0},
                             {w - 12.0, (y0 + y1) / 2.0 + 10}}),
                   makeRamp(rgb(110, 20, 30)), soft(2.0));
        pen.shaded(pen.rect(18, y0, w - 36, y1 - y0), cloth, soft(3.0));
        pen.flat(pen.rect(18, y0 + 3, w - 36, 2) | pen.rect(18, y1 - 5, w - 36, 2), gold[4]);
        outline(img);
    } else {
        std::vector<std::pair<double, double>> pts;
        for (int k = 0; k < 24; ++k) {
            double a = k * kPi / 12;
            double r = k % 2 == 0 ? 1.0 : 0.72;
            pts.push_back({w / 2.0 + std::cos(a) * r * (w / 2.0 - 4), h / 2.0 + std::sin(a) * r * (h / 2.0 - 4)});
        }
        pen.shaded(pen.poly(pts), makeRamp(rgb(236, 96, 36)), soft(10.0));
        pen.shaded(pen.ellipse(w / 2.0, h / 2.0, w * 0.34, h * 0.3), makeRamp(rgb(255, 190, 60)), soft(12.0, false));
        outline(img);
    }
    TextStyle st;
    st.scale = scale;
    st.outlineWidth = std::max(2, scale / 2);
    st.shadowDrop = scale / 2 + 1;
    st.top = rgb(255, 252, 236);
    st.bottom = rgb(255, 170, 60);
    st.outline = rgb(60, 16, 20);
    int tw = textWidth(text, st), th = textHeight(st);
    drawText(img, (w - tw) / 2, (h - th) / 2, text, st);
    return img;
}

}  // namespace

Image titleLogo(int scale, int width, int height) {
    Image img(width, height);
    TextStyle st;
    st.scale = scale;
    st.outlineWidth = std::max(2, scale / 2);
    st.shadowDrop = scale / 2 + 1;
    st.top = rgb(255, 246, 200);
    st.bottom = rgb(246, 110, 34);
    st.outline = rgb(54, 14, 22);
    st.shadow = rgb(24, 6, 12);
    const std::string text = "EMBERHAUNT";
    int tw = textWidth(text, st), th = textHeight(st);
    int tx = (width - tw) / 2, ty = height - th - 6;
    // flames rising behind the letters
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double rise = double(ty + th / 2 - y) / (height * 0.75);
            if (x < tx - 6 || x > tx + tw + 6 || rise < 0) continue;
            double n = fractalNoise(x * 1.2, y * 0.7, 18, 4242, 3);
            double edge = std::min(x - (tx - 6), tx + tw + 6 - x) / 40.0;
            double heat = n * 1.25 - rise - (edge < 1 ? (1 - edge) * 0.6 : 0);
            if (heat > 0.35) img.set(x, y, heat > 0.8 ? rgb(255, 214, 90) : heat > 0.58 ? rgb(250, 140, 40) : rgb(200, 60, 36));
        }
    outline(img, rgb(70, 18, 22));
    drawText(img, tx, ty, text, st);
    return img;
}

Image makeIcon() {
    Image img(32, 32);
    Pen pen(img);
    pen.shaded(pen.circle(14, 19, 11), makeRamp(rgb(60, 56, 84)), soft(12.0));
    pen.flat(pen.ellipse(10, 14, 2.6, 1.8), rgb(226, 232, 250));
    pen.shaded(pen.rect(20, 6, 5, 4), makeRamp(rgb(170, 166, 176)), soft(1.2));
    Mask fire = pen.poly({{22, 7}, {25, 0}, {27, 3}, {31, 1}, {29, 8}, {24, 9}});
    pen.shaded(fire, makeRamp(rgb(250, 120, 40)), soft(2.0));
    pen.flat(pen.circle(26, 5, 1.8), rgb(255, 240, 160));
    outline(img);
    return img;
}

void addInterface(AssetSet& set) {
    set.add("fontsmall", "ui", fontStrip(), false).with("charWidth", kCharWidth).with("charHeight", kCharHeight);
    set.add("checker", "ui", checker());
    set.add("menuCursor", "ui", cursor());
    set.add("life", "ui", lifeIcon());
    set.add("timer", "ui", timerIcon());
    set.add("messageready", "ui", message("READY?", 270, 150, 4, false), false);
    set.add("messagego", "ui", message("GO!", 264, 200, 7, true), false);
    const Colour players[4] = {rgb(226, 60, 48), rgb(60, 120, 230), rgb(66, 176, 90), rgb(244, 200, 50)};
    for (int n = 1; n <= 4; ++n) {
        set.add("healthbarback" + std::to_string(n), "ui", barBack(kBarW, kBarH), false);
        set.add("healthbartop" + std::to_string(n), "ui", barTop(kBarW, kBarH, players[n - 1]), false);
    }
    set.add("enemyhealthbarBack", "ui", barBack(32, 5));
    set.add("enemyhealthbarTop", "ui", barTop(32, 5, rgb(236, 110, 40)));
    set.add("menuTitle", "ui", titleLogo(6, 560, 150), false).with("xpos", 40).with("ypos", 50);
}

}  // namespace art
