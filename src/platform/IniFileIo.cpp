#include "platform/IniFileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace plat::internal {
namespace {

// Longer than any file-system timestamp tick (at most 10 ms on Linux).
constexpr int64_t kSettleNs = 50'000'000;

FileStamp stampOf(const struct stat& st) {
    FileStamp s;
    s.device = static_cast<uint64_t>(st.st_dev);
    s.inode = static_cast<uint64_t>(st.st_ino);
    s.size = static_cast<int64_t>(st.st_size);
    s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    s.ctimeNs = int64_t(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    return s;
}

int64_t nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return int64_t(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

SyncCall syncCall = nullptr;
bool unnamedFiles = true;

int flush(int fd) { return syncCall ? syncCall(fd) : ::fsync(fd); }

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

// Temporary files are named "<file>.emberhaunt-save-<pid>-<n>", a name no
// person gives a file, so that a later write can tell them from the
// player's own files.
std::string tempPrefix(const std::string& path) { return path + ".emberhaunt-save-"; }

// Older than any write can take (milliseconds): a temporary file this old
// was left by a writer that died. Its process id cannot tell that: in a
// folder shared between machines or containers it names a process of
// another system.
constexpr int64_t kStaleTempNs = 60'000'000'000;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string tempName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return tempPrefix(path) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The new file takes the place of the old one: same permissions and, where
// allowed, the same owner.
bool writeContent(int fd, const std::string& bytes, const struct stat* old) {
    bool ok = true;
    if (old) {
        ok = ::fchmod(fd, old->st_mode & 07777) == 0;
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) { /* not ours to change */ }
    }
    return ok && writeAll(fd, bytes) && flush(fd) == 0;
}

// Makes the rename itself durable: until the folder is on disk, a power cut
// may bring back the old file, or no file where there was none. A folder we
// may not read, or a file system that cannot flush one, leaves nothing more
// to do; a folder that cannot be opened for another reason (no descriptor
// left) or a flush that fails (an I/O error, a full disk) leaves the new file
// in place but not known to survive, which is no success.
bool flushFolder(const std::string& path) {
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return errno == EACCES || errno == EPERM;
    const bool ok = flush(dir) == 0 || errno == EINVAL || errno == EROFS;
    ::close(dir);
    return ok;
}

enum class Outcome { Done, Failed, Unsupported };

// The file is written without a name (O_TMPFILE), so a process killed while
// writing leaves nothing behind; only once the content is on disk does it
// get a temporary name, which the rename right after takes away again. A
// kill between those two calls is the one moment a named temporary file
// can be left; a write or start a minute later removes it (removeStaleTemps).
Outcome replaceUnnamed(const std::string& path, const std::string& bytes, const struct stat* old) {
#ifdef O_TMPFILE
    if (!unnamedFiles) return Outcome::Unsupported;
    const int fd = ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        // Not offered by this system or file system: the named way.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return Outcome::Unsupported;
        return Outcome::Failed;
    }
    if (!writeContent(fd, bytes, old)) {
        ::close(fd);
        return Outcome::Failed;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    std::string temp;
    bool linked = false;
    for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
        temp = tempName(path);
        linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0;
        // Without /proc, naming a descriptor needs a privilege.
        if (!linked && errno == ENOENT)
            linked = ::linkat(fd, "", AT_FDCWD, temp.c_str(), AT_EMPTY_PATH) == 0;
        if (!linked && errno != EEXIST) break;
    }
    if (!linked) {
        const bool unsupported = errno == ENOENT || errno == EPERM;
        ::close(fd);
        return unsupported ? Outcome::Unsupported : Outcome::Failed;
    }
    // Nothing between the link and the rename: that is the window.
    const bool renamed = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!renamed) ::unlink(temp.c_str());
    ::close(fd);
    return renamed ? Outcome::Done : Outcome::Failed;
#else
    (void)path, (void)bytes, (void)old;
    return Outcome::Unsupported;
#endif
}

// The same with a temporary file named from the start: a kill at any point
// before the rename leaves it behind.
bool replaceNamed(const std::string& path, const std::string& bytes, const struct stat* old) {
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = tempName(path);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = writeContent(fd, bytes, old);
    if (::close(fd) != 0) ok = false;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool replaceAt(const std::string& path, const std::string& bytes, const struct stat* old, bool* inPlace) {
    removeStaleTemps(path);
    // Two flushes per write: the content before the rename, so that the
    // name never stands for half a file, and the folder after it.
    bool replaced = false;
    switch (replaceUnnamed(path, bytes, old)) {
    case Outcome::Done: replaced = true; break;
    case Outcome::Failed: return false;
    case Outcome::Unsupported: replaced = replaceNamed(path, bytes, old); break;
    }
    if (!replaced) return false;
    if (inPlace) *inPlace = true;
    return flushFolder(path);
}

}  // namespace

void setSyncCall(SyncCall call) { syncCall = call; }

void setUnnamedFiles(bool allowed) { unnamedFiles = allowed; }

bool statFile(const std::string& path, FileStamp* stamp) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    *stamp = stampOf(st);
    return true;
}

ReadResult readWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes,
                         FileStamp* stamp) {
    bytes->clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return (errno == ENOENT || errno == ENOTDIR) ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Failed;
    }
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return ReadResult::TooLarge;
    }
    *stamp = stampOf(st);
    // The size is only a hint: the file may grow or shrink while it is read.
    bytes->resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes->size()) {
            if (bytes->size() >= maxBytes) break;
            bytes->resize(std::min(maxBytes, bytes->size() + 4096));
        }
        ssize_t n = ::read(fd, &(*bytes)[got], bytes->size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            bytes->clear();
            return ReadResult::Failed;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes->resize(got);
    ::close(fd);
    return ReadResult::Ok;
}

uint64_t contentHash(std::string_view bytes) {
    return static_cast<uint64_t>(std::hash<std::string_view>{}(bytes));
}

void CachedFile::remember(const FileStamp& s, std::string_view bytes) {
    stamp = s;
    hash = contentHash(bytes);
    settled = false;
}

bool CachedFile::stillCurrent(const std::string& path, std::size_t maxBytes) {
    FileStamp now;
    if (!statFile(path, &now) || now != stamp) return false;
    if (settled) return true;
    // Whether the change time is safely past must be decided before reading:
    // any write after this read then gets a later stamp.
    bool safelyPast = nowNs() - now.ctimeNs > kSettleNs;
    std::string bytes;
    FileStamp readStamp;
    if (readWholeFile(path, maxBytes, &bytes, &readStamp) != ReadResult::Ok || readStamp != stamp ||
        contentHash(bytes) != hash)
        return false;
    if (safelyPast) settled = true;
    return true;
}

}  // namespace plat::internal

namespace plat::internal {

bool replaceFile(const std::string& path, const std::string& bytes, bool* inPlace) {
    if (inPlace) *inPlace = false;
    if (path.empty()) return false;
    // A link stays a link: the file it names is the one replaced.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        // A read-only file is the owner's wish that it stays as it is; the
        // rename would go through it (only the folder's permission counts),
        // and the superuser passes every access check, so the mode bits
        // are asked as well.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)
            return false;
        return replaceAt(target, bytes, &st, inPlace);
    }
    return replaceAt(target, bytes, nullptr, inPlace);
}

void removeStaleTemps(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string dir = folderOf(path);
    const std::string prefix = tempPrefix(path.substr(slash == std::string::npos ? 0 : slash + 1));
    DIR* folder = ::opendir(dir.c_str());
    if (!folder) return;
    const int64_t now = nowNs();
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        // "<pid>-<n>", digits only.
        const std::string tail = name.substr(prefix.size());
        const std::size_t dash = tail.find('-');
        if (dash == 0 || dash == std::string::npos || dash + 1 == tail.size() ||
            tail.find_first_not_of("0123456789-") != std::string::npos || tail.find('-', dash + 1) != std::string::npos)
            continue;
        const std::string file = dir + "/" + name;
        struct stat st {};
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && now - stampOf(st).mtimeNs >= kStaleTempNs)
            ::unlink(file.c_str());
    }
    ::closedir(folder);
}

}  // namespace plat::internal
