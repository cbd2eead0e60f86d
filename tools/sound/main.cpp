// emberhaunt_sound <outdir>: synthesises every sample into <outdir>/assets/sfx
// and every music loop into <outdir>/assets/music, as 16-bit mono .wav files.
//
// Each sound is built from its own fixed seeds and shares nothing with the
// others, so they are rendered side by side on worker threads; the files
// come out byte for byte the same whatever the order of the work.
#include <exception>
#include <filesystem>
#include <future>
#include <iostream>
#include <string>
#include <vector>

#include "sound/Jingles.h"
#include "sound/SongBook.h"
#include "sound/SoundEffects.h"
#include "sound/WavWriter.h"

namespace fs = std::filesystem;

namespace {

struct Job {
    fs::path file;
    std::future<SampleBuffer> sound;
};

void queue(std::vector<Job>& jobs, const fs::path& dir, const std::vector<std::string>& names,
           SampleBuffer (*make)(const std::string&)) {
    for (const std::string& name : names)
        jobs.push_back({dir / (name + ".wav"), std::async(std::launch::async, make, name)});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: emberhaunt_sound <output folder>\n";
        return 2;
    }
    const fs::path out(argv[1]);
    const fs::path sfx = out / "assets" / "sfx";
    const fs::path music = out / "assets" / "music";
    std::vector<Job> jobs;
    int failures = 0;
    try {
        fs::create_directories(sfx);
        fs::create_directories(music);
        // The long music loops first, so that they start on the threads early.
        queue(jobs, music, SongBook::names(), &SongBook::make);
        queue(jobs, sfx, SoundEffects::names(), &SoundEffects::make);
        queue(jobs, sfx, Jingles::names(), &Jingles::make);
    } catch (const std::exception& e) {
        std::cerr << "emberhaunt_sound: " << e.what() << "\n";
        failures = 1;
    }
    // Every started job is waited for, also after a failure.
    for (Job& job : jobs) {
        try {
            const SampleBuffer sound = job.sound.get();
            if (!WavWriter::write(job.file.string(), sound)) {
                std::cerr << "emberhaunt_sound: cannot write " << job.file.string() << "\n";
                ++failures;
            }
        } catch (const std::exception& e) {
            std::cerr << "emberhaunt_sound: " << job.file.filename().string() << ": " << e.what()
                      << "\n";
            ++failures;
        }
    }
    if (failures > 0) return 1;
    std::cout << "emberhaunt_sound: " << jobs.size() << " files in " << out.string() << "\n";
    return 0;
}
