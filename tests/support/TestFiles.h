// File helpers for tests: a fresh folder that removes itself, and whole-file
// reads and writes.
#pragma once

#include <string>

namespace testsupport {

class TempDir {
public:
    TempDir();  // a new empty folder under the system's temporary folder
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Writes the bytes (creating parent folders); false on failure.
bool writeFile(const std::string& path, const std::string& bytes);
// The whole file; empty when it cannot be read.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);
// Sets the file's times (not a link's target's) to `seconds` ago; false on
// failure.
bool ageFile(const std::string& path, int seconds);

}  // namespace testsupport
