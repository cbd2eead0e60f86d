// Writes a mono 16-bit PCM RIFF/WAVE file.
#pragma once

#include <string>

class SampleBuffer;

class WavWriter {
public:
    // Samples are clamped to [-1, 1] and rounded to 16 bits. False when the
    // file cannot be written completely.
    static bool write(const std::string& path, const SampleBuffer& buffer);
};
