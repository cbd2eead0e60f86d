// The generated samples and music: every file the sound generator writes is
// a well-formed 16-bit PCM WAVE of a length that fits its use, the music
// loops join without a click, and a second run writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/Profile.h"
#include "support/TestFiles.h"

namespace {

const std::string kBin = EMBERHAUNT_BIN_DIR;
const std::string kGenerator = std::string(EMBERHAUNT_BIN_DIR) + "/../tools/emberhaunt_sound";

// Every sample the game plays, and how long it may sensibly last.
struct SampleSpec {
    const char* name;
    double minSeconds, maxSeconds;
};
const SampleSpec kSamples[] = {
    // Round messages: "ready" must be over before "start" 1500 ms later.
    {"draw", 0.5, 3.0},
    {"lose", 0.5, 3.0},
    {"win", 0.5, 3.0},
    {"ready", 0.3, 1.5},
    {"start", 0.2, 1.5},
    {"gameover", 1.0, 6.0},
    {"hurry", 0.3, 2.5},
    // Player actions; "hurt" repeats every 100 ms while the player burns.
    {"block", 0.05, 1.0},
    {"bombDrop", 0.05, 1.0},
    {"death", 0.3, 2.0},
    {"health", 0.1, 1.5},
    {"kick", 0.05, 1.0},
    {"missile", 0.1, 1.5},
    {"powerup", 0.1, 1.5},
    {"hurt", 0.03, 0.15},
    // Bombs and missiles free their copy 700 ms after the blast.
    {"explosion", 0.3, 0.7},
    // Enemies; the hit sound repeats at most every 400 ms.
    {"robot1", 0.1, 1.0},
    {"hit", 0.05, 0.45},
    {"enemyDeath", 0.2, 1.5},
    {"ninjaShout", 0.15, 0.6},
    {"ninjaThrow", 0.1, 0.6},
    {"robotHit", 0.05, 0.45},
    {"dragonHit", 0.05, 0.6},
    // Menu.
    {"menu", 0.01, 0.3},
    {"menuSelect", 0.05, 0.5},
};
const char* const kMusic[] = {"menubgm",   "creditsbgm", "tutorialLevelbgm", "level1bgm",
                              "level2bgm", "level3bgm",  "level4bgm",        "level5bgm"};

std::string samplePath(const std::string& root, const std::string& name) {
    return root + "/assets/sfx/" + name + ".wav";
}
std::string musicPath(const std::string& root, const std::string& name) {
    return root + "/assets/music/" + name + ".wav";
}

std::uint32_t le32(const std::string& b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint16_t le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

struct Wave {
    std::string error;  // empty when the file is a valid mono 16-bit PCM WAVE
    int rate = 0;
    std::vector<double> samples;  // in [-1, 1)
    double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0.0; }
};

// A strict reader: the RIFF size matches the file, the chunks lie inside
// it, the format is PCM, mono, 16 bits, and the data is whole frames.
Wave readWave(const std::string& path) {
    Wave w;
    const std::string b = testsupport::readFile(path);
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) {
        w.error = "not a RIFF/WAVE file: " + path;
        return w;
    }
    if (le32(b, 4) != b.size() - 8) {
        w.error = "RIFF size does not match the file size: " + path;
        return w;
    }
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id = b.substr(at, 4);
        const std::uint32_t size = le32(b, at + 4);
        if (size > b.size() - at - 8) {
            w.error = "chunk '" + id + "' runs past the end: " + path;
            return w;
        }
        if (id == "fmt ") {
            if (size < 16) {
                w.error = "short format chunk: " + path;
                return w;
            }
            const int format = le16(b, at + 8), channels = le16(b, at + 10);
            w.rate = static_cast<int>(le32(b, at + 12));
            const std::uint32_t byteRate = le32(b, at + 16);
            const int blockAlign = le16(b, at + 20), bits = le16(b, at + 22);
            if (format != 1 || channels != 1 || bits != 16 || blockAlign != 2 ||
                byteRate != static_cast<std::uint32_t>(w.rate) * 2) {
                w.error = "not mono 16-bit PCM: " + path;
                return w;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || size % 2 != 0) {
                w.error = "data before the format, or a partial frame: " + path;
                return w;
            }
            w.samples.resize(size / 2);
            for (std::size_t i = 0; i < size / 2; ++i)
                w.samples[i] = static_cast<std::int16_t>(le16(b, at + 8 + 2 * i)) / 32768.0;
            return w;
        }
        at += 8 + size + (size & 1);
    }
    w.error = "no data chunk: " + path;
    return w;
}

double peak(const std::vector<double>& s) {
    double p = 0.0;
    for (double v : s) p = std::max(p, std::fabs(v));
    return p;
}

double rms(const std::vector<double>& s, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += s[i] * s[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

double quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    const auto at =
        values.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

TEST(SoundFiles, EverySampleIsPcmOfAFittingLengthWithQuietEnds) {
    for (const SampleSpec& spec : kSamples) {
        SCOPED_TRACE(spec.name);
        const Wave w = readWave(samplePath(kBin, spec.name));
        ASSERT_EQ(w.error, "");
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
        EXPECT_GE(w.seconds(), spec.minSeconds);
        EXPECT_LE(w.seconds(), spec.maxSeconds);
        // Audible, never driven into the rails.
        EXPECT_GT(peak(w.samples), 0.2);
        EXPECT_LT(peak(w.samples), 0.999);
        // A sample that starts or stops away from zero clicks every time it plays.
        EXPECT_LT(std::fabs(w.samples.front()), 0.01);
        EXPECT_LT(std::fabs(w.samples.back()), 0.01);
    }
}

TEST(SoundFiles, MusicLoopsAreLongEnoughAndJoinWithoutAClick) {
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        const Wave w = readWave(musicPath(kBin, name));
        ASSERT_EQ(w.error, "");
        EXPECT_EQ(w.rate, 22050);
        EXPECT_GE(w.seconds(), 20.0);
        EXPECT_LE(w.seconds(), 40.0);
        const std::vector<double>& s = w.samples;
        ASSERT_GT(s.size(), 3u);
        EXPECT_GT(peak(s), 0.2);
        EXPECT_LT(peak(s), 0.999);

        // Played in a loop, the last sample is followed by the first: that
        // step must be no bigger than the ordinary steps inside the music,
        // and it must continue the waveform's slope, not break it.
        const std::size_t n = s.size();
        std::vector<double> steps(n - 1), curvature(n - 2);
        for (std::size_t i = 1; i < n; ++i) steps[i - 1] = std::fabs(s[i] - s[i - 1]);
        for (std::size_t i = 2; i < n; ++i)
            curvature[i - 2] = std::fabs(s[i] - 2.0 * s[i - 1] + s[i - 2]);
        const double ordinaryStep = quantile(std::move(steps), 0.999);
        const double ordinaryCurve = quantile(std::move(curvature), 0.999);
        EXPECT_LE(std::fabs(s[0] - s[n - 1]), ordinaryStep);
        EXPECT_LE(std::fabs(s[0] - 2.0 * s[n - 1] + s[n - 2]), ordinaryCurve);
        EXPECT_LE(std::fabs(s[1] - 2.0 * s[0] + s[n - 1]), ordinaryCurve);
        // The music plays on to the loop point instead of fading out before it.
        const std::size_t tail = static_cast<std::size_t>(0.05 * w.rate);
        EXPECT_GT(rms(s, n - tail, n), 0.25 * rms(s, 0, n));
    }
}

TEST(SoundFiles, TheGeneratorWritesTheSameBytesOnEveryRun) {
    testsupport::TempDir dir;
    ASSERT_TRUE(testsupport::fileExists(kGenerator)) << kGenerator;
    const std::string command = "\"" + kGenerator + "\" \"" + dir.path() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const SampleSpec& spec : kSamples) {
        SCOPED_TRACE(spec.name);
        const std::string again = testsupport::readFile(samplePath(dir.path(), spec.name));
        ASSERT_FALSE(again.empty());
        EXPECT_TRUE(again == testsupport::readFile(samplePath(kBin, spec.name)));
    }
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        const std::string again = testsupport::readFile(musicPath(dir.path(), name));
        ASSERT_FALSE(again.empty());
        EXPECT_TRUE(again == testsupport::readFile(musicPath(kBin, name)));
    }
}

TEST(SoundFiles, GeneratorRefusesAMissingOrUnwritableFolder) {
    testsupport::TempDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.file("plain"), "a file, not a folder"));
    EXPECT_NE(std::system(("\"" + kGenerator + "\" 2> /dev/null").c_str()), 0);
    const std::string blocked = "\"" + kGenerator + "\" \"" + dir.file("plain") + "\" 2> /dev/null";
    EXPECT_NE(std::system(blocked.c_str()), 0);
}

// The names the game asks filepaths.cfg for lead to these files.
TEST(SoundFiles, TheAudioSectionOfFilePathsNamesEverySoundFile) {
    const std::string filePaths = kBin + "/filepaths.cfg";
    if (!testsupport::fileExists(filePaths)) GTEST_SKIP() << "no filepaths.cfg generated yet";
    std::vector<std::string> names;
    for (const SampleSpec& spec : kSamples) names.push_back(spec.name);
    for (const char* name : kMusic) names.push_back(name);
    // The ROMAN arena asks for the tutorial music in lower case.
    names.push_back("tutoriallevelbgm");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::string file = plat::profileString("audio", name, "", 255, filePaths);
        ASSERT_FALSE(file.empty());
        if (file[0] != '/') file = kBin + "/" + file;
        EXPECT_EQ(readWave(file).error, "");
    }
}

}  // namespace
