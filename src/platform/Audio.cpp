#include "platform/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <set>

#include "platform/IniFileIo.h"
#include "platform/InternalState.h"

namespace plat {

struct AudioSample {
    std::string path;
    Mix_Chunk* chunk = nullptr;
};

struct AudioStream {
    std::string path;
    Mix_Music* music = nullptr;
    bool loop = false;
    int channel = -1;
};

namespace {

using internal::hs;
using internal::onSdl;

struct Globals {
    bool started = false;
    int channelCount = 0;
    // Handles handed out and not yet freed: a stale or foreign pointer is
    // ignored instead of being freed twice.
    std::set<AudioSample*> samples;
    std::set<AudioStream*> streams;
    AudioStream* playing = nullptr;
};

// Never destroyed: owners destroyed at exit may still free their handles.
Globals& g() {
    static Globals* globals = new Globals;
    return *globals;
}

void record(const std::string& line) {
    if (!onSdl()) hs().audioLog.push_back(line);
}

std::string nameOf(AudioSample* s) {
    if (!s) return "null";
    return g().samples.count(s) ? s->path : "stale";
}
std::string nameOf(AudioStream* s) {
    if (!s) return "null";
    return g().streams.count(s) ? s->path : "stale";
}

bool isFile(const std::string& path) {
    internal::FileStamp stamp;
    return internal::statFile(path, &stamp);
}

// Our 0..255 volume on SDL_mixer's 0..128 scale, full mapping to full.
int mixerVolume(int volume) { return (volume * MIX_MAX_VOLUME + 127) / 255; }

void releaseMixerData() {
    for (AudioSample* s : g().samples) {
        if (s->chunk) Mix_FreeChunk(s->chunk);
        s->chunk = nullptr;
    }
    for (AudioStream* s : g().streams) {
        if (s->music) Mix_FreeMusic(s->music);
        s->music = nullptr;
    }
}

}  // namespace

namespace internal {

void resetAudioState() {
    audioShutdown();
    // Handles that callers still hold are released here; freeing one later
    // is ignored, since it is no longer known.
    for (AudioSample* s : g().samples) delete s;
    for (AudioStream* s : g().streams) delete s;
    g().samples.clear();
    g().streams.clear();
}

}  // namespace internal

bool audioInit(int mixRate, int channels) {
    if (g().started) audioShutdown();
    record("init " + std::to_string(mixRate) + " " + std::to_string(channels));
    if (mixRate < 1 || channels < 1) return false;
    if (!onSdl()) {
        g().started = !hs().failAudio;
        g().channelCount = g().started ? channels : 0;
        return g().started;
    }
    if (!internal::sdlAudio()) return false;
    if (Mix_OpenAudio(mixRate, MIX_DEFAULT_FORMAT, 2, 1024) != 0) return false;
    g().channelCount = Mix_AllocateChannels(channels);
    g().started = true;
    return true;
}

void audioShutdown() {
    if (!g().started) return;
    record("shutdown");
    if (onSdl()) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        releaseMixerData();
        Mix_CloseAudio();
    }
    g().started = false;
    g().channelCount = 0;
    g().playing = nullptr;
}

void audioSetVolume(int channel, int volume) {
    volume = std::clamp(volume, 0, 255);
    record("volume " + std::to_string(channel) + " " + std::to_string(volume));
    if (!g().started || !onSdl()) return;
    if (channel == kAllChannels) {
        Mix_Volume(-1, mixerVolume(volume));
        Mix_VolumeMusic(mixerVolume(volume));
    } else if (channel >= 0 && channel < g().channelCount) {
        Mix_Volume(channel, mixerVolume(volume));
    }
}

AudioSample* audioSampleLoad(const std::string& path) {
    record("load " + path);
    if (!g().started) return nullptr;
    auto* s = new AudioSample{path};
    if (onSdl()) {
        s->chunk = Mix_LoadWAV(path.c_str());
        if (!s->chunk) {
            delete s;
            return nullptr;
        }
    } else if (!isFile(path)) {
        delete s;
        return nullptr;
    }
    g().samples.insert(s);
    return s;
}

void audioSampleFree(AudioSample* sample) {
    record("free " + nameOf(sample));
    if (!sample || g().samples.erase(sample) == 0) return;
    if (sample->chunk) Mix_FreeChunk(sample->chunk);  // halts the channels playing it
    delete sample;
}

void audioPlaySound(int channel, AudioSample* sample) {
    record("play " + std::to_string(channel) + " " + nameOf(sample));
    if (!g().started || !sample || !g().samples.count(sample) || !sample->chunk) return;
    if (channel < 0 || channel >= g().channelCount) return;
    Mix_PlayChannel(channel, sample->chunk, 0);
}

AudioStream* audioStreamOpen(const std::string& path) {
    record("open " + path);
    if (!g().started) return nullptr;
    auto* s = new AudioStream{path};
    if (onSdl()) {
        s->music = Mix_LoadMUS(path.c_str());
        if (!s->music) {
            delete s;
            return nullptr;
        }
    } else if (!isFile(path)) {
        delete s;
        return nullptr;
    }
    g().streams.insert(s);
    return s;
}

void audioStreamSetLoop(AudioStream* stream, bool loop) {
    record("loop " + nameOf(stream) + (loop ? " 1" : " 0"));
    if (stream && g().streams.count(stream)) stream->loop = loop;
}

void audioStreamPlay(int channel, AudioStream* stream) {
    record("stream " + std::to_string(channel) + " " + nameOf(stream));
    if (!g().started || !stream || !g().streams.count(stream)) return;
    stream->channel = channel;
    g().playing = stream;
    // SDL_mixer has one music slot: starting a stream replaces the one playing.
    if (stream->music) Mix_PlayMusic(stream->music, stream->loop ? -1 : 1);
}

void audioStreamStop(AudioStream* stream) {
    record("stop " + nameOf(stream));
    if (!g().started || !stream || stream != g().playing) return;
    if (stream->music) Mix_HaltMusic();
    g().playing = nullptr;
}

void audioStreamClose(AudioStream* stream) {
    record("close " + nameOf(stream));
    if (!stream || g().streams.erase(stream) == 0) return;
    if (stream == g().playing) {
        if (stream->music) Mix_HaltMusic();
        g().playing = nullptr;
    }
    if (stream->music) Mix_FreeMusic(stream->music);
    delete stream;
}

}  // namespace plat
