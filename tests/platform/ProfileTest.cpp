#include "platform/Profile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <filesystem>
#include <string>

#include "platform/IniFileIo.h"
#include "support/TestFiles.h"

namespace {

using plat::profileInt;
using plat::profileString;
using plat::profileWrite;
using testsupport::readFile;
using testsupport::TempDir;

class ProfileTest : public ::testing::Test {
protected:
    // Writes the file and returns its path.
    std::string ini(const std::string& bytes, const std::string& name = "test.cfg") {
        const std::string path = dir.file(name);
        EXPECT_TRUE(testsupport::writeFile(path, bytes));
        return path;
    }
    std::string get(const std::string& file, const std::string& section, const std::string& key,
                    std::size_t maxLength = 100) {
        return profileString(section, key, "<none>", maxLength, file);
    }
    // Every name in the folder: a failed write must leave no stray file.
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir dir;
};

// ---- Reading ----------------------------------------------------------------

TEST_F(ProfileTest, NamesMatchWithoutRegardToCase) {
    const auto f = ini("[Video]\nFullScreen=1\n[audio]\nglobalVolume = 200\n");
    EXPECT_EQ(get(f, "video", "fullscreen"), "1");
    EXPECT_EQ(get(f, "VIDEO", "FULLSCREEN"), "1");
    EXPECT_EQ(get(f, " Audio ", "GlobalVolume"), "200");
    EXPECT_EQ(profileInt("AUDIO", "globalvolume", -1, f), 200);
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    const auto f = ini("[game]\ngameTitle=Emberhaunt\n");
    EXPECT_EQ(get(dir.file("absent.cfg"), "game", "gameTitle"), "<none>");
    EXPECT_EQ(get(f, "nosuch", "gameTitle"), "<none>");
    EXPECT_EQ(get(f, "game", "nosuch"), "<none>");
    EXPECT_EQ(get(dir.path(), "game", "gameTitle"), "<none>");  // a folder, not a file
    EXPECT_EQ(profileInt("game", "nosuch", 42, f), 42);
    EXPECT_EQ(profileInt("game", "gameTitle", 42, dir.file("absent.cfg")), 42);
}

TEST_F(ProfileTest, FirstOccurrenceWins) {
    const auto f = ini("[a]\nk=first\nK=second\nother=1\n[b]\nk=b\n[A]\nk=third\nonlyLater=late\n");
    EXPECT_EQ(get(f, "a", "k"), "first");
    EXPECT_EQ(get(f, "b", "k"), "b");
    // A key that only the repeated section holds is still found.
    EXPECT_EQ(get(f, "a", "onlyLater"), "late");
}

TEST_F(ProfileTest, ValuesAreTrimmedAndUnquoted) {
    const auto f = ini(
        "[s]\n"
        "blanks =  \t spaced out \t \n"
        "double=\"quoted value \"\n"
        "single=' single '\n"
        "mixed=\"mixed'\n"
        "lone=\"\n"
        "inner=a \"b\" c\n"
        "twice=\"\"x\"\"\n"
        "empty=\n"
        "emptyQuotes=\"\"\n"
        "  indented = yes\n"
        "equals=a=b=c\n"
        "comment=value ; not a comment here\n");
    EXPECT_EQ(get(f, "s", "blanks"), "spaced out");
    EXPECT_EQ(get(f, "s", "double"), "quoted value ");
    EXPECT_EQ(get(f, "s", "single"), " single ");
    EXPECT_EQ(get(f, "s", "mixed"), "\"mixed'");
    EXPECT_EQ(get(f, "s", "lone"), "\"");
    EXPECT_EQ(get(f, "s", "inner"), "a \"b\" c");
    EXPECT_EQ(get(f, "s", "twice"), "\"x\"");
    EXPECT_EQ(get(f, "s", "empty"), "");  // present: not the default
    EXPECT_EQ(get(f, "s", "emptyQuotes"), "");
    EXPECT_EQ(get(f, "s", "indented"), "yes");
    EXPECT_EQ(get(f, "s", "equals"), "a=b=c");
    EXPECT_EQ(get(f, "s", "comment"), "value ; not a comment here");
}

TEST_F(ProfileTest, LengthLimitCountsTheBufferTerminator) {
    const auto f = ini("[s]\nk=abcdef\n");
    EXPECT_EQ(get(f, "s", "k", 0), "");
    EXPECT_EQ(get(f, "s", "k", 1), "");
    EXPECT_EQ(get(f, "s", "k", 4), "abc");
    EXPECT_EQ(get(f, "s", "k", 7), "abcdef");
    EXPECT_EQ(get(f, "s", "k", 1000), "abcdef");
    EXPECT_EQ(profileString("s", "missing", "defaultText", 5, f), "defa");
}

TEST_F(ProfileTest, IntegersReadLeadingDigitsAndSaturate) {
    const auto f = ini(
        "[n]\nplain=35\nneg=-12\nplus=+7\nblank=  8\nquoted=\"9\"\ntail=12abc\nword=abc\n"
        "empty=\nsignOnly=-\nspaceAfterSign=- 5\nbig=99999999999999999999\nsmall=-99999999999999999999\n"
        "max=2147483647\nmin=-2147483648\nover=2147483648\nhex=0x10\nzeros=007\n");
    const std::pair<const char*, int> cases[] = {
        {"plain", 35},         {"neg", -12},          {"plus", 7},         {"blank", 8},
        {"quoted", 9},         {"tail", 12},          {"word", 0},         {"signOnly", 0},
        {"spaceAfterSign", 0}, {"big", INT_MAX},      {"small", INT_MIN},  {"max", INT_MAX},
        {"min", INT_MIN},      {"over", INT_MAX},     {"hex", 0},          {"zeros", 7},
    };
    for (auto [key, want] : cases) EXPECT_EQ(profileInt("n", key, -1, f), want) << key;
    EXPECT_EQ(profileInt("n", "empty", 77, f), 77);
    EXPECT_EQ(profileInt("n", "missing", 77, f), 77);
}

TEST_F(ProfileTest, OddContentNeverStopsTheReader) {
    std::string bytes = "\xEF\xBB\xBF[first]\r\nkey=crlf\r\n";
    bytes += std::string("[bin]\nraw=\x01\x02\xFF\xFE end\nnul=a") + '\0' + "b\n";
    bytes += "garbage line without equals\n= no key\n[broken section\nafter=broken\n";
    bytes += "; comment=1\n# hash=2\n";
    bytes += "multi=<<<END\nnotPart=1\nEND\n";
    bytes += "[long]\nvalue=" + std::string(100000, 'x') + "\n";
    bytes += "[" + std::string(5000, 's') + "]\nk=long section\n";
    bytes += "[last]\nnoNewline=end";
    const auto f = ini(bytes);
    EXPECT_EQ(get(f, "first", "key"), "crlf");
    EXPECT_EQ(get(f, "bin", "raw"), "\x01\x02\xFF\xFE end");
    EXPECT_EQ(get(f, "bin", "nul"), "a b");  // a NUL byte reads as a blank
    EXPECT_EQ(get(f, "bin", "after"), "broken");
    EXPECT_EQ(get(f, "bin", "; comment"), "<none>");
    EXPECT_EQ(get(f, "bin", "multi"), "<<<END");
    EXPECT_EQ(get(f, "bin", "notPart"), "1");
    EXPECT_EQ(profileString("long", "value", "", 200000, f), std::string(100000, 'x'));
    EXPECT_EQ(get(f, std::string(5000, 'S'), "k"), "long section");
    EXPECT_EQ(get(f, "last", "noNewline"), "end");
    EXPECT_EQ(get(ini("\xEF\xBB\xBF[open\nk=1\n[s]\nk=2\n"), "open", "k"), "<none>");
    EXPECT_EQ(get(ini(""), "s", "k"), "<none>");
    EXPECT_EQ(get(ini(std::string(3000, '\0')), "s", "k"), "<none>");
}

TEST_F(ProfileTest, OutsideEditsAreSeenAtOnce) {
    const std::string f = dir.file("edited.cfg");
    ASSERT_TRUE(testsupport::writeFile(f, "[s]\nk=1\n"));
    EXPECT_EQ(get(f, "s", "k"), "1");
    // Same size, rewritten in place straight after the read.
    ASSERT_TRUE(testsupport::writeFile(f, "[s]\nk=2\n"));
    EXPECT_EQ(get(f, "s", "k"), "2");
    // Replaced by another file.
    ASSERT_TRUE(testsupport::writeFile(dir.file("other.cfg"), "[s]\nk=33\n"));
    ASSERT_EQ(::rename(dir.file("other.cfg").c_str(), f.c_str()), 0);
    EXPECT_EQ(get(f, "s", "k"), "33");
    ASSERT_EQ(::unlink(f.c_str()), 0);
    EXPECT_EQ(get(f, "s", "k"), "<none>");
    ASSERT_TRUE(testsupport::writeFile(f, "[s]\nk=4\n"));
    EXPECT_EQ(get(f, "s", "k"), "4");
    ASSERT_TRUE(profileWrite("s", "k", "5", f));
    EXPECT_EQ(get(f, "s", "k"), "5");
}

// ---- Writing ----------------------------------------------------------------

TEST_F(ProfileTest, WritingCreatesFileSectionAndKey) {
    const std::string f = dir.file("new.cfg");
    ASSERT_TRUE(profileWrite("video", "fullscreen", "1", f));
    EXPECT_EQ(readFile(f), "[video]\nfullscreen=1\n");
    ASSERT_TRUE(profileWrite("audio", "globalVolume", "200", f));
    ASSERT_TRUE(profileWrite("VIDEO", "displayFPS", "0", f));
    EXPECT_EQ(readFile(f), "[video]\nfullscreen=1\ndisplayFPS=0\n[audio]\nglobalVolume=200\n");
    EXPECT_EQ(profileInt("video", "displayFPS", -1, f), 0);
    EXPECT_EQ(profileInt("audio", "globalVolume", -1, f), 200);
}

TEST_F(ProfileTest, WritingChangesOnlyTheOneLine) {
    const std::string before =
        "; settings\r\n"
        "[video]\r\n"
        "  FullScreen = 0   \r\n"
        "# fullscreen=9\r\n"
        "fullscreen=dup\r\n"
        "\r\n"
        "[input]\r\n"
        "lastUsedDI=1";
    const auto f = ini(before);
    ASSERT_TRUE(profileWrite("Video", "fullscreen", "1", f));
    std::string want = before;
    want.replace(want.find("0   "), 4, "1");
    EXPECT_EQ(readFile(f), want);

    // The last line keeps its missing line break.
    ASSERT_TRUE(profileWrite("input", "lastUsedDI", "0", f));
    want.back() = '0';
    EXPECT_EQ(readFile(f), want);
}

TEST_F(ProfileTest, NewKeysFollowTheSectionsLastKeyInTheFilesLineStyle) {
    const auto f = ini("[a]\r\nx=1\r\n; trailing comment\r\n\r\n[b]\r\ny=2");
    ASSERT_TRUE(profileWrite("a", "z", "3", f));
    EXPECT_EQ(readFile(f), "[a]\r\nx=1\r\nz=3\r\n; trailing comment\r\n\r\n[b]\r\ny=2");
    ASSERT_TRUE(profileWrite("b", "w", "4", f));
    EXPECT_EQ(readFile(f), "[a]\r\nx=1\r\nz=3\r\n; trailing comment\r\n\r\n[b]\r\ny=2\r\nw=4\r\n");
    ASSERT_TRUE(profileWrite("c", "v", "5", f));
    EXPECT_EQ(readFile(f), "[a]\r\nx=1\r\nz=3\r\n; trailing comment\r\n\r\n[b]\r\ny=2\r\nw=4\r\n[c]\r\nv=5\r\n");

    const auto g = ini("[empty]\n; nothing yet\n[next]\n", "g.cfg");
    ASSERT_TRUE(profileWrite("empty", "k", "v", g));
    EXPECT_EQ(readFile(g), "[empty]\nk=v\n; nothing yet\n[next]\n");
    const auto h = ini("top=1", "h.cfg");
    ASSERT_TRUE(profileWrite("s", "k", "v", h));
    EXPECT_EQ(readFile(h), "top=1\n[s]\nk=v\n");
}

TEST_F(ProfileTest, WrittenValuesReadBackTheWayTheyWereMeant) {
    const auto f = ini(std::string("\xEF\xBB\xBF[s]\nodd") + '\0' + "=1\nk=\"old\"\n");
    ASSERT_TRUE(profileWrite("s", "odd", "2", f));  // the reader's "odd " is this line
    ASSERT_TRUE(profileWrite("s", "k", "new", f));
    EXPECT_EQ(readFile(f), std::string("\xEF\xBB\xBF[s]\nodd") + '\0' + "=2\nk=new\n");
    EXPECT_EQ(get(f, "s", "odd"), "2");
    EXPECT_EQ(get(f, "s", "k"), "new");
    ASSERT_TRUE(profileWrite("s", "text", "a=b ; c", f));
    EXPECT_EQ(get(f, "s", "text"), "a=b ; c");
}

TEST_F(ProfileTest, RefusedNamesAndValuesLeaveTheFileAlone) {
    const std::string before = "[s]\nk=1\n";
    const auto f = ini(before);
    const std::pair<std::string, std::string> badNames[] = {
        {"s[", "k"}, {"s]", "k"}, {"s=", "k"}, {"s\n", "k"}, {"", "k"},  {"  ", "k"},
        {"s", "k["}, {"s", "k]"}, {"s", "k=x"}, {"s", "k\r"}, {"s", ""}, {"s", ";k"},
        {"s", "#k"}, {"s", std::string("k\0", 2)},
    };
    for (const auto& [section, key] : badNames) EXPECT_FALSE(profileWrite(section, key, "2", f)) << section << "/" << key;
    EXPECT_FALSE(profileWrite("s", "k", "two\nlines", f));
    EXPECT_FALSE(profileWrite("s", "k", "cr\r", f));
    EXPECT_FALSE(profileWrite("s", "k", "", ""));
    EXPECT_EQ(readFile(f), before);
}

TEST_F(ProfileTest, FailedWritesReturnFalseAndKeepTheOldFile) {
    EXPECT_FALSE(profileWrite("s", "k", "v", dir.file("no/such/folder/x.cfg")));
    EXPECT_FALSE(profileWrite("s", "k", "v", dir.path()));  // a folder in the file's place

    const std::string before = "[s]\nk=1\n";
    const auto f = ini(before);
    // A file-size limit makes the write itself fail part-way.
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &old), 0);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool wrote = profileWrite("s", "k", std::string(1000, 'v'), f);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(readFile(f), before);
    EXPECT_EQ(get(f, "s", "k"), "1");
    EXPECT_EQ(folderNames(), std::vector<std::string>{"test.cfg"});

    if (::geteuid() != 0) {  // permissions do not bind the superuser
        ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
        EXPECT_FALSE(profileWrite("s", "k", "2", f));
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(readFile(f), before);
    }
}

TEST_F(ProfileTest, ABatchWritesLikeSingleWritesInOneGoOrNotAtAll) {
    const std::string before = "; kept\r\n[a]\r\nx=1\r\n\r\n[b]\r\ny=2";
    const auto one = ini(before, "one.cfg");
    const auto all = ini(before, "all.cfg");
    const std::vector<plat::ProfileEntry> entries = {
        {"a", "x", "10"}, {"A", "z", "3"}, {"c", "v", "5"}, {"b", "Y", "20"}, {"c", "w", "6"}};
    for (const auto& e : entries) ASSERT_TRUE(profileWrite(e.section, e.key, e.value, one));
    ASSERT_TRUE(plat::profileWriteAll(entries, all));
    EXPECT_EQ(readFile(all), readFile(one));
    EXPECT_EQ(get(all, "c", "w"), "6");

    // One refused entry refuses the batch, and says nothing was written
    // whatever the caller's flag held before.
    const std::string written = readFile(all);
    bool inPlace = true;
    EXPECT_FALSE(plat::profileWriteAll({{"a", "x", "11"}, {"a", "bad=key", "1"}}, all, &inPlace));
    EXPECT_FALSE(inPlace);
    inPlace = true;
    EXPECT_FALSE(plat::profileWriteAll({{"a", "x", "11"}, {"a", "k", "two\nlines"}}, all, &inPlace));
    EXPECT_FALSE(inPlace);
    EXPECT_EQ(readFile(all), written);
    EXPECT_EQ(get(all, "a", "x"), "10");
}

// As the Windows writer does with a read-only file: no write, and false.
TEST_F(ProfileTest, AReadOnlyFileIsNeverReplaced) {
    const std::string before = "[s]\nk=1\n";
    const auto f = ini(before);
    ASSERT_EQ(::chmod(f.c_str(), 0444), 0);
    EXPECT_FALSE(profileWrite("s", "k", "2", f));
    EXPECT_FALSE(plat::profileWriteAll({{"s", "new", "3"}}, f));
    EXPECT_EQ(readFile(f), before);
    struct stat st {};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(folderNames(), std::vector<std::string>{"test.cfg"});

    // A file there is never overwritten by a creation either.
    ASSERT_EQ(::chmod(f.c_str(), 0644), 0);
    EXPECT_FALSE(plat::profileCreate(f, "[other]\n"));
    EXPECT_EQ(readFile(f), before);
    EXPECT_TRUE(plat::profileCreate(dir.file("fresh.cfg"), "[fresh]\nk=v\n"));
    EXPECT_EQ(get(dir.file("fresh.cfg"), "fresh", "k"), "v");
}

// A writer killed between naming its temporary file and the rename leaves
// "<file>.emberhaunt-save-<pid>-<n>"; a write, or a start, a minute later
// removes it. A younger one may be a write under way, here or on another
// machine sharing the folder, whatever its process id: it stays, as does
// every file of any other name, a player's backup among them.
TEST_F(ProfileTest, LeftoversOfKilledWritersAreRemovedAndNothingElse) {
    const auto f = ini("[s]\nk=1\n");
    const std::string own = "test.cfg.emberhaunt-save-";
    auto aged = [&](const std::string& name, int seconds) {
        if (!std::filesystem::exists(dir.file(name))) ini("x", name);
        EXPECT_TRUE(testsupport::ageFile(dir.file(name), seconds)) << name;
    };
    const std::vector<std::string> kept = {
        own + "4242-0",                    // under way
        own + "4242-1",                    // under way for 50 s
        own + "4242-x",                    // not the writer's naming
        own + "4242",
        "test.cfg.tmp-2024-05",            // the player's backup
        "test.cfg.tmp-4242-0",
        "other.cfg.emberhaunt-save-4242-0",  // another file's
        own + "4242-2",                    // no file
    };
    ini("x", kept[0]);
    aged(kept[1], 50);
    ASSERT_EQ(::mkdir(dir.file(kept.back()).c_str(), 0755), 0);
    for (std::size_t i = 2; i < kept.size(); ++i) aged(kept[i], 3600);
    aged(own + "4242-17", 61);
    aged(own + std::to_string(::getpid()) + "-3", 3600);  // this process's own

    ASSERT_TRUE(profileWrite("s", "k", "2", f));
    std::vector<std::string> want = kept;
    want.push_back("test.cfg");
    std::sort(want.begin(), want.end());
    EXPECT_EQ(folderNames(), want);

    aged(own + "5-5", 61);
    aged(kept[0], 61);
    plat::profileRemoveLeftovers(f);
    want.erase(std::find(want.begin(), want.end(), kept[0]));
    EXPECT_EQ(folderNames(), want);
    EXPECT_EQ(get(f, "s", "k"), "2");
}

// Every flush a write makes: whether of a folder, which one, what the
// watched file held at that moment and, for the content, whether it had a
// name yet. A folder flush fails with failFolder (an errno) where that is
// set, the content's with failContent (a full disk); with starveFolder, the
// content's flush leaves no descriptor for the folder to be opened with.
struct Flush {
    bool folder;
    ino_t inode;
    std::string fileHeld;
    bool named;
};
std::vector<Flush> flushes;
std::string watchedFile;
int failFolder = 0;
int failContent = 0;
bool starveFolder = false;
bool realFlush = true;

// Every descriptor below the limit taken, and the limit lowered to the
// content's own: once the writer closes it, no file can be opened.
std::vector<int> starvers;
bool starved = false;
rlimit oldLimit{};
void starve(int contentFd) {
    if (starved || ::getrlimit(RLIMIT_NOFILE, &oldLimit) != 0) return;
    rlimit low = oldLimit;
    low.rlim_cur = rlim_t(contentFd);
    if (::setrlimit(RLIMIT_NOFILE, &low) != 0) return;
    starved = true;
    for (int d = ::dup(contentFd); d >= 0; d = ::dup(contentFd)) starvers.push_back(d);
}
void feed() {
    if (!starved) return;
    for (int d : starvers) ::close(d);
    starvers.clear();
    ::setrlimit(RLIMIT_NOFILE, &oldLimit);
    starved = false;
}

int watchFlush(int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    flushes.push_back({S_ISDIR(st.st_mode), st.st_ino, readFile(watchedFile), st.st_nlink > 0});
    if (S_ISDIR(st.st_mode) && failFolder) {
        errno = failFolder;
        return -1;
    }
    if (!S_ISDIR(st.st_mode) && failContent) {
        errno = failContent;
        return -1;
    }
    if (!S_ISDIR(st.st_mode) && starveFolder) starve(fd);
    return realFlush ? ::fsync(fd) : 0;
}

class ProfileFlushTest : public ProfileTest {
protected:
    void SetUp() override {
        flushes.clear();
        failFolder = 0;
        failContent = 0;
        starveFolder = false;
        realFlush = true;
        plat::internal::setSyncCall(watchFlush);
    }
    void TearDown() override {
        feed();
        plat::internal::setSyncCall(nullptr);
        plat::internal::setUnnamedFiles(true);
    }
    // Writes k=value; true when the write reported success. *written tells
    // whether the file holds the new content.
    bool write(const std::string& f, int value, bool* written) {
        const bool ok = plat::profileWriteAll({{"s", "k", std::to_string(value)}}, f, written);
        feed();
        return ok;
    }
    // Not every file system has files without a name (overlayfs of older
    // kernels): there the writer takes the named way either way.
    bool unnamedFilesHere() const {
        const int probe = ::open(dir.path().c_str(), O_TMPFILE | O_WRONLY, 0600);
        if (probe < 0) return false;
        ::close(probe);
        return true;
    }
};

// The content is flushed before the rename and the folder after it, so that
// a power cut can undo neither, whether the file is written without a name
// first or, where the file system has no such files, under a temporary one.
// A folder flush that fails, or a folder that cannot be opened for want of
// a descriptor, leaves the new content in place, but the write is no
// success; a file system that cannot flush folders at all is no failure.
// A write that fails before the rename leaves the old file and says so.
TEST_F(ProfileFlushTest, AWriteFlushesTheContentThenTheFolder) {
    const auto f = ini("[s]\nk=1\n");
    watchedFile = f;
    struct stat folder {};
    ASSERT_EQ(::stat(dir.path().c_str(), &folder), 0);
    const bool unnamedHere = unnamedFilesHere();
    int value = 1;
    for (bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        plat::internal::setUnnamedFiles(unnamed);
        flushes.clear();
        failFolder = 0;
        bool written = false;
        ASSERT_TRUE(write(f, ++value, &written));
        EXPECT_TRUE(written);
        ASSERT_EQ(flushes.size(), 2u);
        EXPECT_FALSE(flushes[0].folder);
        EXPECT_EQ(flushes[0].named, !unnamed || !unnamedHere);
        EXPECT_EQ(flushes[0].fileHeld, "[s]\nk=" + std::to_string(value - 1) + "\n");
        EXPECT_TRUE(flushes[1].folder);
        EXPECT_EQ(flushes[1].inode, folder.st_ino);
        EXPECT_EQ(flushes[1].fileHeld, "[s]\nk=" + std::to_string(value) + "\n");

        failFolder = EIO;
        EXPECT_FALSE(write(f, ++value, &written));
        EXPECT_TRUE(written);
        EXPECT_EQ(readFile(f), "[s]\nk=" + std::to_string(value) + "\n");
        EXPECT_EQ(folderNames(), std::vector<std::string>{"test.cfg"});
        failFolder = EINVAL;
        EXPECT_TRUE(write(f, ++value, &written));
        EXPECT_EQ(flushes.size(), 6u);

        failFolder = 0;
        starveFolder = true;
        EXPECT_FALSE(write(f, ++value, &written));
        starveFolder = false;
        EXPECT_TRUE(written);
        EXPECT_EQ(flushes.size(), 7u);  // the content's only
        EXPECT_EQ(readFile(f), "[s]\nk=" + std::to_string(value) + "\n");
        EXPECT_EQ(folderNames(), std::vector<std::string>{"test.cfg"});
        EXPECT_TRUE(write(f, ++value, &written));

        // The caller's flag is true from the write before.
        failContent = ENOSPC;
        EXPECT_FALSE(write(f, value + 1, &written));
        failContent = 0;
        EXPECT_FALSE(written);
        EXPECT_EQ(readFile(f), "[s]\nk=" + std::to_string(value) + "\n");
        EXPECT_EQ(folderNames(), std::vector<std::string>{"test.cfg"});
        written = true;
        EXPECT_FALSE(write(dir.file("no/such/folder/x.cfg"), value + 1, &written));
        EXPECT_FALSE(written);
    }
}

std::size_t openDescriptors() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

// A thousand writes, every way they can end, close every descriptor they
// open: one left open per write would, after a thousand saves, make every
// save and every image and sound load fail.
TEST_F(ProfileFlushTest, AThousandWritesLeaveNoDescriptorOpen) {
    const auto f = ini("[s]\nk=1\n");
    const auto readOnly = ini("[s]\nk=1\n", "locked.cfg");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    watchedFile = f;
    realFlush = false;  // the descriptors are the point, not the disk
    const bool unnamedHere = unnamedFilesHere();
    const std::size_t before = openDescriptors();
    bool written = false;
    for (int i = 0; i < 1000; ++i) {
        // Every ending on each way in turn.
        const int ending = i % 6;
        const bool unnamed = i / 6 % 2 == 0;
        plat::internal::setUnnamedFiles(unnamed);
        failFolder = ending == 1 ? EIO : 0;
        starveFolder = ending == 2;
        failContent = ending == 5 ? ENOSPC : 0;
        const bool ok = ending == 3 ? write(readOnly, i, &written) : write(f, i, &written);
        EXPECT_EQ(ok, ending == 0 || ending == 4) << i;
        EXPECT_EQ(written, ending != 3 && ending != 5) << i;
        if (ending != 3) {
            ASSERT_FALSE(flushes.empty()) << i;
            EXPECT_EQ(flushes[0].named, !unnamed || !unnamedHere) << i;
        }
        flushes.clear();
    }
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"locked.cfg", "test.cfg"}));
}

TEST_F(ProfileTest, RewrittenFilesKeepTheirPermissionsAndLinks) {
    const auto f = ini("[s]\nk=1\n");
    ASSERT_EQ(::chmod(f.c_str(), 0640), 0);
    ASSERT_TRUE(profileWrite("s", "k", "2", f));
    struct stat st {};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    const std::string link = dir.file("link.cfg");
    ASSERT_EQ(::symlink(f.c_str(), link.c_str()), 0);
    ASSERT_TRUE(profileWrite("s", "k", "3", link));
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(f), "[s]\nk=3\n");
    EXPECT_EQ(get(link, "s", "k"), "3");
}

}  // namespace
