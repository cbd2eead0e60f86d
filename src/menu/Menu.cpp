#include "menu/Menu.h"

#include <cmath>
#include <string>

#include "graphics/PixelMath.h"
#include "menu/MenuItem.h"
#include "platform/Clock.h"
#include "platform/KeyCodes.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"
#include "shell/Input.h"

int playerCount = 0;
int chosenLevel = 0;

namespace {

constexpr int kScreenWidth = 640;
constexpr int kHintY = 460;

// Where the title starts before its first bounce, and how far below its
// resting place the bounce begins. The resting place and the cursor's width
// come from filepaths.cfg, so what is worked out from them is held in range
// (clampPixels).
constexpr int kTitleStartY = -200;
constexpr int kBigBounce = 300;
constexpr int kSmallBounce = 70;

constexpr uint32_t kScrollStepMs = 50;
constexpr int kCreditsEndY = -690;
constexpr uint32_t kCreditsKeyDelay = 2000;
constexpr uint32_t kTitlePageTime = 2500;
constexpr uint32_t kBounceStepMs = 20;
constexpr uint32_t kBounceTickMs = 21;
constexpr uint32_t kMarqueeStepMs = 25;
constexpr int kMarqueeStepPx = 2;

constexpr int kCursorGap = 4;
constexpr int kCursorRaise = 8;

// The pages laid out differently from the home position.
constexpr int kOptionsIndent = 60;
constexpr int kPromptIndent = 40;
constexpr int kPauseX = 40, kPauseY = 10;
constexpr int kHelpX = 20, kHelpY = 10;

// The menu keys, each readable from either key source.
struct MenuKey {
    int vk;
    int dik;
};
constexpr MenuKey kDown{plat::VK_DOWN, plat::DIK_DOWN};
constexpr MenuKey kUp{plat::VK_UP, plat::DIK_UP};
constexpr MenuKey kRight{plat::VK_RIGHT, plat::DIK_RIGHT};
constexpr MenuKey kLeft{plat::VK_LEFT, plat::DIK_LEFT};
constexpr MenuKey kEnter{plat::VK_RETURN, plat::DIK_RETURN};
constexpr MenuKey kEscape{plat::VK_ESCAPE, plat::DIK_ESCAPE};

bool isKeyPromptPage(int page) { return page >= kPagePressUp && page <= kPagePressSecondary; }

}  // namespace

Menu::Menu() = default;

Menu::~Menu() {
    for (int i = 0; i < itemCount; ++i) {
        delete items[i];
        items[i] = nullptr;
    }
    itemCount = 0;
    releaseSounds();
    // The library and the cursor release their images themselves.
}

// Also run by a second init, which must not leak the first one's sounds.
void Menu::releaseSounds() {
    if (menuMusic) {
        stopMusicStream(menuMusic);
        closeMusicStream(menuMusic);
    }
    if (creditsMusic) {
        stopMusicStream(creditsMusic);
        closeMusicStream(creditsMusic);
    }
    if (moveSound) freeSample(moveSound);
    if (selectSound) freeSample(selectSound);
    menuMusic = creditsMusic = nullptr;
    moveSound = selectSound = nullptr;
    playingMusic = nullptr;
}

void Menu::init(int x, int y) {
    showCursor = true;
    showBackground = true;
    originX = homeX = x;
    originY = homeY = y;
    page = previousPage = 1;

    library.loadScreens();
    cursor.load(getFrameFile("menuCursor", 1), getWidth("menuCursor"), getHeight("menuCursor"));
    background = library.menubackground;
    title = library.loadMenuTitle();
    titleX = getXPos("menuTitle");
    titleY = getYPos("menuTitle");
    title->x = titleX;
    title->y = kTitleStartY;
    showTitle = true;
    marqueeX = kScreenWidth;

    releaseSounds();
    menuMusic = openMusicStream(getPathString("audio", "menubgm"));
    creditsMusic = openMusicStream(getPathString("audio", "creditsbgm"));
    selectSound = loadSample(getPathString("audio", "menuSelect"));
    moveSound = loadSample(getPathString("audio", "menu"));

    restartTitleBounce();
    marqueeTick = introTick = bounceTick;
}

void Menu::restartTitleBounce() {
    bounceOn = true;
    bounceAmplitude = kBigBounce;
    bounceOffset = float(kBigBounce);
    bounceTime = 0.0f;
    if (title) title->y = clampPixels(int64_t(titleY) + kBigBounce);
    bounceTick = plat::tickCount();
}

void Menu::addItem(MenuItem* item) {
    if (!item) return;
    if (itemCount >= kMaxItems) {
        delete item;
        return;
    }
    item->setPosition(originX, originY + kRowHeight * countItemsOnPage(item->page));
    items[itemCount++] = item;
}

int Menu::countItemsOnPage(int p) const {
    int count = 0;
    for (int i = 0; i < itemCount; ++i)
        if (items[i]->page == p) ++count;
    return count;
}

int Menu::firstItemOnPage(int p) const {
    for (int i = 0; i < itemCount; ++i)
        if (items[i]->page == p) return i;
    return -1;
}

int Menu::lastItemOnPage(int p) const {
    for (int i = itemCount - 1; i >= 0; --i)
        if (items[i]->page == p) return i;
    return -1;
}

MenuItem* Menu::current() const {
    if (selected < 0 || selected >= itemCount) return nullptr;
    // A page without items keeps the selection of another page.
    if (items[selected]->page != page) return nullptr;
    return items[selected];
}

// The menu music plays on while the player moves between menu pages: a
// start of the stream that is already playing would begin it again.
void Menu::playMusic(StreamHandle stream) {
    if (stream && playingMusic == stream) return;
    playMusicStream(stream, true);
    playingMusic = stream;
}

void Menu::stopMusic(StreamHandle stream) {
    stopMusicStream(stream);
    if (playingMusic == stream) playingMusic = nullptr;
}

void Menu::showScreen(Bitmap* screen) {
    showCursor = false;
    showTitle = false;
    background = screen;
}

void Menu::setPage(int p) {
    previousPage = page;
    page = p;
    originX = homeX;
    originY = homeY;
    if (title) {
        title->x = titleX;
        title->y = titleY;
    }

    switch (p) {
    case kPageTitle:
        showScreen(library.gameintro);
        stopMusic(menuMusic);
        introTick = plat::tickCount();
        break;
    case kPagePause:
        originX = kPauseX;
        originY = kPauseY;
        showCursor = true;
        showTitle = false;
        background = library.pausebackground;
        break;
    case kPageOptions:
    case kPageMultiplayer:
    case kPageKeys:
        originX = homeX - kOptionsIndent;
        showCursor = true;
        showTitle = true;
        break;
    case kPageCredits: {
        originX = homeX - kOptionsIndent;
        showCursor = false;
        showTitle = true;
        background = library.menubackground;
        showBackground = true;
        stopMusic(menuMusic);
        playMusic(creditsMusic);
        scrollTick = creditsTick = plat::tickCount();
        break;
    }
    case kPageHelp:
        originX = kHelpX;
        originY = kHelpY;
        showScreen(library.helpbackground);
        break;
    case kPageIntroLevel1: showScreen(library.introLevel1); stopMusic(menuMusic); break;
    case kPageIntroLevel2: showScreen(library.introLevel2); stopMusic(menuMusic); break;
    case kPageIntroLevel3: showScreen(library.introLevel3); stopMusic(menuMusic); break;
    case kPageIntroLevel4: showScreen(library.introLevel4); stopMusic(menuMusic); break;
    case kPageIntroLevel5: showScreen(library.introLevel5); stopMusic(menuMusic); break;
    case kPageIntroTutorial: showScreen(library.introTutorialLevel); stopMusic(menuMusic); break;
    case kPageIntroRoman: showScreen(library.romanintroVS); stopMusic(menuMusic); break;
    case kPageIntroDesert: showScreen(library.desertintroVS); stopMusic(menuMusic); break;
    case kPageIntroFuture: showScreen(library.futureintroVS); stopMusic(menuMusic); break;
    case kPageIntroNinja: showScreen(library.ninjaintroVS); stopMusic(menuMusic); break;
    case kPageIntroArctic: showScreen(library.iceintroVS); stopMusic(menuMusic); break;
    case kPageIntroChina: showScreen(library.chineseintroVS); stopMusic(menuMusic); break;
    default:
        if (isKeyPromptPage(p)) {
            originX = homeX - kPromptIndent;
            showCursor = false;
            showTitle = true;
            break;
        }
        showCursor = true;
        showTitle = true;
        background = library.menubackground;
        stopMusic(creditsMusic);
        playMusic(menuMusic);
        break;
    }

    const int first = firstItemOnPage(p);
    if (first >= 0) selected = first;
}

void Menu::stepCredits() {
    const uint32_t now = plat::tickCount();
    const uint32_t elapsed = now - scrollTick;
    if (elapsed <= kScrollStepMs) return;
    const int rise = int(elapsed / kScrollStepMs);
    originY = clampPixels(int64_t(originY) - rise);
    scrollTick = now;
    if (!title) return;
    title->y = clampPixels(int64_t(title->y) - rise);
    if (title->y < kCreditsEndY) setPage(kPageMain);
}

void Menu::stepTitleBounce() {
    const uint32_t now = plat::tickCount();
    const uint32_t elapsed = now - bounceTick;
    const float t = bounceTime + float(elapsed / kBounceStepMs);
    bounceTime = t;
    bounceOffset = float(bounceAmplitude) * std::exp(-0.03f * t) * std::cos(0.5f * t);
    if (title) title->y = clampPixels(int64_t(titleY) + int(bounceOffset));
    if (elapsed >= kBounceTickMs) bounceTick = now;
}

void Menu::draw(plat::Surface& target) {
    if (page == kPageCredits) {
        stepCredits();
    } else if (page == kPageTitle) {
        if (plat::tickCount() - introTick > kTitlePageTime && !introDone) {
            introDone = true;
            if (itemCount > 0) items[0]->activate();
        }
    } else if (bounceOn) {
        stepTitleBounce();
    }

    if (showBackground && background) background->draw(target);
    if (showTitle && title) title->draw(target);

    int row = 0;
    for (int i = 0; i < itemCount; ++i) {
        if (items[i]->page != page) continue;
        items[i]->setPosition(originX, originY + kRowHeight * row++);
        items[i]->draw(target);
    }

    MenuItem* item = current();
    if (!showCursor || !item) return;
    cursor.x = clampPixels(int64_t(item->x) - cursor.width - kCursorGap);
    cursor.y = clampPixels(int64_t(item->y) - kCursorRaise);
    cursor.draw(target);
    drawHintMarquee(target, *item);
}

// Worked out wide: with the glyph width filepaths.cfg gives, a hint can be
// as wide as the int range.
void Menu::drawHintMarquee(plat::Surface& target, MenuItem& item) {
    const int64_t w = item.hint.getPixelWidth();
    const int64_t gap = w > 0 ? w + (kScreenWidth / w) * 100 : 0;
    const uint32_t now = plat::tickCount();
    const uint32_t elapsed = now - marqueeTick;
    if (elapsed > kMarqueeStepMs) {
        int64_t x = marqueeX - int64_t(elapsed / kMarqueeStepMs) * kMarqueeStepPx;
        if (x <= -w) x = kScreenWidth;
        marqueeX = int(x);  // above -w, which is at least -INT_MAX
        marqueeTick = now;
    }
    for (int64_t x : {int64_t(marqueeX), marqueeX + gap, marqueeX - gap}) {
        item.hint.setPosition(clampPixels(x), kHintY);
        item.hint.draw(target);
    }
}

void Menu::selectNext() {
    const int next = selected + 1;
    if (next >= 0 && next < itemCount && items[next]->page == page) {
        selected = next;
    } else {
        const int first = firstItemOnPage(page);
        if (first >= 0) selected = first;
    }
    marqueeX = kScreenWidth;
    playSample(moveSound);
}

void Menu::selectPrevious() {
    const int previous = selected - 1;
    if (previous >= 0 && previous < itemCount && items[previous]->page == page) {
        selected = previous;
    } else {
        const int last = lastItemOnPage(page);
        if (last >= 0) selected = last;
    }
    marqueeX = kScreenWidth;
    playSample(moveSound);
}

void Menu::increaseCurrent() {
    if (MenuItem* item = current()) item->increase();
}

void Menu::decreaseCurrent() {
    if (MenuItem* item = current()) item->decrease();
}

void Menu::activateCurrent() {
    MenuItem* item = current();
    if (!item) return;
    if (item->activate()) {
        playSample(selectSound);
        marqueeX = kScreenWidth;
    }
}

void Menu::goBack() {
    switch (page) {
    case kPagePlayers:
    case kPageOptions: setPage(kPageMain); break;
    case kPageMode:
    case kPageStart: setPage(kPagePlayers); break;
    case kPageMultiplayer:
    case kPageKeys: setPage(kPageOptions); break;
    case kPageArenas: setPage(kPageMode); break;
    case kPagePractice: setPage(kPageStart); break;
    case kPageDifficulty: setPage(previousPage); break;
    default: break;
    }
}

void Menu::ignoreHeldKeys(const Input* input) {
    for (int code = 0; code < kKeyCodes; ++code) {
        heldWindowKeys[code] = windowKeyDown(code);
        heldDeviceKeys[code] = input && input->isKeyDown(code);
    }
    // Every key down is now held over, so none counts for the latch.
    keyLatch = false;
}

bool Menu::keyLive(const Input* input, int vk, int dik) const {
    return (windowKeyDown(vk) && !heldWindowKeys[vk]) || (input && input->isKeyDown(dik) && !heldDeviceKeys[dik]);
}

void Menu::forgetReleasedKeys(const Input* input) {
    for (int code = 0; code < kKeyCodes; ++code) {
        heldWindowKeys[code] = heldWindowKeys[code] && windowKeyDown(code);
        heldDeviceKeys[code] = heldDeviceKeys[code] && input && input->isKeyDown(code);
    }
}

void Menu::handleInput(Input* input) {
    forgetReleasedKeys(input);
    const int pressed = getPressedKey(input);
    if (pressed < 0) {
        keyLatch = false;
        return;
    }

    if (isKeyPromptPage(page)) {
        if (!keyLatch) handleKeyCapture(pressed);
        keyLatch = true;
        return;
    }
    if (page == kPageCredits) {
        // The credits cannot be skipped in their first two seconds.
        if (plat::tickCount() - creditsTick > kCreditsKeyDelay && !keyLatch) setPage(kPageMain);
        keyLatch = true;
        return;
    }
    if (page == kPageHelp) {
        if (!keyLatch) setPage(kPageMain);
        keyLatch = true;
        return;
    }

    const MenuKey* const order[] = {&kDown, &kUp, &kRight, &kLeft, &kEnter, &kEscape};
    const MenuKey* key = nullptr;
    for (const MenuKey* k : order)
        if (keyLive(input, k->vk, k->dik)) {
            key = k;
            break;
        }
    if (!key) return;  // some other key: the latch stays as it was
    if (!keyLatch) {
        // Set first: an action may run a whole page change in between.
        keyLatch = true;
        if (key == &kDown) {
            selectNext();
        } else if (key == &kUp) {
            selectPrevious();
        } else if (key == &kRight) {
            increaseCurrent();
        } else if (key == &kLeft) {
            decreaseCurrent();
        } else if (key == &kEnter) {
            activateCurrent();
            bounceAmplitude = kSmallBounce;
            bounceTime = 0.0f;
        } else {
            goBack();
        }
    }
    keyLatch = true;
}

void Menu::handleKeyCapture(int code) {
    switch (page) {
    case kPagePressUp: setUpKey(code); setPage(kPagePressDown); break;
    case kPagePressDown: setDownKey(code); setPage(kPagePressLeft); break;
    case kPagePressLeft: setLeftKey(code); setPage(kPagePressRight); break;
    case kPagePressRight: setRightKey(code); setPage(kPagePressPrimary); break;
    case kPagePressPrimary: setPrimaryKey(code); setPage(kPagePressSecondary); break;
    case kPagePressSecondary: setSecondaryKey(code); setPage(kPageKeys); break;
    default: break;
    }
}

int Menu::getPressedKey(Input* input) const {
    int pressed = -1;
    for (int code = 0; code < kKeyCodes; ++code)
        if (keyLive(input, code, code)) pressed = code;
    return pressed;
}

void Menu::setKey(int slot, int code) {
    if (configuredPlayer >= 1 && configuredPlayer <= kMaxPlayers) playerKeys[configuredPlayer - 1][slot] = code;
    saveConfig();
}

void Menu::setUpKey(int code) { setKey(KEY_UP, code); }
void Menu::setDownKey(int code) { setKey(KEY_DOWN, code); }
void Menu::setLeftKey(int code) { setKey(KEY_LEFT, code); }
void Menu::setRightKey(int code) { setKey(KEY_RIGHT, code); }
void Menu::setPrimaryKey(int code) { setKey(KEY_PRIMARY, code); }
void Menu::setSecondaryKey(int code) { setKey(KEY_SECONDARY, code); }
