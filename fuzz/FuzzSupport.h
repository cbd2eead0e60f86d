// Shared by the fuzz targets and their replay programs: a private scratch
// folder, whole-file writes and reads, and the check that turns a broken
// promise into a crash the fuzzer (or the replay test) reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// The bytes of one fuzz input as a string.
inline std::string bytesOf(const uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// A file in this process's own scratch folder (made on first use, in memory
// when /dev/shm is there, removed at exit).
std::string scratchFile(const std::string& name);

// Writes the bytes whole; aborts when that fails, since every later check
// would then be about the wrong file.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// Reports what broke and aborts, so that the input is kept as a finding.
[[noreturn]] void fail(const std::string& what);
inline void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

}  // namespace fuzzsupport
