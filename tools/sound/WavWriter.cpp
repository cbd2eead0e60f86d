#include "sound/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

#include "sound/SampleBuffer.h"

namespace {

void put16(std::vector<unsigned char>& out, std::uint16_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

void putTag(std::vector<unsigned char>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

bool WavWriter::write(const std::string& path, const SampleBuffer& buffer) {
    const std::uint32_t rate = static_cast<std::uint32_t>(buffer.sampleRate());
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(buffer.size() * 2);
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);  // size of the format block
    put16(out, 1);   // PCM
    put16(out, 1);   // mono
    put32(out, rate);
    put32(out, rate * 2);  // bytes per second
    put16(out, 2);         // bytes per frame
    put16(out, 16);        // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (float v : buffer.samples()) {
        const float clamped = std::isfinite(v) ? std::clamp(v, -1.0f, 1.0f) : 0.0f;
        const long s = std::lround(clamped * 32767.0f);
        put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(s)));
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    return static_cast<bool>(file);
}
