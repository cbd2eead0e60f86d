#include "IniNames.h"

namespace fuzzsupport {
namespace {

std::string trimmed(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

}  // namespace

std::vector<IniName> iniNames(const std::string& text, std::size_t limit) {
    std::vector<IniName> names;
    std::string section;
    std::size_t begin = 0;
    while (begin <= text.size() && names.size() < limit) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        std::string line = trimmed(text.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            if (close != std::string::npos) section = trimmed(line.substr(1, close - 1));
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && eq > 0) names.push_back({section, trimmed(line.substr(0, eq))});
    }
    return names;
}

std::string upperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

}  // namespace fuzzsupport
