// The run-time of one stage (the tutorial, a level or a versus arena): its
// grid and map layers, every list of actors, the round sequence and clock,
// and the result check. Game holds exactly one Level and reuses it for every
// stage: init (called first by each stage set-up), the set-up fills the
// layers and lists, draw runs the round on every draw tick, and cleanup ends
// the stage while keeping what the stage progression reads afterwards
// (state, stage number, difficulty, lives, number of players, finished).
//
// The lists hold their objects by value and run newest first; an object
// that is gone only clears its active flag and stays in its list until
// cleanup, so pointers into a list stay valid for the whole stage.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "actors/Bomb.h"
#include "actors/BreakableBlock.h"
#include "actors/DustEffect.h"
#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/HomingMissile.h"
#include "actors/Missile.h"
#include "actors/Player.h"
#include "actors/Powerup.h"
#include "graphics/AnimationLibrary.h"
#include "graphics/Bitmap.h"
#include "graphics/BitmapText.h"
#include "shell/Sound.h"
#include "world/CellValues.h"
#include "world/GridObject.h"
#include "world/TileGrid.h"

class Input;
namespace plat {
class Surface;
}

// Round results (Level::state).
constexpr int kLevelRunning = 0;   // no result yet
constexpr int kLevelDraw = 1;      // versus only
constexpr int kLevelWon = 2;       // level cleared, or a versus winner
constexpr int kLevelLifeLost = 3;

// Stage numbers the round itself looks at.
constexpr int kStageTutorial = 0;
constexpr int kStageDragon = 5;

class Level {
public:
    // Round phase lengths, ms (an interval is over once strictly more has
    // passed).
    static constexpr uint32_t kIntroTime = 1500;
    static constexpr uint32_t kIntroTransitionTime = 1000;
    static constexpr uint32_t kReadyTime = 1500;
    static constexpr uint32_t kGoTime = 1000;
    static constexpr uint32_t kResultDelay = 5000;
    static constexpr uint32_t kGameOverDelay = 7000;
    static constexpr uint32_t kLastOneTime = 2000;
    static constexpr int kStartSeconds = 180;
    static constexpr int kHurrySeconds = 30;

    Level();
    ~Level();
    // One stage at a time, owned in one place.
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // The common start of every stage set-up: resets the round, creates the
    // grid and loads the stage's AnimationLibrary with the sets every stage
    // shares, the messages, icons, samples and the clock font. A missing
    // image throws CException out of it.
    void init(int width, int height, int numPlayers, int difficulty);
    // Ends the stage: frees what init and the set-up made. State, stage
    // number, difficulty, lives, number of players and finished stay for
    // the stage progression. Safe to call twice.
    void cleanup();

    // Around the pause menu: only the clock and the timers of bombs,
    // missiles, homing missiles and explosions stand still.
    void pause();
    void resume();

    // Every pass of the main loop while playing and not paused; the players
    // read their keys only while the round runs.
    void handleInput(Input* input);

    // One frame: draws the field into the back buffer and advances the
    // round (intro, ready, go, play, result).
    void draw(plat::Surface& dc);
    // Decides win, draw or a lost life; called by draw while the round runs
    // without a result.
    void checkResult();
    // The tutorial's hint line.
    void drawTutorialHints(plat::Surface& dc);

    int getNumPlayers() const { return numberOfPlayers; }
    bool isLevelOver() const { return finished; }

    // The stage set-ups: each builds one stage on a clean level (new or
    // cleaned up). Tutorial and levels take the difficulty (0 NOVICE,
    // 1 EXPERIENCED, 2 MASTER); the versus arenas play at 1.
    void loadTutorial(int players, int difficulty);
    void loadLevel1(int players, int difficulty);
    void loadLevel2(int players, int difficulty);
    void loadLevel3(int players, int difficulty);
    void loadLevel4(int players, int difficulty);
    void loadLevel5(int players, int difficulty);
    void loadArenaDesert(int players);
    void loadArenaRoman(int players);
    void loadArenaFuture(int players);
    void loadArenaArctic(int players);
    void loadArenaNinja(int players);
    void loadArenaChina(int players);

    // Fields, public: the stage set-ups, the stage progression, the menus
    // and the tests read and write them directly.
    int state;
    int stageNumber;
    bool started;
    bool introTransitionDue;
    int difficulty;
    int lives;
    // The stage's map codes, one width x height array per grid layer,
    // element row * width + column; empty between stages.
    std::vector<int> layoutLayers[layer::kCount];
    int tileSize;
    int width;
    int height;
    int cellCount;
    TileGrid grid;
    std::list<GridObject> tileLists[layer::kCount];
    std::list<BreakableBlock> blocks;
    std::list<Explosion> explosions;
    std::list<Bomb> bombs;  // bombs and dynamite of every player
    std::list<Player> players;
    std::list<Enemy> enemies;
    std::list<Powerup> powerups;
    std::list<Missile> missiles;  // the players' and the enemies' missiles
    std::list<HomingMissile> homingMissiles;
    // The stage's sprite store: created by init, deleted by cleanup.
    AnimationLibrary* library;
    bool versus;
    int liveEnemies;
    int livePlayers;
    // Owned; their positions are set by the stage set-up.
    std::unique_ptr<Bitmap> readyMessage;
    std::unique_ptr<Bitmap> goMessage;
    uint32_t phaseTick;  // last phase change: intro end, go, result
    bool running;        // from the go phase until cleanup
    StreamHandle music;  // opened by the stage set-up
    SampleHandle drawSample;
    SampleHandle loseSample;
    SampleHandle winSample;
    SampleHandle readySample;
    SampleHandle startSample;
    SampleHandle gameoverSample;
    SampleHandle hurrySample;
    bool finished;
    int numberOfPlayers;
    uint32_t setUpTick;  // set by the stage set-up
    // Screens of the library, pointed at by the set-up; not owned.
    Bitmap* introImage;
    Bitmap* backgroundImage;
    std::unique_ptr<Bitmap> lifeIcon;
    std::unique_ptr<Bitmap> timerIcon;
    uint32_t lastOneTick;  // versus: when only one player was left
    bool lastOneFlag;
    BitmapText hintText;
    uint32_t hintPeriodTick;
    int hintIndex;
    uint32_t hintChangeTick;
    uint32_t clockBase;  // set by the stage set-up, moved on by the clock
    int secondsLeft;
    uint32_t pausedElapsed;
    BitmapText clockText;
    uint32_t fallingLifeTick;
    bool fallingLife;
    int fallingLifeY;
    uint32_t resultDelay;
    float fallingLifeX;
    float fallingLifePhase;
    bool hurryPlayed;

private:
    void drawLayerThree(plat::Surface& dc, uint32_t now);
    void drawEnemy(Enemy& enemy, plat::Surface& dc);
    void drawPhaseMessages(plat::Surface& dc, uint32_t now);
    void updateClock(uint32_t now);
    void drawLives(plat::Surface& dc, uint32_t now);

    // Dragon parts drawn in this frame's backward pass, so that the normal
    // pass draws every enemy exactly once even when a part turned while it
    // was drawn. Kept between frames only to reuse its memory.
    std::vector<const Enemy*> drawnEarly;
};
