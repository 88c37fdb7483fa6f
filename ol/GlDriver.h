// The layer's one door to Allegro and AllegroGL. The rest of the layer calls
// only this driver and OpenGL.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ol/Bitmap.h"
#include "ol/Color.h"

namespace ol {

class GlDriver {
public:
    GlDriver() = default;
    virtual ~GlDriver() = default;
    GlDriver(const GlDriver&) = delete;
    GlDriver& operator=(const GlDriver&) = delete;

    // False when Allegro or AllegroGL could not be started.
    virtual bool InitLibraries(bool keyboard, bool mouse, bool timer) = 0;
    virtual bool OpenScreen(int width, int height, bool fullscreen, int colorDepth, int zDepth,
                            int refreshRate) = 0;
    virtual OlTextureInfo UploadTexture(BITMAP* bitmap) = 0;
    // RGBA bytes, rows from the top of the picture.
    virtual OlTextureInfo UploadRawTexture(const unsigned char* rgba, int width, int height) = 0;
    virtual BITMAP* GetMemoryBitmap(int width, int height, int bytesPerPixel,
                                    const unsigned char* pixels) = 0;
    virtual int GetColorDepth(BITMAP* bitmap) = 0;
    virtual bool SaveMemoryBitmap(BITMAP* bitmap, const std::string& filename) = 0;
    virtual void DestroyMemoryBitmap(BITMAP* bitmap) = 0;
    virtual Color GetPixel(BITMAP* bitmap, int x, int y) = 0;
    virtual std::string GetExecutablePath() = 0;
    virtual std::string ToAbsolutePathname(const std::string& filename) = 0;

    // Reads a picture file as a 32-bit memory bitmap (null when unreadable).
    virtual BITMAP* LoadMemoryBitmap(const std::string& path) = 0;
    // True when some pixel of a 32-bit bitmap has a non-zero alpha byte.
    virtual bool HasAlpha(BITMAP* bitmap) = 0;
    // The same picture at 32 bits with alpha 255 everywhere; frees the old one.
    virtual BITMAP* MakeOpaque(BITMAP* bitmap) = 0;
    virtual int BitmapWidth(BITMAP* bitmap) = 0;
    virtual int BitmapHeight(BITMAP* bitmap) = 0;
    virtual void RegisterPngType() = 0;
    virtual void Message(const std::string& text) = 0;
    virtual int ScreenWidth() = 0;
    virtual int ScreenHeight() = 0;
    virtual void FlipBuffers() = 0;
};

GlDriver& Driver();

// Texture sizes, kept apart from GL so that every layout can be checked.
std::size_t NextPowerOfTwo(std::size_t side);
// Whether a blank-separated extension list names the extension as a word.
bool HasExtension(const char* extensionList, const std::string& name);
// The texel block for GL: the picture upside down in the top rows, with the
// column right of it and the row below it repeating its edge pixels.
std::vector<unsigned char> ArrangeTexels(const unsigned char* rgba, int width, int height,
                                         std::size_t textureWidth, std::size_t textureHeight);
OlTextureInfo MakeTextureInfo(unsigned int name, int width, int height, int textureWidth,
                              int textureHeight);
// The texture size for a picture on this GL (padded to powers of two when
// the extension is missing). False when a side exceeds GL's limit.
bool ChooseTextureSize(int width, int height, std::size_t& textureWidth,
                       std::size_t& textureHeight);

}  // namespace ol
