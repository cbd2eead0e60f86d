// The section and key names an INI text seems to hold, found by a plain line
// scan, so that the fuzz targets ask for names the input actually uses.
// The scan only proposes names; the profile reader decides what they hold.
#pragma once

#include <string>
#include <vector>

namespace fuzzsupport {

struct IniName {
    std::string section;
    std::string key;
};

// At most `limit` pairs, in file order: every "name=..." line with the
// "[section]" line last seen before it (keys before any section get "").
std::vector<IniName> iniNames(const std::string& text, std::size_t limit);

// ASCII upper case, the other bytes as they are.
std::string upperCase(std::string s);

}  // namespace fuzzsupport
