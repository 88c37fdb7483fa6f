// The game names its files with backslashes, the way its platform of origin
// writes them; this is the one place they become the running system's paths.
#pragma once

#include <string>

namespace ol {

std::string NativePath(const std::string& gameName);

}  // namespace ol
