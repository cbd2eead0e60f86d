// INI ("profile") files with the semantics of the Windows private-profile
// functions:
// - section and key names match without regard to case (ASCII);
// - a missing file or section reads as every key missing;
// - where a section or key occurs twice, the first occurrence wins;
// - values are trimmed of surrounding blanks, and one pair of enclosing
//   double or single quotes is removed;
// - lines starting with ';' or '#' are comments; lines without '=' are
//   ignored when reading and kept when writing.
// Reading never fails on odd content (binary bytes, very long lines, no
// final newline). Files are re-read when they change on disk.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plat {

// The value of [section] key, at most maxLength - 1 characters of it (the
// Windows buffer size rule; 0 gives ""), or defaultValue when missing.
std::string profileString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t maxLength,
                          const std::string& file);

// The value read as a decimal integer: optional blanks and sign, then digits
// (the rest ignored; no digits gives 0; out of range saturates).
// defaultValue when the key is missing or its value is empty.
int profileInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file);

// The value of [section] key into *value; false (leaving *value alone) when
// the file, the section or the key is missing.
bool profileFind(const std::string& section, const std::string& key, const std::string& file,
                 std::string* value);

// One key of a profile and its value.
struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Every key of an INI text held in memory, read by the rules above, in the
// order of the text; where a section or key occurs twice only the first is
// listed (with the value a reader would get).
std::vector<ProfileEntry> profileEntries(const std::string& bytes);

enum class ProfileFile { Missing, Readable, Unreadable };

// Whether the file is there and can be read; when it can, *entries gets its
// keys as profileEntries lists them.
ProfileFile profileRead(const std::string& file, std::vector<ProfileEntry>* entries);

// Sets [section] key = value. Creates the file, the section (appended at the
// end) or the key (after the section's last key line) as needed; an existing
// key keeps its line position and only that line changes. Every other byte
// of the file stays as it was. The new file is written beside the old one,
// flushed to disk and renamed over it, so a failure never leaves a
// half-written file. Returns false when anything failed (the old file then
// stands unchanged, but for a failed flush of the folder after the rename:
// see profileWriteAll); a read-only file (no write permission for anyone, or
// none for us) is never replaced. A section or key name containing '[', ']', '=' or a
// line break, or a value containing a line break, is refused (false).
bool profileWrite(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file);

// Sets every entry in one write: each is patched in, in order, exactly as
// profileWrite would, then the file is replaced once. All or nothing: false,
// with the file unchanged, when any name or value is refused or the write
// fails. One failure comes after the fact: the folder could not be flushed
// after the rename, so the new file stands but may not survive a power cut;
// that is false too, with *written (where given) true.
bool profileWriteAll(const std::vector<ProfileEntry>& entries, const std::string& file,
                     bool* written = nullptr);

// Removes what writes of this file left behind when their process was
// killed part-way (a temporary file beside it, once it is a minute old);
// every write does this first, a program may also do it when it starts.
void profileRemoveLeftovers(const std::string& file);

// Writes bytes as the whole file when no file is there; false when one is
// (it stays as it was) or when writing failed.
bool profileCreate(const std::string& file, const std::string& bytes);

}  // namespace plat
