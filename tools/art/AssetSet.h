// Everything the generator produces, collected before anything is written:
// the sections of filepaths.cfg with their frames and keys, the audio map,
// and the images behind them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "art/Image.h"

namespace art {

struct Section {
    std::string name;
    std::vector<std::string> files;  // relative to the output folder
    int width = 0, height = 0;
    std::vector<std::pair<std::string, std::string>> keys;  // further keys, in file order
    bool sprite = true;  // shown on the contact sheet at full size

    Section& with(const std::string& key, int value);
};

class AssetSet {
public:
    // A section whose frames are written as
    // assets/img/<folder>/<name in lower case><n>.bmp (without n for a
    // single picture). Every frame must have
    // the size of the first. Throws std::logic_error on an empty frame list,
    // mixed sizes or a name used twice (names compare without case).
    Section& add(const std::string& name, const std::string& folder, const std::vector<Image>& frames,
                 bool sprite = true);
    Section& add(const std::string& name, const std::string& folder, const Image& single, bool sprite = true) {
        return add(name, folder, std::vector<Image>{single}, sprite);
    }

    void addAudio(const std::string& name, const std::string& path);

    // Writes every image, Emberhaunt.ico and filepaths.cfg under outDir.
    // False with a reason on the first failure.
    bool write(const std::string& outDir, const Image& icon, std::string* error) const;

    std::string filePathsText() const;

    // Every sprite section as a row of frames on a checkerboard, doubled in
    // size, then the screens at a quarter of their size.
    Image contactSheet() const;

    const std::vector<Section>& sections() const { return sections_; }
    const Section* find(const std::string& name) const;

private:
    std::vector<Section> sections_;
    std::vector<std::pair<std::string, Image>> files_;
    std::vector<std::pair<std::string, std::string>> audio_;
};

}  // namespace art
