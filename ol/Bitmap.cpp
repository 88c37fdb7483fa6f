// Loading pictures into textures, and letting them go.
#include "ol/Bitmap.h"

#include "ol/OpenGl.h"

#include "ol/GarbageCollector.h"
#include "ol/GlDriver.h"
#include "ol/LayerLog.h"
#include "ol/LayerState.h"

namespace ol {

// A load asked for before the screen was open; run when it opens.
struct PendingFileLoad {
    std::string filename;
};

Bitmap::Bitmap()
{
    RegisterToCollector();
}

Bitmap::Bitmap(const std::string& file, int flags)
{
    RegisterToCollector();
    Load(file.c_str(), flags);
}

Bitmap::~Bitmap()
{
    Destroy(true);
}

bool Bitmap::Load(const char* file, int /*flags: collision polygons are never asked for*/)
{
    const std::string name = file ? file : "";
    LayerState& layer = Layer();
    if (layer.exitCleanupDone)
        return false;
    if (!layer.screenSetUp) {
        Driver().Message("Loading queued for bitmap: " + name + "\n");
        delete queuedLoad;
        queuedLoad = new PendingFileLoad{name};
        return true;
    }
    GlDriver& driver = Driver();
    const std::string path = driver.ToAbsolutePathname(name);
    WriteLog("Loading bitmap: " + name);
    BITMAP* loaded = name.empty() ? nullptr : driver.LoadMemoryBitmap(path);
    if (!loaded) {
        WriteError("No such bitmap!");
        return false;
    }
    if (memoryBitmap && ownsMemoryBitmap)
        driver.DestroyMemoryBitmap(memoryBitmap);
    memoryBitmap = loaded;

    // A picture without any alpha information is drawn fully opaque; one
    // with alpha anywhere keeps it exactly. No colour is see-through.
    madeOpaque = !driver.HasAlpha(memoryBitmap);
    if (madeOpaque)
        memoryBitmap = driver.MakeOpaque(memoryBitmap);
    if (pivotFollowsCentre) {
        pivotX = static_cast<float>(driver.BitmapWidth(memoryBitmap) / 2);
        pivotY = static_cast<float>(driver.BitmapHeight(memoryBitmap) / 2);
    }
    SendToGraphicsCard();
    return IsValid();
}

int Bitmap::Width() const
{
    return texture.imageWidth;
}

int Bitmap::Height() const
{
    return texture.imageHeight;
}

void Bitmap::SendToGraphicsCard()
{
    if (!memoryBitmap) {
        WriteError("Cannot send the Bitmap to the graphics card without any memory bitmap "
                   "content!");
        return;
    }
    if (!GlReady())
        return;
    if (texture.name != 0 && !sharedTexture) {
        GLuint name = texture.name;
        glDeleteTextures(1, &name);
    }
    texture = Driver().UploadTexture(memoryBitmap);
    if (texture.name != 0) {
        const GLint filter = Layer().antialiasing ? GL_LINEAR : GL_NEAREST;
        glBindTexture(GL_TEXTURE_2D, texture.name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    }
    if (ownsMemoryBitmap) {
        Driver().DestroyMemoryBitmap(memoryBitmap);
        memoryBitmap = nullptr;
    }
}

void Bitmap::Destroy(bool eraseFromCollector)
{
    // After the exit clean-up the GL context and Allegro are gone: the
    // clean-up has already released everything there was.
    const bool mayRelease = !Layer().exitCleanupDone;
    if (texture.name != 0 && !sharedTexture && mayRelease && GlReady()) {
        GLuint name = texture.name;
        glDeleteTextures(1, &name);
    }
    texture = OlTextureInfo();
    if (memoryBitmap && ownsMemoryBitmap && mayRelease)
        Driver().DestroyMemoryBitmap(memoryBitmap);
    memoryBitmap = nullptr;
    delete queuedLoad;
    queuedLoad = nullptr;
    if (eraseFromCollector)
        GarbageCollector::Unregister(this);
}

OlLoadResult Bitmap::ExecuteQueuedLoad()
{
    if (!queuedLoad)
        return OL_LOAD_DONE;
    const std::string name = queuedLoad->filename;
    delete queuedLoad;
    queuedLoad = nullptr;
    return Load(name.c_str(), 0) ? OL_LOAD_DONE : OL_LOAD_FAILED;
}

bool Bitmap::IsValid() const
{
    return texture.name != 0;
}

bool Bitmap::HasQueuedLoad() const
{
    return queuedLoad != nullptr;
}

void Bitmap::RegisterToCollector()
{
    GarbageCollector::Register(this);
}

}  // namespace ol
