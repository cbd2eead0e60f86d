#include "shell/Sound.h"

bool audioOn = true;
int currentVolume = 0;
int nextSampleChannel = 0;

void initAudio() {
    if (!audioOn) return;
    // A machine without a sound card simply runs silent.
    plat::audioInit(44100, kAudioChannels);
}

void setGlobalVolume(int volume) {
    currentVolume = volume;
    if (!audioOn) return;
    plat::audioSetVolume(plat::kAllChannels, currentVolume);
}

SampleHandle loadSample(const std::string& file) {
    if (!audioOn) return nullptr;
    return plat::audioSampleLoad(file);
}

void freeSample(SampleHandle sample) {
    if (!audioOn) return;
    plat::audioSampleFree(sample);
}

void playSample(SampleHandle sample) {
    if (!audioOn) return;
    plat::audioPlaySound(nextSampleChannel, sample);
    // The new sound must play at the game's volume, not the channel's last.
    plat::audioSetVolume(plat::kAllChannels, currentVolume);
    ++nextSampleChannel;
    if (nextSampleChannel >= kSampleChannels || nextSampleChannel < 0) nextSampleChannel = 0;
}

StreamHandle openMusicStream(const std::string& file) {
    if (!audioOn) return nullptr;
    return plat::audioStreamOpen(file);
}

void playMusicStream(StreamHandle stream, bool loop) {
    if (!audioOn) return;
    plat::audioStreamSetLoop(stream, loop);
    plat::audioStreamPlay(kMusicChannel, stream);
    plat::audioSetVolume(plat::kAllChannels, currentVolume);
}

void stopMusicStream(StreamHandle stream) {
    if (!audioOn) return;
    plat::audioStreamStop(stream);
}

void closeMusicStream(StreamHandle stream) {
    if (!audioOn) return;
    plat::audioStreamClose(stream);
}
