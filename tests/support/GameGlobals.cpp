#include "support/GameGlobals.h"

#include <cstring>

#include "actors/Enemy.h"
#include "menu/Menu.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"
#include "shell/Sound.h"

namespace testsupport {

void resetGameGlobals() {
    resetConfig();
    configDirectory.clear();
    configPath.clear();
    filePathsPath.clear();
    windowInput = false;
    std::memset(windowKeys, 0, sizeof windowKeys);
    audioOn = true;
    currentVolume = 0;
    nextSampleChannel = 0;
    enemyIdCounter = 0;
    dragonSegmentCount = 0;
    dragonPreviousTurnSide = -1;
    playerCount = 0;
    chosenLevel = 0;
}

}  // namespace testsupport
