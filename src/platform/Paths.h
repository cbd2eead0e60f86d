// Where the running program lives.
#pragma once

#include <string>

namespace plat {

// Full path of the running executable, of any length. Empty when the system
// will not say.
std::string executablePath();

// The executable's folder, without a trailing separator ("/" for the root).
std::string executableDir();

}  // namespace plat
