// The recording audio back end, and the SDL_mixer one on a dummy device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/HeadlessTest.h"
#include "support/TestFiles.h"
#include "platform/Audio.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

namespace {

using namespace plat;
namespace hl = plat::headless;
using testsupport::TempDir;

using AudioTest = testsupport::HeadlessTest;

// A short 16-bit mono PCM .wav of silence.
std::string tinyWav(int samples) {
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint32_t v) { return std::string{char(v), char(v >> 8)}; };
    uint32_t data = uint32_t(samples) * 2;
    return "RIFF" + u32(36 + data) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(22050) +
           u32(44100) + u16(2) + u16(16) + "data" + u32(data) + std::string(data, '\0');
}

TEST_F(AudioTest, RecordsEveryCallAndLoadsOnlyExistingFilesAfterInit) {
    TempDir dir;
    const std::string a = dir.file("a.wav"), m = dir.file("m.wav");
    ASSERT_TRUE(testsupport::writeFile(a, tinyWav(10)));
    ASSERT_TRUE(testsupport::writeFile(m, tinyWav(10)));

    EXPECT_EQ(audioSampleLoad(a), nullptr);  // not started yet
    ASSERT_TRUE(audioInit(44100, 64));
    audioSetVolume(kAllChannels, 200);
    audioSetVolume(3, 999);
    audioSetVolume(3, -5);
    AudioSample* s = audioSampleLoad(a);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(audioSampleLoad(dir.file("missing.wav")), nullptr);
    EXPECT_EQ(audioSampleLoad(dir.path()), nullptr);  // a folder is no sample
    audioPlaySound(5, s);
    AudioStream* music = audioStreamOpen(m);
    ASSERT_NE(music, nullptr);
    audioStreamSetLoop(music, true);
    audioStreamPlay(63, music);
    audioStreamStop(music);
    audioStreamClose(music);
    audioSampleFree(s);
    audioShutdown();

    const std::vector<std::string> expected = {
        "load " + a,
        "init 44100 64",
        "volume -3 200",
        "volume 3 255",
        "volume 3 0",
        "load " + a,
        "load " + dir.file("missing.wav"),
        "load " + dir.path(),
        "play 5 " + a,
        "open " + m,
        "loop " + m + " 1",
        "stream 63 " + m,
        "stop " + m,
        "close " + m,
        "free " + a,
        "shutdown",
    };
    EXPECT_EQ(hl::audioLog(), expected);
    hl::clearAudioLog();
    EXPECT_TRUE(hl::audioLog().empty());
}

TEST_F(AudioTest, NullAndStaleHandlesAreHarmless) {
    ASSERT_TRUE(audioInit(44100, 64));
    audioPlaySound(0, nullptr);
    audioSampleFree(nullptr);
    audioStreamSetLoop(nullptr, false);
    audioStreamPlay(63, nullptr);
    audioStreamStop(nullptr);
    audioStreamClose(nullptr);
    const std::vector<std::string> expected = {"init 44100 64", "play 0 null", "free null",
                                               "loop null 0",   "stream 63 null", "stop null",
                                               "close null"};
    EXPECT_EQ(hl::audioLog(), expected);

    // Handles outlive a shutdown and can still be freed, once.
    TempDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.wav"), tinyWav(4)));
    AudioSample* s = audioSampleLoad(dir.file("a.wav"));
    ASSERT_NE(s, nullptr);
    audioShutdown();
    audioPlaySound(1, s);
    audioSampleFree(s);
    audioSampleFree(s);  // a second free is ignored
    EXPECT_EQ(hl::audioLog().back(), "free stale");
}

TEST_F(AudioTest, NoSoundCardMeansSilence) {
    hl::failAudio(true);
    EXPECT_FALSE(audioInit(44100, 64));
    TempDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.wav"), tinyWav(4)));
    EXPECT_EQ(audioSampleLoad(dir.file("a.wav")), nullptr);
    EXPECT_EQ(audioStreamOpen(dir.file("a.wav")), nullptr);
    EXPECT_FALSE(audioInit(0, 64));
}

// The real mixer on SDL's dummy driver (no sound card needed).
TEST(AudioSdl, PlaysAndStreamsOnTheDummyDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    init(Backend::Sdl);
    if (!audioInit(44100, 64)) {
        shutdown();
        GTEST_SKIP() << "no audio device, not even the dummy one";
    }
    TempDir dir;
    ASSERT_TRUE(testsupport::writeFile(dir.file("a.wav"), tinyWav(2000)));
    ASSERT_TRUE(testsupport::writeFile(dir.file("bad.wav"), "RIFF junk"));
    AudioSample* s = audioSampleLoad(dir.file("a.wav"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(audioSampleLoad(dir.file("bad.wav")), nullptr);
    EXPECT_EQ(audioSampleLoad(dir.file("missing.wav")), nullptr);
    audioSetVolume(kAllChannels, 255);
    audioSetVolume(7, 0);
    audioSetVolume(500, 10);  // no such channel
    for (int ch : {0, 5, 62, 63, 64, -1, -3}) audioPlaySound(ch, s);
    audioPlaySound(5, s);  // replaces what channel 5 plays

    AudioStream* m = audioStreamOpen(dir.file("a.wav"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(audioStreamOpen(dir.file("bad.wav")), nullptr);
    audioStreamSetLoop(m, true);
    audioStreamPlay(63, m);
    audioStreamStop(m);
    audioStreamPlay(63, m);
    audioStreamClose(m);  // closing a playing stream stops it first
    audioSampleFree(s);

    AudioSample* kept = audioSampleLoad(dir.file("a.wav"));
    shutdown();  // releases the device; the handle stays safe to free
    audioSampleFree(kept);
}

}  // namespace
