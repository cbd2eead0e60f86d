// The config.cfg the game ships with, built into the program from the file
// in data/ so that a missing or damaged copy beside the executable can be
// restored or completed from it.
#pragma once

#include <string_view>

std::string_view shippedConfig();
