#include "platform/IniFileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

bool replaceAt(const std::string& path, const std::string& bytes, const struct stat* old) {
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = true;
    if (old) {
        // The new file takes the place of the old one: same permissions and,
        // where allowed, the same owner.
        ok = ::fchmod(fd, old->st_mode & 07777) == 0;
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) { /* not ours to change */ }
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // One flush per write: the folder is not flushed after the rename. A
    // crash just after it may bring back the old content, never a mix.
    return true;
}

}  // namespace

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

bool replaceFile(const std::string& path, const std::string& bytes) {
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
        return replaceAt(target, bytes, &st);
    }
    return replaceAt(target, bytes, nullptr);
}

}  // namespace plat::internal
