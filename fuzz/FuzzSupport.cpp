#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace fuzzsupport {
namespace {

std::string scratchFolder() {
    static const std::string folder = [] {
        // Millions of small writes: memory is far quicker than a disk, and
        // the atomic replace's flushes cost nothing there.
        std::error_code ec;
        std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : fs::temp_directory_path(ec).string();
        std::string pattern = base + "/emberhaunt-fuzz-XXXXXX";
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) fail("cannot create a scratch folder under " + base);
        std::string made = buf.data();
        static std::string toRemove;
        toRemove = made;
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(toRemove, ignored);
        });
        return made;
    }();
    return folder;
}

}  // namespace

std::string scratchFile(const std::string& name) { return scratchFolder() + "/" + name; }

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) fail("cannot write " + path);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace fuzzsupport
