#include "shell/FilePaths.h"

#include "platform/Profile.h"

std::string filePathsPath;

namespace {

// The Windows readers fill a 255-character buffer: at most 254 characters.
constexpr std::size_t kBufferSize = 255;

// Stands for a missing key: no value read from an INI line can hold a line
// break.
const char* const kMissing = "\n";
const char* const kMissingText = "00";

// Folder of filepaths.cfg with a trailing separator; empty when the path
// names no folder.
std::string configFolder() {
    std::string::size_type slash = filePathsPath.find_last_of('/');
    if (slash == std::string::npos) return std::string();
    return filePathsPath.substr(0, slash + 1);
}

// A present value naming a relative path is taken relative to the folder of
// filepaths.cfg, so the game finds its files from any working directory. A
// missing key stays "00" (and so still fails to load as before).
std::string readPath(const char* section, const std::string& key) {
    std::string value = plat::profileString(section ? section : "", key, kMissing, kBufferSize,
                                            filePathsPath);
    if (value == kMissing) return kMissingText;
    if (value.empty() || value[0] == '/') return value;
    return configFolder() + value;
}

int readInt(const char* section, const char* key, int defaultValue) {
    return plat::profileInt(section ? section : "", key, defaultValue, filePathsPath);
}

}  // namespace

int getFrameCount(const char* section) { return readInt(section, "frameCount", -1); }

std::string getFrameFile(const char* section, int n) {
    if (n > readInt(section, "frameCount", 1)) return std::string();
    return readPath(section, "frame" + std::to_string(n));
}

int getWidth(const char* section) { return readInt(section, "width", -1); }
int getHeight(const char* section) { return readInt(section, "height", -1); }
int getXPos(const char* section) { return readInt(section, "xpos", -1); }
int getYPos(const char* section) { return readInt(section, "ypos", -1); }

std::string getPathString(const char* section, const char* key) {
    return readPath(section, key ? key : "");
}

int getPathInt(const char* section, const char* key) { return readInt(section, key, -1); }
