#include "art/AssetSet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>
#include <stdexcept>

#include "art/ImageFiles.h"

namespace art {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

Section& Section::with(const std::string& key, int value) {
    keys.emplace_back(key, std::to_string(value));
    return *this;
}

const Section* AssetSet::find(const std::string& name) const {
    std::string l = lower(name);
    for (const Section& s : sections_)
        if (lower(s.name) == l) return &s;
    return nullptr;
}

Section& AssetSet::add(const std::string& name, const std::string& folder, const std::vector<Image>& frames,
                       bool sprite) {
    if (frames.empty()) throw std::logic_error("section " + name + " has no frames");
    if (find(name)) throw std::logic_error("section " + name + " is defined twice");
    Section s;
    s.name = name;
    s.width = frames[0].width();
    s.height = frames[0].height();
    s.sprite = sprite;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].width() != s.width || frames[i].height() != s.height)
            throw std::logic_error("section " + name + " mixes frame sizes");
        // a single picture is name.bmp, frames are name1.bmp, name2.bmp ...
        std::string file = "assets/img/" + folder + "/" + lower(name) +
                           (frames.size() == 1 ? std::string() : std::to_string(i + 1)) + ".bmp";
        for (const auto& f : files_)
            if (f.first == file) throw std::logic_error("file " + file + " is written twice");
        files_.emplace_back(file, frames[i]);
        s.files.push_back(file);
    }
    sections_.push_back(std::move(s));
    return sections_.back();
}

void AssetSet::addAudio(const std::string& name, const std::string& path) { audio_.emplace_back(name, path); }

std::string AssetSet::filePathsText() const {
    std::string out;
    out += "; Emberhaunt: where every picture, animation, sample and music track lives.\n";
    out += "; Written by the art generator (tools/art); paths are relative to this file.\n";
    for (const Section& s : sections_) {
        out += "\n[" + s.name + "]\n";
        out += "frameCount=" + std::to_string(s.files.size()) + "\n";
        for (size_t i = 0; i < s.files.size(); ++i) out += "frame" + std::to_string(i + 1) + "=" + s.files[i] + "\n";
        out += "width=" + std::to_string(s.width) + "\n";
        out += "height=" + std::to_string(s.height) + "\n";
        for (const auto& k : s.keys) out += k.first + "=" + k.second + "\n";
    }
    out += "\n[audio]\n";
    for (const auto& a : audio_) out += a.first + "=" + a.second + "\n";
    return out;
}

bool AssetSet::write(const std::string& outDir, const Image& icon, std::string* error) const {
    auto fail = [&](const std::string& what) {
        if (error) *error = "cannot write " + what;
        return false;
    };
    for (const auto& f : files_) {
        std::string path = outDir + "/" + f.first;
        if (!writeFileIfChanged(path, encodeBmp(f.second))) return fail(path);
    }
    // Pictures left by an earlier version of the set would only mislead.
    std::error_code ec;
    std::set<std::string> ours;
    for (const auto& f : files_) ours.insert(f.first);
    const std::filesystem::path root = std::filesystem::path(outDir) / "assets" / "img";
    std::vector<std::filesystem::path> stale;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec); !ec && it != std::filesystem::end(it);
         it.increment(ec)) {
        if (!it->is_regular_file(ec) || it->path().extension() != ".bmp") continue;
        std::string rel = "assets/img/" + std::filesystem::relative(it->path(), root, ec).generic_string();
        if (!ours.count(rel)) stale.push_back(it->path());
    }
    for (const auto& p : stale) std::filesystem::remove(p, ec);
    std::string ico = outDir + "/Emberhaunt.ico";
    if (!writeFileIfChanged(ico, encodeIco(icon))) return fail(ico);
    std::string text = filePathsText();
    std::string cfg = outDir + "/filepaths.cfg";
    if (!writeFileIfChanged(cfg, std::vector<unsigned char>(text.begin(), text.end()))) return fail(cfg);
    return true;
}

Image AssetSet::contactSheet() const {
    const int scale = 2, gap = 4, sheetW = 1280;
    const Colour ca = rgb(58, 56, 66), cb = rgb(74, 72, 84), bg = rgb(30, 28, 36);

    struct Block {
        const Section* s;
        int w, h;
    };
    std::vector<Block> small, big;
    for (const Section& s : sections_) {
        int fw = s.width * scale, fh = s.height * scale;
        if (s.sprite && s.width <= 64 && s.height <= 64)
            small.push_back({&s, int(s.files.size()) * (fw + 2) + gap, fh + gap});
        else
            big.push_back({&s, 0, 0});
    }

    // Lay out the small sections in flowing rows, then the large images
    // (screens, strips) at a quarter or at full size, in rows of their own.
    struct Place {
        const Section* s;
        int x, y, scaleNum, scaleDen;
    };
    std::vector<Place> places;
    int x = gap, y = gap, rowH = 0;
    for (const Block& b : small) {
        if (x + b.w > sheetW) x = gap, y += rowH, rowH = 0;
        places.push_back({b.s, x, y, scale, 1});
        x += b.w;
        rowH = std::max(rowH, b.h);
    }
    x = gap, y += rowH + 4 * gap, rowH = 0;
    for (const Block& b : big) {
        const Section& s = *b.s;
        int num = 1, den = (s.width >= 320 && s.height >= 240) ? 4 : 1;
        int w = int(s.files.size()) * (s.width * num / den + 2) + gap, h = s.height * num / den + gap;
        if (x + w > sheetW) x = gap, y += rowH, rowH = 0;
        places.push_back({&s, x, y, num, den});
        x += w;
        rowH = std::max(rowH, h);
    }
    int sheetH = y + rowH + gap;

    std::map<std::string, const Image*> byFile;
    for (const auto& f : files_) byFile[f.first] = &f.second;
    Image sheet(sheetW, sheetH, bg);
    for (const Place& p : places) {
        int px = p.x;
        for (const std::string& f : p.s->files) {
            auto found = byFile.find(f);
            const Image* img = found == byFile.end() ? nullptr : found->second;
            if (!img) continue;
            Image shown = *img;
            if (p.scaleNum > 1) shown = shown.scaled(p.scaleNum);
            for (int d = p.scaleDen; d > 1; d /= 2) shown = shown.halved();
            for (int yy = 0; yy < shown.height(); ++yy)
                for (int xx = 0; xx < shown.width(); ++xx) {
                    Colour c = shown.at(xx, yy);
                    if (c == kKey) c = (((xx / 8) + (yy / 8)) & 1) ? ca : cb;
                    sheet.set(px + xx, p.y + yy, c);
                }
            px += shown.width() + 2;
        }
    }
    return sheet;
}

}  // namespace art
