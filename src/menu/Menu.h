// The paged front end of the game: every menu page, the pause page and the
// intro screens shown between stages. One flat array of items, each tagged
// with its page; the menu shows one page at a time with its background,
// title, labels, values, cursor and the selected item's scrolling hint.
#pragma once

#include <cstdint>

#include "graphics/AnimationLibrary.h"
#include "graphics/Bitmap.h"
#include "shell/Sound.h"

class Game;
class Input;
class Menu;
class MenuItem;

namespace plat {
class Surface;
}

// Choices the menu keeps between pages for the stage set-ups: the number of
// players (set on the player-count page) and the level START or PRACTICE
// runs (1 to 5). Both stay as last chosen for the whole run.
extern int playerCount;
extern int chosenLevel;

// Creates the items of every page, in their display order, and adds them to
// the menu. Called once, after Menu::init.
void buildMenuTree(Game* game, Menu* menu);

// Page ids.
enum MenuPage {
    kPageTitle = 0,
    kPageMain = 1,
    kPagePause = 2,
    kPagePlayers = 3,
    kPageMode = 4,
    kPageIntroLevel1 = 5,
    kPageIntroLevel2 = 6,
    kPageOptions = 7,
    kPageMultiplayer = 8,
    kPageKeys = 9,
    kPagePressUp = 10,
    kPagePressDown = 11,
    kPagePressRight = 12,
    kPagePressLeft = 13,
    kPagePressPrimary = 14,
    kPagePressSecondary = 15,
    kPageArenas = 16,
    kPageCredits = 17,
    kPageHelp = 18,
    kPagePractice = 19,
    kPageDifficulty = 20,
    kPageIntroLevel4 = 21,
    kPageIntroLevel3 = 22,
    kPageIntroTutorial = 23,
    kPageIntroLevel5 = 24,
    kPageStart = 25,
    kPageIntroRoman = 26,
    kPageIntroDesert = 27,
    kPageIntroFuture = 28,
    kPageIntroNinja = 29,
    kPageIntroArctic = 30,
    kPageIntroChina = 31,
};

class Menu {
public:
    static constexpr int kMaxItems = 10000;
    static constexpr int kRowHeight = 23;

    Menu();
    ~Menu();
    // Owns its items and a library of raw arrays: never copied.
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Loads the screens, title, cursor, music and sounds; (x, y) is where the
    // items of most pages start.
    void init(int x, int y);
    // Takes ownership; places the item under the others of its page. An item
    // beyond the capacity is deleted and not added.
    void addItem(MenuItem* item);
    int countItemsOnPage(int page) const;
    void setPage(int page);
    void draw(plat::Surface& target);
    // Once per pass while the menu or the pause page is shown.
    void handleInput(Input* input);
    // Play hands the keyboard over: each key down now was pressed for play
    // and does nothing in the menu until it is released; any other key acts
    // at once.
    void ignoreHeldKeys(const Input* input);

    void selectNext();
    void selectPrevious();
    void increaseCurrent();
    void decreaseCurrent();
    void activateCurrent();

    // The highest key code down in either key source, -1 when none. Keys
    // held since play handed over do not count.
    int getPressedKey(Input* input) const;
    // Store a captured key into the binding of configuredPlayer and save.
    void setUpKey(int code);
    void setDownKey(int code);
    void setLeftKey(int code);
    void setRightKey(int code);
    void setPrimaryKey(int code);
    void setSecondaryKey(int code);

    // Starts the big bounce of the title from 300 px below its place.
    void restartTitleBounce();
    // The selected item, null when the page has none (a page without items
    // keeps the selection of the page before).
    MenuItem* current() const;
    // Where "menuTitle" rests (read from filepaths.cfg at init).
    int getTitleX() const { return titleX; }
    int getTitleY() const { return titleY; }

    bool showCursor = true;
    int configuredPlayer = 1;
    bool showBackground = false;
    bool showTitle = false;
    MenuItem* items[kMaxItems] = {};
    int selected = 0;
    int itemCount = 0;
    int page = 1;
    int originX = 0;
    int originY = 0;
    int homeX = 0;
    int homeY = 0;
    Bitmap cursor;
    bool keyLatch = false;
    Bitmap* background = nullptr;
    Bitmap* title = nullptr;
    AnimationLibrary library;
    StreamHandle menuMusic = nullptr;
    StreamHandle creditsMusic = nullptr;
    SampleHandle moveSound = nullptr;
    SampleHandle selectSound = nullptr;
    uint32_t scrollTick = 0;
    uint32_t creditsTick = 0;
    uint32_t marqueeTick = 0;
    int marqueeX = 640;
    float bounceOffset = 0.0f;
    bool bounceOn = false;
    uint32_t bounceTick = 0;
    int bounceAmplitude = 0;
    float bounceTime = 0.0f;
    int previousPage = 1;
    uint32_t introTick = 0;
    bool introDone = false;

private:
    static constexpr int kKeyCodes = 256;

    void setKey(int slot, int code);
    // Down in either key source, and not held since play handed over.
    bool keyLive(const Input* input, int vk, int dik) const;
    void forgetReleasedKeys(const Input* input);
    void handleKeyCapture(int code);
    void goBack();
    void stepCredits();
    void stepTitleBounce();
    void drawHintMarquee(plat::Surface& target, MenuItem& item);
    int firstItemOnPage(int page) const;
    int lastItemOnPage(int page) const;
    // An intro, title or help screen: a full picture without cursor or title.
    void showScreen(Bitmap* screen);
    void playMusic(StreamHandle stream);
    void stopMusic(StreamHandle stream);
    void releaseSounds();

    // The stream the menu last started and has not stopped since.
    StreamHandle playingMusic = nullptr;
    int titleX = 0;
    int titleY = 0;
    // The keys down when play last handed the keyboard over, by key source;
    // each is forgotten once seen up.
    bool heldWindowKeys[kKeyCodes] = {};
    bool heldDeviceKeys[kKeyCodes] = {};
};
