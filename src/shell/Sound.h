// Sound and music: nine small wrappers over the platform's audio. Samples
// play fire-and-forget on channels 0 to 62 in rotation; music streams always
// take channel 63. With audioOn false every wrapper returns at once and
// loads hand out null handles.
#pragma once

#include <string>

#include "platform/Audio.h"

using SampleHandle = plat::AudioSample*;
using StreamHandle = plat::AudioStream*;

constexpr int kAudioChannels = 64;
constexpr int kSampleChannels = 63;  // 0..62 rotate among samples
constexpr int kMusicChannel = 63;

extern bool audioOn;
extern int currentVolume;      // 0 (silent) to 255 (full)
extern int nextSampleChannel;  // 0..62

void initAudio();
// Stores the volume even while audio is off, so it applies once sounds play.
void setGlobalVolume(int volume);
SampleHandle loadSample(const std::string& file);
void freeSample(SampleHandle sample);
void playSample(SampleHandle sample);
StreamHandle openMusicStream(const std::string& file);
void playMusicStream(StreamHandle stream, bool loop);
void stopMusicStream(StreamHandle stream);
void closeMusicStream(StreamHandle stream);
