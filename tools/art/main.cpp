// emberhaunt_art <outdir>: draws every picture the game ships into outdir
// (the game's own folder) and writes filepaths.cfg, the window icon, and a
// contact sheet of all sprites beside outdir for people to review.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "art/AssetSet.h"
#include "art/ImageFiles.h"
#include "art/Sprites.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argc > 0 ? argv[0] : "emberhaunt_art");
        return 2;
    }
    const std::string out = argv[1];
    // Fail before drawing anything when the folder cannot be had.
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (!std::filesystem::is_directory(out, ec)) {
        std::fprintf(stderr, "emberhaunt_art: cannot create the folder %s\n", out.c_str());
        return 1;
    }
    try {
        art::AssetSet set;
        art::addInterface(set);
        art::addScreens(set);
        art::addItems(set);
        art::addEffects(set);
        art::addPlayers(set);
        art::addHumanoidEnemies(set);
        art::addCreatureEnemies(set);
        art::addDragon(set);
        art::addTiles(set);
        art::addAudio(set);

        std::string error;
        if (!set.write(out, art::makeIcon(), &error)) {
            std::fprintf(stderr, "emberhaunt_art: %s\n", error.c_str());
            return 1;
        }
        std::filesystem::path sheet = std::filesystem::path(out).parent_path() / "contact-sheet.bmp";
        if (std::filesystem::path(out).has_parent_path() &&
            !art::writeFileIfChanged(sheet.string(), art::encodeBmp(set.contactSheet()))) {
            std::fprintf(stderr, "emberhaunt_art: cannot write %s\n", sheet.string().c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "emberhaunt_art: %s\n", e.what());
        return 1;
    }
    return 0;
}
