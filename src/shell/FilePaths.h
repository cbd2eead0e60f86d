// Readers of filepaths.cfg, the map from every image, animation, sample and
// music name to its files and sizes. Queried key by key whenever a resource
// is loaded; nothing is kept between calls.
//
// File values (frame files, and everything getPathString reads: the audio
// paths) that are relative are returned joined to the folder that holds
// filepaths.cfg, so the game finds its files from any working directory.
// Absolute values come back as written; a missing key gives exactly "00"
// (which then fails to load like any other missing file).
#pragma once

#include <string>

// Full path of filepaths.cfg; set by loadConfig (beside the executable).
extern std::string filePathsPath;

// `frameCount` of the section, -1 when missing.
int getFrameCount(const char* section);

// The file of frame n (key "frame" + n, counted from 1), "00" when the key is
// missing, at most 254 characters. Empty when n is greater than the
// section's frameCount (a missing frameCount counts as 1 here).
std::string getFrameFile(const char* section, int n);

// `width`, `height`, `xpos`, `ypos` of the section, -1 when missing.
int getWidth(const char* section);
int getHeight(const char* section);
int getXPos(const char* section);
int getYPos(const char* section);

// Any key as a path (resolved as above; "00" when missing, at most 254
// characters as written in the file) or as an integer (-1 when missing).
std::string getPathString(const char* section, const char* key);
int getPathInt(const char* section, const char* key);
