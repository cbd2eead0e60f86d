#include <vector>

#include "ShellFixture.h"
#include "platform/Headless.h"

namespace shelltest {
namespace {

class SoundTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        write("boom.wav", "RIFF");
        write("tune.wav", "RIFF");
    }
    const std::vector<std::string>& log() const { return plat::headless::audioLog(); }
};

TEST_F(SoundTest, SamplesRotateOverChannels0To62AndReapplyTheVolume) {
    initAudio();
    setGlobalVolume(180);
    SampleHandle boom = loadSample(path("boom.wav"));
    ASSERT_NE(boom, nullptr);
    plat::headless::clearAudioLog();

    for (int i = 0; i < 64; ++i) playSample(boom);
    ASSERT_EQ(log().size(), 128u);
    for (int i = 0; i < 64; ++i) {
        const int channel = i < 63 ? i : 0;  // the 64th start cuts off the oldest
        EXPECT_EQ(log()[2 * i], "play " + std::to_string(channel) + " " + path("boom.wav"));
        EXPECT_EQ(log()[2 * i + 1], "volume -3 180");
    }
    EXPECT_EQ(nextSampleChannel, 1);
    freeSample(boom);
    EXPECT_EQ(log().back(), "free " + path("boom.wav"));
}

TEST_F(SoundTest, MusicTakesChannel63WithTheRequestedLoopMode) {
    initAudio();
    EXPECT_EQ(log().front(), "init 44100 64");
    setGlobalVolume(90);
    StreamHandle tune = openMusicStream(path("tune.wav"));
    ASSERT_NE(tune, nullptr);
    plat::headless::clearAudioLog();

    playMusicStream(tune, false);
    playMusicStream(tune, true);
    stopMusicStream(tune);
    closeMusicStream(tune);
    const std::string t = path("tune.wav");
    const std::vector<std::string> expected = {
        "loop " + t + " 0", "stream 63 " + t, "volume -3 90", "loop " + t + " 1",
        "stream 63 " + t,   "volume -3 90",   "stop " + t,    "close " + t,
    };
    EXPECT_EQ(log(), expected);
    EXPECT_EQ(nextSampleChannel, 0);  // music never moves the sample rotation
}

TEST_F(SoundTest, AudioOffCallsNothingButStillRemembersTheVolume) {
    audioOn = false;
    initAudio();
    setGlobalVolume(120);
    EXPECT_EQ(currentVolume, 120);
    EXPECT_EQ(loadSample(path("boom.wav")), nullptr);
    EXPECT_EQ(openMusicStream(path("tune.wav")), nullptr);
    playSample(nullptr);
    playMusicStream(nullptr, true);
    stopMusicStream(nullptr);
    closeMusicStream(nullptr);
    freeSample(nullptr);
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(nextSampleChannel, 0);
}

TEST_F(SoundTest, MissingFilesGiveNullHandlesThatArePassedOnHarmlessly) {
    initAudio();
    SampleHandle missing = loadSample(path("absent.wav"));
    EXPECT_EQ(missing, nullptr);
    plat::headless::clearAudioLog();
    playSample(missing);
    EXPECT_EQ(log().front(), "play 0 null");
    EXPECT_EQ(nextSampleChannel, 1);
}

}  // namespace
}  // namespace shelltest
