// Figures on two legs: the four players and the humanoid enemies (the
// training bot, the courtyard legionary and the temple ninja).
#include <cmath>
#include <string>

#include "art/Paint.h"
#include "art/Sprites.h"

namespace art {

const char* const kDirNames[4] = {"right", "left", "up", "down"};

namespace {

enum class HeadKind { Hood, Helmet, Ninja, Bot };

struct Outfit {
    HeadKind head = HeadKind::Hood;
    Colour hood = 0, tunic = 0, accent = 0, skin = rgb(238, 186, 146), boots = rgb(92, 60, 44), limbs = 0,
           eye = rgb(30, 20, 40), metal = rgb(200, 160, 70);
    bool shield = false;
    Colour shieldColour = 0;
};

// Pixel offsets of one walk phase: 0 and 2 stand, 1 and 3 stride.
struct Stride {
    int bob;     // body offset (up is negative)
    int lift;    // which foot is lifted: -1 left, +1 right, 0 none
    int swing;   // arm swing: -1, 0, +1
};

Stride strideOf(int phase) {
    switch (phase & 3) {
        case 1: return {-1, -1, 1};
        case 3: return {-1, 1, -1};
        default: return {0, 0, 0};
    }
}

class Figure {
public:
    Figure(const Outfit& o, Dir d, int phase) : o_(o), d_(d), s_(strideOf(phase)), img_(32, 32), pen_(img_) {}

    Image draw() {
        if (d_ == kDown) front();
        else if (d_ == kUp) back();
        else side();
        outline(img_);
        return img_;
    }

private:
    const Outfit& o_;
    Dir d_;
    Stride s_;
    Image img_;
    Pen pen_;

    bool mirrored() const { return d_ == kLeft; }
    Mask M(const Mask& m) const { return mirrored() ? m.flippedH() : m; }
    void paint(const Mask& m, Colour c, double round = 2.5, bool contour = true, double bias = 0) {
        Shading sh;
        sh.round = round;
        sh.contour = contour;
        sh.bias = bias;
        pen_.shaded(M(m), makeRamp(c), sh);
    }
    void flat(const Mask& m, Colour c) { pen_.flat(M(m), c); }
    Colour limbColour() const { return o_.limbs ? o_.limbs : shade(o_.tunic, -0.25); }
    Colour sleeve() const { return o_.head == HeadKind::Bot ? limbColour() : shade(o_.tunic, -0.12); }

    // ---- front -------------------------------------------------------
    void legsFront() {
        const int by = s_.bob;
        for (int side = -1; side <= 1; side += 2) {
            int x = side < 0 ? 11 : 17;
            int lift = (s_.lift == side) ? 2 : 0;
            paint(pen_.rect(x, 22 + by, 4, 6 - lift), limbColour(), 1.5);
            paint(pen_.roundRect(x - (side < 0 ? 1 : 0), 27 - lift, 5, 3, 1.2), o_.boots, 1.5);
        }
    }
    void armsFront(bool shieldSide) {
        const int by = s_.bob;
        for (int side = -1; side <= 1; side += 2) {
            double sx = side < 0 ? 9.5 : 22.5, hx = side < 0 ? 7.5 : 24.5;
            double hy = 23.0 + by + (side == -1 ? s_.swing : -s_.swing);
            paint(pen_.line(sx, 17.5 + by, hx, hy - 1.5, 3.6), sleeve(), 1.5);
            paint(pen_.circle(hx, hy, 2.0), o_.head == HeadKind::Bot ? o_.metal : o_.skin, 1.5);
        }
        if (shieldSide && o_.shield) {
            Mask sh = pen_.roundRect(3, 15 + by, 9, 12, 2.0);
            paint(sh, o_.shieldColour, 2.0);
            paint(pen_.circle(7.5, 21 + by, 1.8), o_.metal, 1.5);
            Mask band = pen_.rect(4, 17 + by, 7, 1) | pen_.rect(4, 25 + by, 7, 1);
            flat(band & sh, shade(o_.metal, -0.1));
        }
    }
    void torsoFront() {
        const int by = s_.bob;
        Mask body = pen_.roundRect(9, 15 + by, 14, 11, 3.0);
        paint(body, o_.tunic, 3.0);
        if (o_.head == HeadKind::Helmet) {
            for (int y = 17; y <= 21; y += 2) flat(pen_.rect(10, y + by, 12, 1) & body, shade(o_.metal, -0.35));
            paint(pen_.rect(11, 16 + by, 10, 6) & body, o_.metal, 1.5, true);
            for (int y = 18; y <= 21; y += 2) flat(pen_.rect(11, y + by, 10, 1), shade(o_.metal, -0.4));
        }
        if (o_.head == HeadKind::Bot) {
            flat(pen_.rect(10, 18 + by, 12, 1) & body, shade(o_.tunic, -0.5));
            flat(pen_.rect(10, 22 + by, 12, 1) & body, shade(o_.tunic, -0.5));
            paint(pen_.circle(16, 20 + by, 2.2), o_.accent, 1.2);
        }
        Mask belt = pen_.rect(9, 23 + by, 14, 2) & body.dilated();
        paint(belt, o_.head == HeadKind::Ninja ? o_.accent : shade(o_.boots, -0.1), 1.0);
        flat(pen_.rect(15, 23 + by, 2, 2), o_.metal);
    }
    void headFront() {
        const int by = s_.bob;
        switch (o_.head) {
            case HeadKind::Hood: {
                // a floppy hood tip, the hood, the face in its opening, and a scarf
                paint(pen_.poly({{18, 4.0 + by}, {27, 1.0 + by}, {25, 8.0 + by}}), o_.hood, 2.0);
                Mask hood = pen_.ellipse(16, 10.5 + by, 8.6, 8.2);
                paint(hood, o_.hood, 5.0);
                Mask face = pen_.ellipse(16, 12.3 + by, 5.6, 4.8);
                paint(face, o_.skin, 3.5, true, 0.05);
                eyesFront(11 + by);
                paint(pen_.roundRect(10, 16 + by, 12, 2, 0.8), o_.accent, 1.0);
                paint(pen_.rect(19, 17 + by, 2, 4), o_.accent, 1.0);
                break;
            }
            case HeadKind::Helmet: {
                Mask crest = pen_.roundRect(14, 0 + by, 4, 7, 1.5);
                paint(crest, o_.accent, 1.5);
                Mask helm = pen_.ellipse(16, 10 + by, 8.2, 8.0);
                paint(helm, o_.metal, 5.0);
                Mask face = pen_.roundRect(10, 9 + by, 12, 8, 3.0);
                paint(face, o_.skin, 3.0, true, 0.05);
                flat(pen_.rect(10, 8 + by, 12, 1), shade(o_.metal, -0.45));
                paint(pen_.rect(8, 10 + by, 3, 7) | pen_.rect(21, 10 + by, 3, 7), o_.metal, 1.2);
                eyesFront(11 + by);
                break;
            }
            case HeadKind::Ninja: {
                Mask head = pen_.ellipse(16, 10.5 + by, 8.0, 8.0);
                paint(head, o_.hood, 5.0);
                Mask slit = pen_.roundRect(10, 9 + by, 12, 5, 2.0);
                paint(slit, o_.skin, 2.0, true, 0.05);
                eyesFront(10 + by, true);
                paint(pen_.rect(8, 5 + by, 16, 3), o_.accent, 1.2);
                break;
            }
            case HeadKind::Bot: {
                paint(pen_.line(16, 1 + by, 16, 5 + by, 1.6), o_.metal, 1.0);
                paint(pen_.circle(16, 1.5 + by, 1.6), o_.accent, 1.0);
                Mask dome = pen_.ellipse(16, 11 + by, 8.5, 7.6);
                paint(dome, o_.hood, 5.0);
                Mask visor = pen_.roundRect(9, 9 + by, 14, 5, 2.0);
                paint(visor, rgb(40, 44, 60), 1.5);
                paint(pen_.circle(16, 11.5 + by, 2.2), o_.eye, 1.5, false, 0.2);
                img_.set(15, 10 + by, rgb(255, 255, 236));
                break;
            }
        }
    }
    void eyesFront(int y, bool narrow = false) {
        int h = narrow ? 2 : 3;
        for (int x : {12, 18}) {
            img_.fillRect(x, y, 2, h, o_.eye);
            img_.set(x, y, rgb(250, 250, 255));
        }
    }
    void front() {
        legsFront();
        torsoFront();
        armsFront(true);
        headFront();
    }

    // ---- back --------------------------------------------------------
    void back() {
        const int by = s_.bob;
        legsFront();
        for (int side = -1; side <= 1; side += 2) {
            double sx = side < 0 ? 9.5 : 22.5, hx = side < 0 ? 7.5 : 24.5;
            double hy = 23.0 + by + (side == -1 ? -s_.swing : s_.swing);
            paint(pen_.line(sx, 17.5 + by, hx, hy - 1.5, 3.6), sleeve(), 1.5);
            paint(pen_.circle(hx, hy, 2.0), o_.head == HeadKind::Bot ? o_.metal : o_.skin, 1.5);
        }
        Mask body = pen_.roundRect(9, 15 + by, 14, 11, 3.0);
        paint(body, o_.tunic, 3.0);
        if (o_.head == HeadKind::Helmet) {
            paint(pen_.rect(11, 16 + by, 10, 6) & body, o_.metal, 1.5);
            for (int y = 18; y <= 21; y += 2) flat(pen_.rect(11, y + by, 10, 1), shade(o_.metal, -0.4));
        }
        if (o_.head == HeadKind::Bot) {
            paint(pen_.roundRect(12, 17 + by, 8, 6, 1.5), shade(o_.tunic, -0.2), 1.2);
            flat(pen_.rect(13, 19 + by, 6, 1) | pen_.rect(13, 21 + by, 6, 1), rgb(40, 34, 30));
        }
        paint(pen_.rect(9, 23 + by, 14, 2) & body.dilated(),
              o_.head == HeadKind::Ninja ? o_.accent : shade(o_.boots, -0.1), 1.0);
        if (o_.shield) {
            Mask sh = pen_.roundRect(20, 14 + by, 9, 12, 2.0);
            paint(sh, shade(o_.shieldColour, -0.2), 2.0);
        }
        switch (o_.head) {
            case HeadKind::Hood:
                paint(pen_.poly({{14, 4.0 + by}, {5, 1.0 + by}, {7, 8.0 + by}}), o_.hood, 2.0);
                paint(pen_.ellipse(16, 10.5 + by, 8.6, 8.2), o_.hood, 5.0);
                flat(pen_.rect(16, 4 + by, 1, 12), shade(o_.hood, -0.3));
                paint(pen_.roundRect(10, 16 + by, 12, 2, 0.8), o_.accent, 1.0);
                paint(pen_.rect(13 + s_.swing, 17 + by, 2, 5), o_.accent, 1.0);
                break;
            case HeadKind::Helmet:
                paint(pen_.ellipse(16, 10 + by, 8.2, 8.0), o_.metal, 5.0);
                paint(pen_.roundRect(14, 0 + by, 4, 12, 1.5), o_.accent, 1.5);
                paint(pen_.rect(9, 13 + by, 14, 4), shade(o_.metal, -0.1), 1.2);
                break;
            case HeadKind::Ninja:
                paint(pen_.ellipse(16, 10.5 + by, 8.0, 8.0), o_.hood, 5.0);
                paint(pen_.rect(8, 5 + by, 16, 3), o_.accent, 1.2);
                paint(pen_.poly({{15, 7.0 + by}, {18, 7.0 + by}, {20.0 + s_.swing, 15.0 + by}, {17.0 + s_.swing, 14.0 + by}}),
                      o_.accent, 1.2);
                break;
            case HeadKind::Bot:
                paint(pen_.line(16, 1 + by, 16, 5 + by, 1.6), o_.metal, 1.0);
                paint(pen_.circle(16, 1.5 + by, 1.6), o_.accent, 1.0);
                paint(pen_.ellipse(16, 11 + by, 8.5, 7.6), o_.hood, 5.0);
                flat(pen_.rect(12, 12 + by, 8, 1) | pen_.rect(12, 14 + by, 8, 1), shade(o_.hood, -0.45));
                break;
        }
    }

    // ---- side (drawn facing right; left is the mirror) -----------------
    int X(int x) const { return mirrored() ? 31 - x : x; }
    void dot(int x, int y, Colour c) { img_.set(X(x), y, c); }
    void eyeSide(int x, int y, int h) {
        for (int k = 0; k < h; ++k) dot(x, y + k, o_.eye), dot(x + 1, y + k, o_.eye);
        dot(x + 1, y, rgb(250, 250, 255));
    }
    void side() {
        const int by = s_.bob;
        const int stride = s_.lift;  // -1 / +1 stride frames, 0 standing
        const Colour farLimb = shade(limbColour(), -0.3), farSleeve = shade(sleeve(), -0.3);
        const Colour hands = o_.head == HeadKind::Bot ? o_.metal : o_.skin;
        // far leg and far arm, a shade darker
        int farX = 14 - 3 * stride;
        paint(pen_.rect(farX, 23 + by, 4, 5 - by), farLimb, 1.2);
        paint(pen_.roundRect(farX, 27, 6, 3, 1.2), shade(o_.boots, -0.25), 1.2);
        double farHand = 16.0 - 3.0 * s_.swing;
        paint(pen_.line(15.5, 18.0 + by, farHand, 21.5 + by, 3.0), farSleeve, 1.2);
        paint(pen_.circle(farHand, 22.5 + by, 1.8), shade(hands, -0.25), 1.2);
        // body
        Mask body = pen_.roundRect(11, 15 + by, 10, 10, 3.0);
        paint(body, o_.tunic, 3.0);
        if (o_.head == HeadKind::Helmet) {
            paint(pen_.rect(12, 16 + by, 8, 6) & body, o_.metal, 1.5);
            for (int y = 18; y <= 21; y += 2) flat(pen_.rect(12, y + by, 8, 1), shade(o_.metal, -0.4));
        }
        if (o_.head == HeadKind::Bot) {
            flat(pen_.rect(11, 18 + by, 10, 1) & body, shade(o_.tunic, -0.5));
            flat(pen_.rect(11, 22 + by, 10, 1) & body, shade(o_.tunic, -0.5));
        }
        paint(pen_.rect(11, 22 + by, 10, 2) & body.dilated(), o_.head == HeadKind::Ninja ? o_.accent : shade(o_.boots, -0.1),
              1.0);
        // near leg
        int nearX = 14 + 3 * stride;
        paint(pen_.rect(nearX, 23 + by, 4, 5 - by), limbColour(), 1.2);
        paint(pen_.roundRect(nearX, 27, 6, 3, 1.2), o_.boots, 1.2);
        // head
        switch (o_.head) {
            case HeadKind::Hood:
                paint(pen_.poly({{11, 5.0 + by}, {3, 6.0 + by}, {5, 9.0 + by}, {10, 10.0 + by}}), o_.hood, 2.0);
                paint(pen_.ellipse(15.5, 10 + by, 8.2, 7.8), o_.hood, 5.0);
                paint(pen_.ellipse(19.8, 11.5 + by, 4.2, 4.6), o_.skin, 3.0, true, 0.05);
                eyeSide(20, 10 + by, 3);
                break;
            case HeadKind::Helmet:
                paint(pen_.ellipse(14, 2.5 + by, 7.0, 3.2) - pen_.rect(0, 4 + by, 32, 10), o_.accent, 1.5);
                paint(pen_.ellipse(15.5, 10 + by, 8.2, 7.8), o_.metal, 5.0);
                paint(pen_.roundRect(17, 9 + by, 7, 8, 2.5), o_.skin, 2.5, true, 0.05);
                flat(pen_.rect(16, 8 + by, 9, 1), shade(o_.metal, -0.45));
                paint(pen_.rect(13, 10 + by, 4, 7), o_.metal, 1.2);
                eyeSide(21, 11 + by, 3);
                break;
            case HeadKind::Ninja:
                paint(pen_.poly({{10, 6.0 + by}, {3, 7.0 - s_.swing + by}, {4, 10.0 - s_.swing + by}, {10, 8.0 + by}}),
                      o_.accent, 1.0);
                paint(pen_.ellipse(15.5, 10 + by, 8.0, 7.8), o_.hood, 5.0);
                paint(pen_.roundRect(17, 9 + by, 7, 4, 1.5), o_.skin, 2.0, true, 0.05);
                eyeSide(20, 10 + by, 2);
                paint(pen_.rect(8, 5 + by, 16, 3), o_.accent, 1.2);
                break;
            case HeadKind::Bot:
                paint(pen_.line(14, 1 + by, 15, 5 + by, 1.6), o_.metal, 1.0);
                paint(pen_.circle(14, 1.5 + by, 1.6), o_.accent, 1.0);
                paint(pen_.ellipse(15.5, 11 + by, 8.3, 7.6), o_.hood, 5.0);
                paint(pen_.roundRect(18, 9 + by, 7, 5, 2.0), rgb(40, 44, 60), 1.5);
                paint(pen_.circle(21.5, 11.5 + by, 1.8), o_.eye, 1.2, false, 0.2);
                dot(21, 10 + by, rgb(255, 255, 236));
                break;
        }
        if (o_.head == HeadKind::Hood) {
            // the scarf, its end streaming behind
            paint(pen_.roundRect(11, 16 + by, 10, 2, 0.8), o_.accent, 1.0);
            paint(pen_.poly({{12, 16.0 + by}, {7.0 - s_.swing, 17.0 + by}, {6.0 - s_.swing, 20.0 + by}, {12, 18.0 + by}}),
                  o_.accent, 1.0);
        }
        // near arm over everything
        double hand = 16.0 + 3.0 * s_.swing;
        paint(pen_.line(16.0, 18.0 + by, hand, 21.5 + by, 3.0), sleeve(), 1.2);
        paint(pen_.circle(hand + 0.3, 22.5 + by, 1.8), hands, 1.2);
        if (o_.shield) {
            Mask sh = pen_.roundRect(19, 14 + by, 5, 13, 1.5);
            paint(sh, o_.shieldColour, 1.5);
            paint(pen_.rect(23, 16 + by, 1, 9), o_.metal, 1.0);
        }
    }
};

std::vector<Image> walkFrames(const Outfit& o, Dir d, int count) {
    std::vector<Image> frames;
    for (int i = 0; i < count; ++i) frames.push_back(Figure(o, d, i).draw());
    return frames;
}

// Walk frames for the sets whose last frame is the standing pose.
std::vector<Image> walkWithStill(const Outfit& o, Dir d) {
    std::vector<Image> frames;
    const int order[4] = {1, 0, 3, 0};
    for (int p : order) frames.push_back(Figure(o, d, p).draw());
    frames.push_back(Figure(o, d, 0).draw());
    return frames;
}

// Players spin, char and crumble to a smouldering heap.
std::vector<Image> playerDeath(const Outfit& o) {
    std::vector<Image> frames;
    const Dir spin[4] = {kDown, kLeft, kUp, kRight};
    for (int i = 0; i < 4; ++i) {
        Image f = Figure(o, spin[i], 0).draw();
        f.tint(rgb(255, 236, 200), 0.15 + 0.15 * i);
        frames.push_back(f);
    }
    Image charred = Figure(o, kDown, 0).draw();
    charred.tint(rgb(40, 34, 40), 0.8);
    charred.set(12, 11, rgb(255, 240, 200));
    charred.set(19, 11, rgb(255, 240, 200));
    frames.push_back(charred);
    std::vector<Image> burst = burstDeath(charred, rgb(255, 140, 40), 7, 4711u);
    frames.insert(frames.end(), burst.begin() + 1, burst.end());
    return frames;
}

Outfit playerOutfit(int n) {
    Outfit o;
    o.head = HeadKind::Hood;
    switch (n) {
        case 1: o.hood = rgb(214, 52, 44), o.tunic = rgb(178, 46, 44), o.accent = rgb(250, 196, 70); break;
        case 2: o.hood = rgb(52, 112, 226), o.tunic = rgb(44, 86, 180), o.accent = rgb(236, 240, 250); break;
        case 3: o.hood = rgb(60, 168, 84), o.tunic = rgb(42, 128, 70), o.accent = rgb(250, 226, 120); break;
        default: o.hood = rgb(240, 196, 40), o.tunic = rgb(214, 150, 30), o.accent = rgb(110, 60, 160); break;
    }
    o.limbs = rgb(70, 58, 72);
    o.eye = rgb(26, 20, 40);
    o.metal = rgb(222, 184, 96);
    return o;
}

void addWalker(AssetSet& set, const std::string& name, const std::string& folder, const Outfit& o,
               bool stillLast, int speed, int stillIndex, Colour ember, const std::string& deathName) {
    std::vector<Image> walks[4];
    for (int d = 0; d < 4; ++d) walks[d] = stillLast ? walkWithStill(o, Dir(d)) : walkFrames(o, Dir(d), 4);
    // down first, as the game reads it, but every direction goes in
    const int order[4] = {kRight, kLeft, kUp, kDown};
    for (int d : order) {
        Section& s = set.add(name + kDirNames[d], folder, walks[d]);
        if (d == kDown) {
            s.with("animationSpeed", speed);
            if (stillIndex >= 0) s.with("stillFrameIndex", stillIndex);
        }
    }
    for (int d : order) set.add(name + "hit" + kDirNames[d], folder, hitFrames(walks[d]));
    std::vector<Image> death = burstDeath(walks[kDown][stillLast ? 4 : 0], ember, 6, 99u + unsigned(name.size()));
    set.add(deathName, folder, death).with("animationSpeed", 110);
}

}  // namespace

Image playerStanding(int player, Dir d) { return Figure(playerOutfit(player), d, 0).draw(); }

void addPlayers(AssetSet& set) {
    const char* names[4] = {"player", "player2", "player3", "player4"};
    for (int n = 1; n <= 4; ++n) {
        Outfit o = playerOutfit(n);
        std::string base = names[n - 1];
        std::vector<Image> walks[4];
        for (int d = 0; d < 4; ++d) walks[d] = walkFrames(o, Dir(d), 4);
        const int order[4] = {kRight, kLeft, kUp, kDown};
        for (int d : order) {
            Section& s = set.add(base + kDirNames[d], "player", walks[d]);
            if (d == kDown) s.with("animationSpeed", 150);
        }
        for (int d : order) set.add(base + "hit" + kDirNames[d], "player", hitFrames(walks[d]));
        set.add(base + "death", "player", playerDeath(o)).with("animationSpeed", 170);
    }
}

void addHumanoidEnemies(AssetSet& set) {
    // The training ground's practice bot.
    Outfit bot;
    bot.head = HeadKind::Bot;
    bot.hood = rgb(196, 150, 84);
    bot.tunic = rgb(150, 102, 60);
    bot.accent = rgb(250, 90, 60);
    bot.limbs = rgb(120, 120, 132);
    bot.metal = rgb(170, 170, 184);
    bot.eye = rgb(255, 110, 60);
    bot.boots = rgb(90, 90, 104);
    addWalker(set, "enemy", "enemy", bot, false, 160, -1, rgb(255, 170, 60), "enemydeath");

    // The courtyard legionary.
    Outfit soldier;
    soldier.head = HeadKind::Helmet;
    soldier.metal = rgb(214, 164, 72);
    soldier.tunic = rgb(176, 40, 40);
    soldier.accent = rgb(206, 36, 40);
    soldier.limbs = rgb(150, 40, 40);
    soldier.boots = rgb(110, 72, 42);
    soldier.shield = true;
    soldier.shieldColour = rgb(168, 32, 36);
    addWalker(set, "enemy1", "enemy1", soldier, false, 170, 0, rgb(255, 190, 80), "enemy1death");

    // The temple ninja.
    Outfit ninja;
    ninja.head = HeadKind::Ninja;
    ninja.hood = rgb(50, 46, 80);
    ninja.tunic = rgb(44, 40, 70);
    ninja.limbs = rgb(36, 32, 58);
    ninja.accent = rgb(210, 40, 50);
    ninja.boots = rgb(30, 28, 44);
    ninja.metal = rgb(180, 180, 196);
    addWalker(set, "enemy3", "enemy3", ninja, true, 110, -1, rgb(200, 200, 230), "enemy3death");
}

}  // namespace art
