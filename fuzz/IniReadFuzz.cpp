// The INI reader on any bytes: every name the file seems to hold is read
// back, in upper case too and into short buffers, and the answers must agree.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "IniNames.h"
#include "platform/Profile.h"

namespace {

using fuzzsupport::check;

// No value read from one line can hold a line break, so this default tells
// a missing key from any present one.
const char* const kMissing = "\n";
constexpr std::size_t kWhole = std::size_t(1) << 20;
constexpr int kMissingNumber = -12345;

void readBack(const std::string& path, const std::string& section, const std::string& key) {
    const std::string value = plat::profileString(section, key, kMissing, kWhole, path);
    check(value == kMissing || value.find_first_of("\r\n") == std::string::npos,
          "a value holds a line break");
    check(plat::profileString(fuzzsupport::upperCase(section), fuzzsupport::upperCase(key), kMissing,
                              kWhole, path) == value,
          "names do not match regardless of case");
    check(plat::profileString(section, key, kMissing, 4, path) == value.substr(0, 3),
          "a short buffer does not hold the start of the value");
    const int number = plat::profileInt(section, key, kMissingNumber, path);
    if (value == kMissing) check(number == kMissingNumber, "a missing key does not give the default");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string path = fuzzsupport::scratchFile("profile.ini");
    const std::string text = fuzzsupport::bytesOf(data, size);
    fuzzsupport::writeFile(path, text);
    for (const auto& name : fuzzsupport::iniNames(text, 8)) readBack(path, name.section, name.key);
    readBack(path, "game", "gameTitle");
    readBack(path, "", "");
    return 0;
}
