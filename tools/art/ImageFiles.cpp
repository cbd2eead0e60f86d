#include "art/ImageFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace art {

namespace {

void put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v & 255));
    out.push_back(static_cast<unsigned char>((v >> 8) & 255));
}

void put32(std::vector<unsigned char>& out, unsigned long v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 255));
}

}  // namespace

std::vector<unsigned char> encodeBmp(const Image& img) {
    const int w = img.width(), h = img.height();
    const unsigned long rowBytes = (unsigned long)(w * 3 + 3) & ~3ul;
    const unsigned long pixelBytes = rowBytes * unsigned(h);
    std::vector<unsigned char> out;
    out.reserve(54 + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, unsigned(w));
    put32(out, unsigned(h));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    out.resize(54 + pixelBytes, 0);
    size_t at = 54;
    for (int y = h - 1; y >= 0; --y) {
        size_t row = at;
        for (int x = 0; x < w; ++x) {
            Colour c = img.at(x, y);
            out[row++] = static_cast<unsigned char>(blue(c));
            out[row++] = static_cast<unsigned char>(green(c));
            out[row++] = static_cast<unsigned char>(red(c));
        }
        at += rowBytes;
    }
    return out;
}

std::vector<unsigned char> encodeIco(const Image& img) {
    const int n = 32;
    const unsigned long xorBytes = n * n * 4, andBytes = n * 4;  // AND rows: 32 bits = 4 bytes
    const unsigned long imageBytes = 40 + xorBytes + andBytes;
    std::vector<unsigned char> out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, 1);  // one image
    out.push_back(n);
    out.push_back(n);
    out.push_back(0);  // no palette
    out.push_back(0);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, imageBytes);
    put32(out, 6 + 16);
    put32(out, 40);
    put32(out, n);
    put32(out, n * 2);  // the DIB height counts the colour and mask halves
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, xorBytes + andBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            Colour c = img.at(x, y);
            bool clear = c == kKey;
            out.push_back(static_cast<unsigned char>(clear ? 0 : blue(c)));
            out.push_back(static_cast<unsigned char>(clear ? 0 : green(c)));
            out.push_back(static_cast<unsigned char>(clear ? 0 : red(c)));
            out.push_back(static_cast<unsigned char>(clear ? 0 : 255));
        }
    for (int y = n - 1; y >= 0; --y)
        for (int byte = 0; byte < 4; ++byte) {
            unsigned char bits = 0;
            for (int b = 0; b < 8; ++b)
                if (img.at(byte * 8 + b, y) == kKey) bits |= static_cast<unsigned char>(0x80 >> b);
            out.push_back(bits);
        }
    return out;
}

bool writeFileIfChanged(const std::string& path, const std::vector<unsigned char>& bytes) {
    {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (in && static_cast<size_t>(in.tellg()) == bytes.size()) {
            std::vector<unsigned char> old(bytes.size());
            in.seekg(0);
            if (in.read(reinterpret_cast<char*>(old.data()), std::streamsize(old.size())) && old == bytes) return true;
        }
    }
    std::error_code ec;
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace art
