// Recorded games, replayed: each file of tests/replay/recorded runs the
// whole game from its start through the menu into a stage and must end in
// exactly the state its .digest file describes. A change that alters play
// or the pictures shows up here; when it is meant, `make replay-digests`
// rewrites the digests (tests/replay/README.md).
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/KeyCodes.h"
#include "support/Replay.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRecorded = fs::path(EMBERHAUNT_SOURCE_DIR) / "tests" / "replay" / "recorded";

std::vector<std::string> recordedNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kRecorded, ec))
        if (entry.path().extension() == ".replay") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

replay::Script load(const std::string& name) {
    replay::Script script;
    std::string error;
    const std::string text = testsupport::readFile((kRecorded / (name + ".replay")).string());
    EXPECT_TRUE(replay::parse(text, &script, &error)) << name << ": " << error;
    return script;
}

std::string play(const replay::Script& script) {
    std::string digest, error;
    EXPECT_TRUE(replay::play(script, replay::builtGame(), &digest, &error)) << error;
    return digest;
}

class RecordedReplayTest : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedReplayTest, EndsInItsRecordedState) {
    const std::string name = GetParam();
    const replay::Script script = load(name);
    ASSERT_GT(script.passes, 0u);
    const std::string expected = testsupport::readFile((kRecorded / (name + ".digest")).string());
    ASSERT_FALSE(expected.empty()) << "no " << name << ".digest";
    EXPECT_EQ(play(script), expected)
        << name << " ended elsewhere. If the change is meant to alter play or the pictures, "
        << "rewrite the digests with `make replay-digests` and commit them.";
}

INSTANTIATE_TEST_SUITE_P(Recorded, RecordedReplayTest, ::testing::ValuesIn(recordedNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

// The first ms of a recording: the passes before its first event at or
// after that time.
replay::Script firstPart(replay::Script script, uint32_t ms) {
    const auto late = std::find_if(script.events.begin(), script.events.end(),
                                   [&](const replay::Event& e) { return e.clock >= ms; });
    if (late != script.events.end()) {
        script.passes = late->pass;
        script.events.erase(late, script.events.end());
    }
    return script;
}

// Into the tutorial and its first lesson: enough play to move the player
// and drop a bomb, short enough to run three times.
constexpr uint32_t kShortRunMs = 14000;

TEST(ReplaySessionTest, TheSameKeysGiveTheSameGameAndOtherKeysAnother) {
    const replay::Script script = firstPart(load("tutorial"), kShortRunMs);
    ASSERT_GT(script.events.size(), 20u);
    const std::string first = play(script);
    // Runs share the process: nothing a run leaves behind may steer the next.
    EXPECT_EQ(play(script), first);

    // The last walk to the right goes left instead (the key messages, and
    // so the passes and the clock, stay as they were).
    replay::Script other = script;
    int turned = 0;
    for (auto e = other.events.rbegin(); e != other.events.rend() && turned < 2; ++e)
        for (replay::KeyChange& k : e->keys)
            if (k.code == plat::DIK_RIGHT && k.down == (turned == 1)) {
                k.code = plat::DIK_LEFT;
                ++turned;
            }
    ASSERT_EQ(turned, 2);
    EXPECT_NE(play(other), first);
}

TEST(ReplaySessionTest, AReplayThatDriftsFromItsClockStopsAtThatPass) {
    replay::Script script = firstPart(load("tutorial"), 3000);
    ASSERT_GE(script.events.size(), 2u);
    script.events[1].clock += 1;
    std::string digest, error;
    EXPECT_FALSE(replay::play(script, replay::builtGame(), &digest, &error));
    EXPECT_NE(error.find("pass " + std::to_string(script.events[1].pass) + ":"), std::string::npos) << error;
}

TEST(ReplayFileTest, AWrittenFileReadsBackTheSame) {
    replay::Script s;
    s.title = "two keys and a late frame";
    s.calendar = 1234567890;
    s.clock = 4294967000u;  // near the wrap of the tick count
    s.windowMessages = true;
    s.passes = 500;
    s.events = {{10, 4294967010u, {{28, true}}, 0},
                {40, 4294967040u, {{28, false}, {205, true}}, 0},
                {41, 4294967290u, {}, 250},
                {499, 50, {{205, false}, {1, true}}, 0}};
    replay::Script back;
    std::string error;
    ASSERT_TRUE(replay::parse(replay::format(s), &back, &error)) << error;
    EXPECT_EQ(replay::format(back), replay::format(s));
    EXPECT_EQ(back.title, s.title);
    EXPECT_EQ(back.calendar, s.calendar);
    EXPECT_EQ(back.clock, s.clock);
    EXPECT_TRUE(back.windowMessages);
    ASSERT_EQ(back.events.size(), 4u);
    EXPECT_EQ(back.events[2].leap, 250u);
    EXPECT_EQ(back.events[1].keys.size(), 2u);
    EXPECT_EQ(back.events[1].keys[1].code, 205);
    EXPECT_TRUE(back.events[1].keys[1].down);
}

TEST(ReplayFileTest, DamagedFilesAreRefusedNamingTheLine) {
    const std::string head = "emberhaunt-replay 1\ncalendar 5\nclock 0\ninput device\npasses 100\n";
    const struct {
        std::string text;
        std::string says;
    } cases[] = {
        {"", "not a replay file"},
        {"some other file\n", "line 1: not a replay file"},
        {"emberhaunt-replay 2\npasses 1\nend\n", "line 1: replay format 2"},
        {head, "cut short"},
        {"emberhaunt-replay 1\nend\n", "no 'passes'"},
        {head + "10 5 +28\n9 6 -28\nend\n", "line 7: events out of pass order"},
        {head + "10 5 +28\n10 5 -28\nend\n", "line 7: events out of pass order"},
        {head + "10 5 +256\nend\n", "line 6: bad key '+256'"},
        {head + "10 5 +0\nend\n", "bad key"},
        {head + "10 5 *28\nend\n", "unknown item '*28'"},
        {head + "10 5\nend\n", "nothing in it"},
        {head + "10\nend\n", "expected a pass and a clock"},
        {head + "10 5 >0\nend\n", "bad clock leap"},
        {head + "10 5 >4 >4\nend\n", "bad clock leap"},
        {head + "100 5 +28\nend\n", "after the last pass"},
        {head + "10 99999999999 +28\nend\n", "expected a pass and a clock"},
        {"emberhaunt-replay 1\ninput keys\n", "line 2: input must be"},
        {head + "end\n5 5 +28\n", "line 7: text after 'end'"},
    };
    for (const auto& c : cases) {
        replay::Script s;
        std::string error;
        EXPECT_FALSE(replay::parse(c.text, &s, &error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << "\nsaid: " << error;
    }
}

}  // namespace
