// Whole-file reads and writes for the profile, bitmap, icon and audio code: telling
// whether a file changed since it was read, and replacing a file so that it
// never stands half-written. Never included outside src/platform/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plat::internal {

// Who a file is and when it last changed, as stat() tells.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtimeNs = 0;
    int64_t ctimeNs = 0;

    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               mtimeNs == o.mtimeNs && ctimeNs == o.ctimeNs;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// Stamp of a regular file; false when it does not exist or is no regular file.
bool statFile(const std::string& path, FileStamp* stamp);

enum class ReadResult { Ok, Missing, TooLarge, Failed };

// Reads the whole regular file into *bytes and stamps it. Files larger than
// maxBytes are not read (TooLarge).
ReadResult readWholeFile(const std::string& path, std::size_t maxBytes, std::string* bytes,
                         FileStamp* stamp);

uint64_t contentHash(std::string_view bytes);

// Writes bytes to a new file beside path, flushes it to disk and renames it
// over path, so that path holds either its old or its new content; then
// flushes the folder, so that a power cut cannot undo the rename. A file
// replaced keeps its permissions (and owner, where allowed); a new one gets
// the usual ones. A link is followed: the file it names is replaced. A
// read-only file (no write permission for anyone, or none for us) is not
// replaced. False when anything failed; no temporary file is left behind.
// A folder flush that fails after the rename also gives false: the new
// content is in place then, but not known to be on disk. *inPlace (where
// given) tells whether path holds the new content, whatever the result.
// Where the system allows, the content is written to a file without a name
// until it is complete, so that even a process killed part-way leaves at
// most a named temporary file for the few instructions between naming it
// and the rename.
bool replaceFile(const std::string& path, const std::string& bytes, bool* inPlace = nullptr);

// Removes the temporary files that writes of path left beside it when their
// process died: those of the writer's own naming that are a minute old,
// when no write can still be under way. Every replaceFile does this first.
void removeStaleTemps(const std::string& path);

// Every flush to disk that replaceFile makes, of the content and of the
// folder, goes through `call` instead of fsync, so that tests can watch or
// fail them; null puts fsync back.
using SyncCall = int (*)(int fd);
void setSyncCall(SyncCall call);

// False makes replaceFile write as on a file system without files that
// have no name (a temporary file named from the start), so that tests can
// take that way; true gives the system its choice again.
void setUnnamedFiles(bool allowed);

// What a cache remembers about the file a cached value came from.
struct CachedFile {
    FileStamp stamp;
    uint64_t hash = 0;
    bool settled = false;  // the stamp alone proves the content unchanged

    void remember(const FileStamp& s, std::string_view bytes);
    // True when the file on disk still holds what was read. A file changed
    // within a few clock ticks of being read may change again without a
    // new stamp (timestamps are coarse), so until its change time is safely
    // past, the content itself is compared.
    bool stillCurrent(const std::string& path, std::size_t maxBytes);
};

}  // namespace plat::internal
