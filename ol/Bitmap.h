// The layer's image: a picture file read with Allegro, held as an OpenGL
// texture and drawn as a stretched, textured quad.
#pragma once

#include <string>

#include "ol/RenderModes.h"

struct BITMAP;

namespace ol {

// What a queued load reports to the loader run when the screen opens.
enum OlLoadResult { OL_LOAD_DONE = 0, OL_LOAD_NOT_YET = 1, OL_LOAD_FAILED = 2 };

// Every resource the layer must release at process exit registers itself in
// the registry. A resource owns GL objects: it is neither copied nor moved.
class GarbageCollected {
public:
    GarbageCollected() = default;
    virtual ~GarbageCollected() = default;
    GarbageCollected(const GarbageCollected&) = delete;
    GarbageCollected& operator=(const GarbageCollected&) = delete;
    GarbageCollected(GarbageCollected&&) = delete;
    GarbageCollected& operator=(GarbageCollected&&) = delete;

    virtual void Destroy(bool eraseFromCollector) = 0;
    virtual OlLoadResult ExecuteQueuedLoad() = 0;
    virtual void SendToGraphicsCard() = 0;
    virtual bool IsValid() const = 0;
    virtual bool HasQueuedLoad() const = 0;
    virtual void RegisterToCollector() = 0;

    // True for resources the registry deletes itself; bitmaps are not.
    bool deletedByRegistry = false;
};

// The texture of a bitmap. GLenum and GLuint are unsigned int.
struct OlTextureInfo {
    unsigned int format = 0;
    unsigned int name = 0;  // 0: no texture
    int textureWidth = 0, textureHeight = 0;
    int imageWidth = 0, imageHeight = 0;
    int uploadedWidth = 0, uploadedHeight = 0;
    float widthRatio = 0.0f, heightRatio = 0.0f;
    float s0 = 0.0f, t0 = 0.0f, sExtent = 0.0f, tExtent = 0.0f;
};

struct PendingFileLoad;

class Bitmap : public GarbageCollected {
public:
    Bitmap();
    // Loads at once; the result is only logged.
    Bitmap(const std::string& file, int flags);
    ~Bitmap() override;

    // Reads the picture (relative names against the executable's directory)
    // and uploads it. Before the screen is open the load is queued.
    bool Load(const char* file, int flags);
    int Width() const;
    int Height() const;

    // Draws the picture upright with its top-left pixel at (x, y), stretched
    // to width x height. An empty bitmap draws nothing.
    void BlitStretched(float x, float y, float width, float height, float opacity) const;
    void BlitStretched(float x, float y, float width, float height, const RenderMode& mode,
                       float opacity) const;

    void Destroy(bool eraseFromCollector) override;
    OlLoadResult ExecuteQueuedLoad() override;
    void SendToGraphicsCard() override;
    bool IsValid() const override;
    bool HasQueuedLoad() const override;
    void RegisterToCollector() override;

    // The texture record, for callers that inspect what was uploaded.
    const OlTextureInfo& TextureInfo() const
    {
        return texture;
    }

private:
    OlTextureInfo texture;
    BITMAP* memoryBitmap = nullptr;
    bool ownsMemoryBitmap = true;
    PendingFileLoad* queuedLoad = nullptr;
    float pivotX = 0.0f, pivotY = 0.0f;
    bool pivotFollowsCentre = true;
    bool sharedTexture = false;
    bool madeOpaque = false;
};

}  // namespace ol
