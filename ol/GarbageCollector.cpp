#include "ol/GarbageCollector.h"

#include <algorithm>
#include <string>

#include "ol/LayerLog.h"

namespace ol {

namespace {

// Made on first use, because the game state's bitmaps register during static
// construction; never destroyed, because they leave it in static destruction.
std::vector<GarbageCollected*>& Registry()
{
    static std::vector<GarbageCollected*>* registry = new std::vector<GarbageCollected*>;
    return *registry;
}

}  // namespace

void GarbageCollector::Register(GarbageCollected* resource)
{
    Registry().push_back(resource);
}

void GarbageCollector::Unregister(GarbageCollected* resource)
{
    std::vector<GarbageCollected*>& registry = Registry();
    auto found = std::find(registry.begin(), registry.end(), resource);
    if (found != registry.end())
        registry.erase(found);
}

std::size_t GarbageCollector::Count()
{
    return Registry().size();
}

std::vector<GarbageCollected*> GarbageCollector::Snapshot()
{
    return Registry();
}

void GarbageCollector::DestroyAll()
{
    std::vector<GarbageCollected*> resources;
    resources.swap(Registry());
    WriteLog("\nGarbage Collector: Destroying " + std::to_string(resources.size()) + " items");
    for (GarbageCollected* resource : resources) {
        resource->Destroy(false);
        if (resource->deletedByRegistry)
            delete resource;
    }
    WriteLog("Garbace Collector: Completed\n");
}

}  // namespace ol
