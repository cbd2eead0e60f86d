#include "platform/Profile.h"

#include <SimpleIni.h>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/IniFileIo.h"

namespace plat {
namespace {

constexpr std::size_t kMaxIniFile = std::size_t(64) << 20;  // far beyond any settings file

// A NUL byte cannot live inside the parser's strings; reader and writer both
// take it for a blank so that they agree on every line.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\0'; }

// Names compare as the reader sees them: without case, a NUL as a blank.
char lower(char c) {
    if (c == '\0') return ' ';
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// ---- Reading ------------------------------------------------------------

struct ParsedFile {
    internal::CachedFile file;
    CSimpleIniA ini;
};

std::mutex& cacheMutex() {
    static std::mutex m;
    return m;
}

std::map<std::string, std::unique_ptr<ParsedFile>>& cache() {
    static std::map<std::string, std::unique_ptr<ParsedFile>> c;
    return c;
}

// Prepares file bytes for the parser: NUL bytes become blanks, and a line
// that opens a section without closing it becomes a comment (the parser
// would otherwise take the rest of the file into a section of that name).
void neutralise(std::string& b) {
    std::size_t first = std::string::npos;  // first non-blank of the current line
    const std::size_t start = b.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // UTF-8 mark
    for (std::size_t i = start; i <= b.size(); ++i) {
        const bool lineEnd = i == b.size() || b[i] == '\n' || b[i] == '\r';
        if (lineEnd) {
            if (first != std::string::npos && b[first] == '[' &&
                std::string_view(b).substr(first, i - first).find(']') == std::string_view::npos)
                b[first] = ';';
            first = std::string::npos;
            continue;
        }
        if (b[i] == '\0') b[i] = ' ';
        if (first == std::string::npos && !isBlank(b[i])) first = i;
    }
}

bool parseInto(CSimpleIniA& ini, std::string bytes) {
    neutralise(bytes);
    // Duplicate keys are all kept so that the first can win; "<<<" values
    // and quotes are plain text here (quotes are handled below, both kinds).
    ini.SetMultiKey(true);
    ini.SetMultiLine(false);
    ini.SetQuotes(false);
    return ini.LoadData(bytes) >= 0;
}

// The parsed file, re-read only when it changed on disk; null when it cannot
// be read (which reads as every key missing). Call with the mutex held.
const CSimpleIniA* parsed(const std::string& path) {
    auto& c = cache();
    auto it = c.find(path);
    if (it != c.end()) {
        if (it->second->file.stillCurrent(path, kMaxIniFile)) return &it->second->ini;
        c.erase(it);
    }
    std::string bytes;
    internal::FileStamp stamp;
    if (internal::readWholeFile(path, kMaxIniFile, &bytes, &stamp) != internal::ReadResult::Ok)
        return nullptr;
    auto p = std::make_unique<ParsedFile>();
    p->file.remember(stamp, bytes);
    if (!parseInto(p->ini, std::move(bytes))) return nullptr;
    return &c.emplace(path, std::move(p)).first->second->ini;
}

// A name as the caller gives it, without surrounding blanks.
std::string callerName(const std::string& n) {
    std::size_t b = n.find_first_not_of(" \t"), e = n.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : n.substr(b, e - b + 1);
}

// The value of a key as a reader gets it. Call with names already trimmed.
bool valueOf(const CSimpleIniA& ini, const char* section, const char* key, std::string* value) {
    CSimpleIniA::TNamesDepend values;
    if (!ini.GetAllValues(section, key, values) || values.empty()) return false;
    // Where a key occurs more than once (also through a repeated section),
    // the one earliest in the file wins.
    const CSimpleIniA::Entry* first = &values.front();
    for (const auto& v : values)
        if (v.nOrder < first->nOrder) first = &v;
    std::string_view text = first->pItem;
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    value->assign(text);
    return true;
}

bool lookup(const std::string& file, const std::string& section, const std::string& key,
            std::string* value) {
    const std::string s = callerName(section), k = callerName(key);
    // The parser's names hold no NUL, so a name with one is never present.
    if (s.find('\0') != std::string::npos || k.find('\0') != std::string::npos) return false;
    std::lock_guard<std::mutex> lock(cacheMutex());
    const CSimpleIniA* ini = parsed(file);
    return ini && valueOf(*ini, s.c_str(), k.c_str(), value);
}

// ---- Writing ------------------------------------------------------------

enum class Kind { Other, Section, Key };

// One line of a file being patched: its text, its own line break (empty on
// a last line without one) and what the reader makes of it.
struct PatchLine {
    std::string text;
    std::string lineBreak;
    Kind kind = Kind::Other;
    std::string name;
    std::size_t equals = 0;  // offset of '=' in the text (keys)
};

// Reads one line the way the parser does: blanks lead, ';' or '#' start a
// comment, "[name]" a section, "name=value" a key; anything else is ignored.
void classify(PatchLine& line, bool firstLine) {
    const std::string& t = line.text;
    line.kind = Kind::Other;
    std::size_t p = 0;
    if (firstLine && t.compare(0, 3, "\xEF\xBB\xBF") == 0) p = 3;  // UTF-8 mark
    while (p < t.size() && isBlank(t[p])) ++p;
    if (p >= t.size() || t[p] == ';' || t[p] == '#') return;
    std::string_view text(t.data() + p, t.size() - p);
    if (text.front() == '[') {
        std::size_t close = text.find(']');
        if (close == std::string_view::npos) return;
        line.kind = Kind::Section;
        line.name = std::string(trimmed(text.substr(1, close - 1)));
        return;
    }
    std::size_t eq = text.find('=');
    if (eq == std::string_view::npos || eq == 0) return;
    line.kind = Kind::Key;
    line.name = std::string(trimmed(text.substr(0, eq)));
    line.equals = p + eq;
}

PatchLine newLine(std::string text, const std::string& lineBreak, bool firstLine) {
    PatchLine line;
    line.text = std::move(text);
    line.lineBreak = lineBreak;
    classify(line, firstLine);
    return line;
}

// A file split into lines: '\n', '\r\n' and a lone '\r' each end one.
// The second result is the file's own line break, "\n" when it has none.
std::vector<PatchLine> splitLines(const std::string& b, std::string* lineBreak) {
    std::vector<PatchLine> lines;
    *lineBreak = "\n";
    bool breakSeen = false;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= b.size(); ++i) {
        if (i < b.size() && b[i] != '\n' && b[i] != '\r') continue;
        if (i == b.size() && begin == b.size()) break;
        std::size_t next = i == b.size() ? i : i + 1;
        if (i < b.size() && b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') next = i + 2;
        lines.push_back(newLine(b.substr(begin, i - begin), b.substr(i, next - i), lines.empty()));
        if (!breakSeen && next > i) {
            breakSeen = true;
            *lineBreak = lines.back().lineBreak;
        }
        begin = next;
        i = next - 1;
    }
    return lines;
}

// Sets [section] key = value among the lines, every other byte kept.
void patch(std::vector<PatchLine>& lines, const std::string& br, const std::string& section,
           const std::string& key, const std::string& value) {
    std::size_t header = 0;
    while (header < lines.size() && !(lines[header].kind == Kind::Section && sameName(lines[header].name, section)))
        ++header;
    if (header == lines.size()) {
        if (!lines.empty() && lines.back().lineBreak.empty()) lines.back().lineBreak = br;
        lines.push_back(newLine("[" + section + "]", br, lines.empty()));
        lines.push_back(newLine(key + "=" + value, br, false));
        return;
    }
    std::size_t after = header;  // the new key goes after the section's last key
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        PatchLine& l = lines[i];
        if (l.kind == Kind::Section) break;
        if (l.kind != Kind::Key) continue;
        if (sameName(l.name, key)) {
            // Only the value changes: the key as spelt and the blanks after '='
            // stay, and so does the line break.
            std::size_t keep = l.equals + 1;
            while (keep < l.text.size() && (l.text[keep] == ' ' || l.text[keep] == '\t')) ++keep;
            l.text.replace(keep, std::string::npos, value);
            return;
        }
        after = i;
    }
    if (lines[after].lineBreak.empty()) lines[after].lineBreak = br;  // the last line had none
    lines.insert(lines.begin() + std::ptrdiff_t(after) + 1, newLine(key + "=" + value, br, false));
}

bool validName(std::string_view n, bool isKey) {
    if (n.empty()) return false;
    if (isKey && (n.front() == ';' || n.front() == '#')) return false;  // would read as a comment
    return n.find_first_of(std::string_view("[]=\r\n\0", 6)) == std::string_view::npos;
}

}  // namespace

std::string profileString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, std::size_t maxLength,
                          const std::string& file) {
    std::string value;
    if (!lookup(file, section, key, &value)) value = defaultValue;
    if (maxLength == 0) return std::string();
    if (value.size() > maxLength - 1) value.resize(maxLength - 1);
    return value;
}

int profileInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file) {
    std::string value;
    if (!lookup(file, section, key, &value)) return defaultValue;
    std::string_view v = trimmed(value);
    if (v.empty()) return defaultValue;
    bool negative = false;
    if (v.front() == '+' || v.front() == '-') {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    int64_t n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > int64_t(INT_MAX) + 1) {  // saturated; the other digits change nothing
            n = int64_t(INT_MAX) + 1;
        }
    }
    if (negative) return n > int64_t(INT_MAX) ? INT_MIN : int(-n);
    return n > INT_MAX ? INT_MAX : int(n);
}

bool profileFind(const std::string& section, const std::string& key, const std::string& file,
                 std::string* value) {
    return lookup(file, section, key, value);
}

std::vector<ProfileEntry> profileEntries(const std::string& bytes) {
    CSimpleIniA ini;
    std::vector<ProfileEntry> entries;
    if (!parseInto(ini, bytes)) return entries;
    struct Found {
        int order;
        ProfileEntry entry;
    };
    std::vector<Found> found;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto& section : sections) {
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto& key : keys) {
            ProfileEntry e{section.pItem, key.pItem, {}};
            if (!valueOf(ini, section.pItem, key.pItem, &e.value)) continue;
            // A key of a repeated section keeps its place in the file.
            CSimpleIniA::TNamesDepend values;
            ini.GetAllValues(section.pItem, key.pItem, values);
            int order = INT_MAX;
            for (const auto& v : values) order = std::min(order, v.nOrder);
            found.push_back({order, std::move(e)});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.order < b.order; });
    for (Found& f : found) entries.push_back(std::move(f.entry));
    return entries;
}

ProfileFile profileRead(const std::string& file, std::vector<ProfileEntry>* entries) {
    entries->clear();
    std::string bytes;
    internal::FileStamp stamp;
    switch (internal::readWholeFile(file, kMaxIniFile, &bytes, &stamp)) {
    case internal::ReadResult::Ok: *entries = profileEntries(bytes); return ProfileFile::Readable;
    case internal::ReadResult::Missing: return file.empty() ? ProfileFile::Unreadable : ProfileFile::Missing;
    default: return ProfileFile::Unreadable;
    }
}

namespace {

// The file's bytes with every entry patched in, in order; false when a name
// or value is refused or the file cannot be read.
bool patchAll(const std::vector<ProfileEntry>& entries, const std::string& file, std::string* out) {
    if (file.empty()) return false;
    std::string bytes;
    internal::FileStamp stamp;
    const internal::ReadResult read = internal::readWholeFile(file, kMaxIniFile, &bytes, &stamp);
    if (read != internal::ReadResult::Ok && read != internal::ReadResult::Missing) return false;
    // Split once: the lines are patched in place, not the whole file copied
    // for every entry.
    std::string br;
    std::vector<PatchLine> lines = splitLines(bytes, &br);
    for (const ProfileEntry& e : entries) {
        const std::string s = callerName(e.section), k = callerName(e.key);
        if (!validName(s, false) || !validName(k, true)) return false;
        if (e.value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return false;
        patch(lines, br, s, k, e.value);
    }
    out->clear();
    for (const PatchLine& l : lines) *out += l.text + l.lineBreak;
    return true;
}

}  // namespace

bool profileWrite(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file) {
    return profileWriteAll({{section, key, value}}, file);
}

bool profileWriteAll(const std::vector<ProfileEntry>& entries, const std::string& file, bool* written) {
    if (written) *written = false;
    std::lock_guard<std::mutex> lock(cacheMutex());
    cache().erase(file);
    std::string bytes;
    return patchAll(entries, file, &bytes) && internal::replaceFile(file, bytes, written);
}

void profileRemoveLeftovers(const std::string& file) {
    if (!file.empty()) internal::removeStaleTemps(file);
}

bool profileCreate(const std::string& file, const std::string& bytes) {
    std::lock_guard<std::mutex> lock(cacheMutex());
    cache().erase(file);
    std::string old;
    internal::FileStamp stamp;
    if (file.empty() || internal::readWholeFile(file, kMaxIniFile, &old, &stamp) != internal::ReadResult::Missing)
        return false;
    return internal::replaceFile(file, bytes);
}

}  // namespace plat
