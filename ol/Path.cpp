#include "ol/Path.h"

#include <algorithm>

namespace ol {

std::string NativePath(const std::string& gameName)
{
#ifdef _WIN32
    return gameName;  // Windows reads the names as the game writes them
#else
    std::string path = gameName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
#endif
}

}  // namespace ol
