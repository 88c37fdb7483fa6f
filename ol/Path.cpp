#include "ol/Path.h"

#include <algorithm>

namespace ol {

std::string NativePath(const std::string& gameName)
{
    std::string path = gameName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace ol
