// Sample and music playback (the stand-in for the game's audio library).
//
// 64 channels: samples play on the channel the caller names; music streams
// are separate but also addressed by a channel number. Every call accepts a
// null handle and then does nothing. Without a sound card (or before a
// successful audioInit) every call does nothing and loads return null.
#pragma once

#include <string>

namespace plat {

struct AudioSample;  // opaque
struct AudioStream;  // opaque

constexpr int kAllChannels = -3;

// Opens the sound device at the mixing rate with the given channel count.
// False when no device could be opened; the game then runs silently.
bool audioInit(int mixRate, int channels);
void audioShutdown();

// Volume 0 (silent) to 255 (full) for one channel, or kAllChannels for every
// channel and the music. Values outside 0..255 are clamped.
void audioSetVolume(int channel, int volume);

// Loads a .wav file. Null when it cannot be decoded.
AudioSample* audioSampleLoad(const std::string& path);
void audioSampleFree(AudioSample* sample);
// Plays the sample once on the channel, cutting off what the channel played.
void audioPlaySound(int channel, AudioSample* sample);

// Opens a music file (.wav) for streaming. Null on failure.
AudioStream* audioStreamOpen(const std::string& path);
void audioStreamSetLoop(AudioStream* stream, bool loop);
// Starts the stream from the beginning (channel is recorded, not mixed on).
void audioStreamPlay(int channel, AudioStream* stream);
void audioStreamStop(AudioStream* stream);
void audioStreamClose(AudioStream* stream);

}  // namespace plat
