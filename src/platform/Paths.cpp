#include "platform/Paths.h"

#include <unistd.h>

#include <vector>

namespace plat {

std::string executablePath() {
    // readlink does not say how long the name is, only whether it fitted.
    std::vector<char> buf(256);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return std::string();
        if (std::size_t(n) < buf.size()) return std::string(buf.data(), std::size_t(n));
        if (buf.size() >= (std::size_t(1) << 20)) return std::string();  // no path is this long
        buf.resize(buf.size() * 2);
    }
}

std::string executableDir() {
    std::string path = executablePath();
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return std::string();
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace plat
