// Level set-up, clean-up, pause and input. The round itself (draw and the
// result check) is in LevelRound.cpp.
#include "world/Level.h"

#include <string>

#include "platform/Clock.h"
#include "shell/FilePaths.h"
#include "shell/Input.h"

namespace {

constexpr int kLifeIconX = 0;
constexpr int kLifeIconY = 0;
constexpr int kTimerIconX = 7;
constexpr int kTimerIconY = 3;
constexpr int kClockX = 30;
constexpr int kClockY = 3;

// Frame 1 of a filepaths.cfg section at the section's size, placed at
// (x, y). Throws CException when the image does not load.
std::unique_ptr<Bitmap> loadImage(const char* section, int x = 0, int y = 0) {
    auto image = std::make_unique<Bitmap>();
    image->load(getFrameFile(section, 1), getWidth(section), getHeight(section));
    image->x = x;
    image->y = y;
    return image;
}

SampleHandle loadAudio(const char* name) { return loadSample(getPathString("audio", name)); }

void releaseSample(SampleHandle& sample) {
    if (sample) freeSample(sample);
    sample = nullptr;
}

}  // namespace

Level::Level()
    : state(kLevelRunning),
      stageNumber(0),
      started(false),
      introTransitionDue(false),
      difficulty(0),
      lives(0),
      tileSize(0),
      width(0),
      height(0),
      cellCount(0),
      library(nullptr),
      versus(false),
      liveEnemies(0),
      livePlayers(0),
      phaseTick(0),
      running(false),
      music(nullptr),
      drawSample(nullptr),
      loseSample(nullptr),
      winSample(nullptr),
      readySample(nullptr),
      startSample(nullptr),
      gameoverSample(nullptr),
      hurrySample(nullptr),
      finished(false),
      numberOfPlayers(0),
      setUpTick(0),
      introImage(nullptr),
      backgroundImage(nullptr),
      lastOneTick(0),
      lastOneFlag(false),
      hintPeriodTick(0),
      hintIndex(0),
      hintChangeTick(0),
      clockBase(0),
      secondsLeft(0),
      pausedElapsed(0),
      fallingLifeTick(0),
      fallingLife(false),
      fallingLifeY(0),
      resultDelay(0),
      fallingLifeX(0.0f),
      fallingLifePhase(0.0f),
      hurryPlayed(false) {}

// Samples and the music are left to cleanup: at process exit the audio
// device may already be gone. Memory is returned either way, the entities
// first because they draw from the library's frames.
Level::~Level() {
    for (auto& tiles : tileLists) tiles.clear();
    blocks.clear();
    explosions.clear();
    bombs.clear();
    players.clear();
    enemies.clear();
    powerups.clear();
    missiles.clear();
    homingMissiles.clear();
    delete library;
    library = nullptr;
}

void Level::init(int newWidth, int newHeight, int numPlayers, int newDifficulty) {
    // A stage left running (not cleaned up) would otherwise leak its
    // library, images and sounds; cleanup keeps the fields the caller set.
    if (library || readyMessage || !players.empty() || !enemies.empty()) cleanup();

    difficulty = newDifficulty;
    numberOfPlayers = numPlayers;
    tileSize = kTileSize;
    width = newWidth > 0 ? newWidth : 0;
    height = newHeight > 0 ? newHeight : 0;
    cellCount = width * height;

    finished = false;
    secondsLeft = 0;
    clockBase = 0;
    fallingLife = false;
    hurryPlayed = false;
    state = kLevelRunning;
    running = false;

    grid.create(width, height);

    readyMessage = loadImage("messageready");
    goMessage = loadImage("messagego");
    lifeIcon = loadImage("life", kLifeIconX, kLifeIconY);
    timerIcon = loadImage("timer", kTimerIconX, kTimerIconY);

    library = new AnimationLibrary();
    library->loadExplosion();
    library->loadBomb();
    library->loadDynamite();
    library->loadPowerups();
    library->loadMissile();
    library->loadHomingMissile();
    library->loadDust();
    library->loadScreens();

    drawSample = loadAudio("draw");
    loseSample = loadAudio("lose");
    winSample = loadAudio("win");
    readySample = loadAudio("ready");
    startSample = loadAudio("start");
    gameoverSample = loadAudio("gameover");
    hurrySample = loadAudio("hurry");

    for (auto& layout : layoutLayers) layout.assign(static_cast<std::size_t>(cellCount), 0);

    clockText.initGameFont(kClockX, kClockY);

    secondsLeft = kStartSeconds;
}

void Level::cleanup() {
    for (int i = 0; i < layer::kCount; ++i) {
        std::vector<int>().swap(layoutLayers[i]);
        tileLists[i].clear();
    }

    for (Player& player : players) player.releaseSounds();
    for (Enemy& enemy : enemies) enemy.releaseSounds();
    // A missile frees its sound 700 ms after its burst; one still flying (or
    // just burst) when the stage ends would keep it for good. Bombs free
    // theirs when they are destroyed.
    for (Missile& missile : missiles) missile.releaseSound();
    for (HomingMissile& missile : homingMissiles) missile.releaseSound();

    blocks.clear();
    explosions.clear();
    bombs.clear();
    players.clear();
    enemies.clear();
    powerups.clear();
    missiles.clear();
    homingMissiles.clear();

    tileSize = 0;
    width = 0;
    height = 0;
    cellCount = 0;
    versus = false;
    liveEnemies = 0;
    livePlayers = 0;
    phaseTick = 0;
    running = false;
    started = false;
    setUpTick = 0;
    lastOneTick = 0;
    lastOneFlag = false;
    introTransitionDue = false;
    hintPeriodTick = 0;
    hintIndex = 0;
    clockBase = 0;
    secondsLeft = 0;
    hurryPlayed = false;

    readyMessage.reset();
    goMessage.reset();
    lifeIcon.reset();
    timerIcon.reset();
    delete library;
    library = nullptr;
    // The screens belonged to the library.
    introImage = nullptr;
    backgroundImage = nullptr;

    if (music) {
        stopMusicStream(music);
        closeMusicStream(music);
        music = nullptr;
    }
    releaseSample(drawSample);
    releaseSample(loseSample);
    releaseSample(winSample);
    releaseSample(readySample);
    releaseSample(startSample);
    releaseSample(gameoverSample);
    releaseSample(hurrySample);
}

void Level::pause() {
    for (Bomb& bomb : bombs)
        if (bomb.active) bomb.pause();
    for (Missile& missile : missiles)
        if (missile.active) missile.pause();
    for (HomingMissile& missile : homingMissiles)
        if (missile.active) missile.pause();
    for (Explosion& explosion : explosions)
        if (explosion.active) explosion.pause();
    pausedElapsed = plat::tickCount() - clockBase;
}

void Level::resume() {
    for (Bomb& bomb : bombs)
        if (bomb.active) bomb.resume();
    for (Missile& missile : missiles)
        if (missile.active) missile.resume();
    for (HomingMissile& missile : homingMissiles)
        if (missile.active) missile.resume();
    for (Explosion& explosion : explosions)
        if (explosion.active) explosion.resume();
    clockBase = plat::tickCount() - pausedElapsed;
}

void Level::handleInput(Input* input) {
    if (!running) return;
    for (Player& player : players) player.handleInput(input);
}
