// The INI writer on any file with any key: the input is
// "section NUL key NUL value NUL file bytes" (without three NULs the whole
// input is the file and [video] fullscreen=1 is written). A write either is
// refused and leaves the file as it was, or changes one value or inserts
// lines, keeps every other byte, reads back as written and leaves every
// other key's value alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "IniNames.h"
#include "platform/Profile.h"

namespace {

using fuzzsupport::check;

const char* const kMissing = "\n";
constexpr std::size_t kWhole = std::size_t(1) << 20;

std::string trimmed(const std::string& s, const char* blanks = " \t") {
    std::size_t b = s.find_first_not_of(blanks), e = s.find_last_not_of(blanks);
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool sameName(const std::string& a, const std::string& b) {
    return fuzzsupport::upperCase(trimmed(a)) == fuzzsupport::upperCase(trimmed(b));
}

// What the writer promises to refuse.
bool refusable(const std::string& section, const std::string& key, const std::string& value) {
    auto badName = [](const std::string& n) {
        return n.empty() || n.find_first_of("[]=\r\n") != std::string::npos;
    };
    const std::string s = trimmed(section), k = trimmed(key);
    return badName(s) || badName(k) || k[0] == ';' || k[0] == '#' ||
           value.find_first_of("\r\n") != std::string::npos;
}

// A value as the reader hands it back: without surrounding blanks and one
// pair of enclosing quotes.
std::string asRead(const std::string& value) {
    std::string v = trimmed(value);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// The bytes that differ between the two files, once their common start and
// end are set aside.
void changedPart(const std::string& before, const std::string& after, std::string* removed,
                 std::string* added) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    *removed = before.substr(prefix, before.size() - prefix - suffix);
    *added = after.substr(prefix, after.size() - prefix - suffix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string path = fuzzsupport::scratchFile("config.cfg");
    const std::string input = fuzzsupport::bytesOf(data, size);

    std::string section = "video", key = "fullscreen", value = "1", before = input;
    std::size_t a = input.find('\0');
    std::size_t b = a == std::string::npos ? a : input.find('\0', a + 1);
    std::size_t c = b == std::string::npos ? b : input.find('\0', b + 1);
    if (c != std::string::npos) {
        section = input.substr(0, a);
        key = input.substr(a + 1, b - a - 1);
        value = input.substr(b + 1, c - b - 1);
        before = input.substr(c + 1);
    }
    fuzzsupport::writeFile(path, before);

    std::vector<fuzzsupport::IniName> others;
    std::vector<std::string> otherValues;
    for (const auto& n : fuzzsupport::iniNames(before, 12)) {
        if (sameName(n.section, section) && sameName(n.key, key)) continue;
        others.push_back(n);
        otherValues.push_back(plat::profileString(n.section, n.key, kMissing, kWhole, path));
    }

    const bool written = plat::profileWrite(section, key, value, path);
    const std::string after = fuzzsupport::readFile(path);
    if (!written) {
        check(refusable(section, key, value), "a valid write was refused");
        check(after == before, "a refused write changed the file");
        return 0;
    }
    check(!refusable(section, key, value), "an invalid name or value was written");

    check(plat::profileString(section, key, kMissing, kWhole, path) == asRead(value),
          "the written key does not read back");

    std::string removed, added;
    changedPart(before, after, &removed, &added);
    check(removed.find_first_of("\r\n") == std::string::npos,
          "the write removed more than part of one line");
    check(removed.empty() || added.find_first_of("\r\n") == std::string::npos,
          "a changed value spans more than one line");

    for (std::size_t i = 0; i < others.size(); ++i)
        check(plat::profileString(others[i].section, others[i].key, kMissing, kWhole, path) ==
                  otherValues[i],
              "the write changed another key");
    return 0;
}
