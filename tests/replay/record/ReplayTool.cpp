// The replay files' tool.
//
//   replay_tool record DIR [NAME...]  plays the named scenarios (all when
//                                     none is named) with the bots and writes
//                                     NAME.replay and NAME.digest into DIR
//   replay_tool digest DIR            replays every DIR/*.replay and rewrites
//                                     its .digest (after a change meant to
//                                     alter play or the pictures)
//   replay_tool play FILE             replays FILE and prints its digest
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Replay.h"
#include "support/ReplayBot.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: replay_tool record DIR [NAME...] | digest DIR | play FILE\n");
    return 2;
}

bool writeOrSay(const fs::path& path, const std::string& text) {
    if (testsupport::writeFile(path.string(), text)) return true;
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
}

bool replayFile(const fs::path& file, std::string* digest) {
    replay::Script script;
    std::string error;
    if (!replay::parse(testsupport::readFile(file.string()), &script, &error) ||
        !replay::play(script, replay::builtGame(), digest, &error)) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), error.c_str());
        return false;
    }
    return true;
}

int recordScenarios(const fs::path& dir, std::vector<std::string> names) {
    if (names.empty())
        for (const replay::Scenario& s : replay::scenarios()) names.push_back(s.name);
    for (const std::string& name : names) {
        const replay::Scenario* s = replay::findScenario(name);
        if (!s) {
            std::fprintf(stderr, "no scenario named %s\n", name.c_str());
            return 1;
        }
        replay::Script script;
        std::string digest, error;
        if (!replay::record(*s, replay::builtGame(), &script, &digest, &error)) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
            return 1;
        }
        if (!writeOrSay(dir / (name + ".replay"), replay::format(script)) ||
            !writeOrSay(dir / (name + ".digest"), digest))
            return 1;
        std::printf("%s: %zu events, %llu passes\n%s", name.c_str(), script.events.size(),
                    static_cast<unsigned long long>(script.passes), digest.c_str());
    }
    return 0;
}

int rewriteDigests(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".replay") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::string digest;
        if (!replayFile(file, &digest)) return 1;
        fs::path out = file;
        out.replace_extension(".digest");
        const bool changed = testsupport::readFile(out.string()) != digest;
        if (!writeOrSay(out, digest)) return 1;
        std::printf("%s: %s\n", out.filename().c_str(), changed ? "rewritten" : "unchanged");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (command == "record") return recordScenarios(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (command == "digest" && argc == 3) return rewriteDigests(argv[2]);
    if (command == "play" && argc == 3) {
        std::string digest;
        if (!replayFile(argv[2], &digest)) return 1;
        std::fputs(digest.c_str(), stdout);
        return 0;
    }
    return usage();
}
