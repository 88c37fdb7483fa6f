// The registry of every resource the layer releases at process exit.
#pragma once

#include <cstddef>
#include <vector>

#include "ol/Bitmap.h"

namespace ol {

class GarbageCollector {
public:
    static void Register(GarbageCollected* resource);
    // Leaving the registry twice (or after the exit clean-up) does nothing.
    static void Unregister(GarbageCollected* resource);
    static std::size_t Count();
    static std::vector<GarbageCollected*> Snapshot();
    // Destroys every resource and empties the registry (exit clean-up).
    static void DestroyAll();
};

}  // namespace ol
