// Everything the layer asks of Allegro, AllegroGL and loadpng.
#include <allegro.h>
#include <alleggl.h>
#include <loadpng.h>

#include <cstdio>
#include <cstring>

#include "ol/GlDriver.h"
#include "ol/LayerLog.h"
#include "ol/LayerState.h"
#include "ol/Path.h"

namespace ol {

namespace {

constexpr int kPathLength = 512;
// 8, 15, 16 and 24 bits all come in as 32.
constexpr int kLoadConversion =
    COLORCONV_8_TO_32 | COLORCONV_15_TO_32 | COLORCONV_16_TO_32 | COLORCONV_24_TO_32;

// No GL context exists before the mode is set, so GL cannot be asked for its
// largest viewport; this is software GL's, which no screen here exceeds.
constexpr int kLargestViewport = 16384;
// The game's play screen: anything smaller loses whole rows of it, and a tiny
// window shows nothing, not even the way to the options screen to mend it.
constexpr int kSmallestWidth = 320;
constexpr int kSmallestHeight = 200;

// A size larger than the desktop or the viewport does not fail: the software
// rasteriser crashes on it. Full screen cannot go beyond the desktop either.
bool FitsTheDisplay(int width, int height)
{
    int desktopWidth = 0, desktopHeight = 0;
    if (get_desktop_resolution(&desktopWidth, &desktopHeight) == 0 &&
        (width > desktopWidth || height > desktopHeight))
        return false;
    return width <= kLargestViewport && height <= kLargestViewport;
}

std::string ScreenModeText(int width, int height, bool fullscreen, int colorDepth, int zDepth)
{
    return "Couldn't up the screen! (Width: " + std::to_string(width) +
           ", Height: " + std::to_string(height) + ", " + (fullscreen ? "Fullscreen" : "Windowed") +
           ", Color depth: " + std::to_string(colorDepth) + ", Z Depth: " + std::to_string(zDepth) +
           ")";
}

}  // namespace

class AllegroGLDriver : public GlDriver {
public:
    bool InitLibraries(bool keyboard, bool mouse, bool timer) override
    {
        // The installed headers' own start: a 4.2.1 version check would
        // refuse the 4.4 library that is actually there.
        if (allegro_init() != 0)
            return false;
        if (install_allegro_gl() != 0)
            return false;
        Layer().librariesStarted = true;
        if (keyboard && install_keyboard() != 0)
            return false;
        if ((timer || mouse) && install_timer() != 0)
            return false;
        if (mouse && install_mouse() == -1)
            return false;
        return true;
    }

    bool OpenScreen(int width, int height, bool fullscreen, int colorDepth, int zDepth,
                    int refreshRate) override
    {
        // Allegro that never started crashes when asked for a mode, and a
        // size of 0 or less makes AllegroGL wait for ever.
        if (!Layer().librariesStarted || width < kSmallestWidth || height < kSmallestHeight ||
            !FitsTheDisplay(width, height)) {
            WriteError(ScreenModeText(width, height, fullscreen, colorDepth, zDepth));
            return false;
        }
        allegro_gl_clear_settings();
        allegro_gl_set(AGL_COLOR_DEPTH, colorDepth);
        allegro_gl_set(AGL_DOUBLEBUFFER, 1);
        allegro_gl_set(AGL_Z_DEPTH, zDepth);
        allegro_gl_set(AGL_RENDERMETHOD, 1);
        allegro_gl_set(AGL_WINDOWED, fullscreen ? FALSE : TRUE);
        // Software GL has no 8-bit depth buffer and no render-method match:
        // those two are only wishes.
        allegro_gl_set(AGL_REQUIRE, AGL_COLOR_DEPTH | AGL_DOUBLEBUFFER | AGL_WINDOWED);
        allegro_gl_set(AGL_SUGGEST, AGL_Z_DEPTH | AGL_RENDERMETHOD);
        if (refreshRate > 0)
            request_refresh_rate(refreshRate);
        if (set_gfx_mode(GFX_OPENGL, width, height, 0, 0) == 0)
            return true;
        // Whatever the failed attempt left open goes, so that the next one
        // starts as on a fresh start.
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        WriteError(ScreenModeText(width, height, fullscreen, colorDepth, zDepth));
        return false;
    }

    OlTextureInfo UploadTexture(BITMAP* bitmap) override
    {
        const int w = bitmap->w, h = bitmap->h;
        std::vector<unsigned char> rgba(static_cast<std::size_t>(w) * h * 4);
        unsigned char* out = rgba.data();
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                ReadPixel(bitmap, x, y, out);
                out += 4;
            }
        }
        return UploadRawTexture(rgba.data(), w, h);
    }

    OlTextureInfo UploadRawTexture(const unsigned char* rgba, int width, int height) override
    {
        std::size_t textureWidth = 0, textureHeight = 0;
        if (width <= 0 || height <= 0 ||
            !ChooseTextureSize(width, height, textureWidth, textureHeight))
            return OlTextureInfo();
        std::vector<unsigned char> texels =
            ArrangeTexels(rgba, width, height, textureWidth, textureHeight);
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, static_cast<GLsizei>(textureWidth),
                     static_cast<GLsizei>(textureHeight), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
        return MakeTextureInfo(name, width, height, static_cast<int>(textureWidth),
                               static_cast<int>(textureHeight));
    }

    BITMAP* GetMemoryBitmap(int width, int height, int bytesPerPixel,
                            const unsigned char* pixels) override
    {
        if (bytesPerPixel != 3 && bytesPerPixel != 4) {
            WriteError("Unsupported bpp in GetMemoryBitmap: " + std::to_string(bytesPerPixel));
            return nullptr;
        }
        BITMAP* bitmap = create_bitmap_ex(bytesPerPixel * 8, width, height);
        if (!bitmap)
            return nullptr;
        // GL's rows start at the bottom of the screen; the picture is upright.
        const unsigned char* in = pixels;
        for (int glRow = 0; glRow < height; ++glRow) {
            const int row = height - 1 - glRow;
            for (int x = 0; x < width; ++x) {
                const int colour = bytesPerPixel == 3
                                       ? makecol_depth(24, in[0], in[1], in[2])
                                       : makeacol_depth(32, in[0], in[1], in[2], in[3]);
                putpixel(bitmap, x, row, colour);
                in += bytesPerPixel;
            }
        }
        return bitmap;
    }

    int GetColorDepth(BITMAP* bitmap) override
    {
        return bitmap_color_depth(bitmap);
    }

    bool SaveMemoryBitmap(BITMAP* bitmap, const std::string& filename) override
    {
        return save_bitmap(filename.c_str(), bitmap, nullptr) == 0;
    }

    void DestroyMemoryBitmap(BITMAP* bitmap) override
    {
        if (!bitmap) {
            WriteError("Tried to destroy a NULL BITMAP!");
            return;
        }
        destroy_bitmap(bitmap);
    }

    Color GetPixel(BITMAP* bitmap, int x, int y) override
    {
        unsigned char rgba[4];
        ReadPixel(bitmap, x, y, rgba);
        return Color(rgba[0], rgba[1], rgba[2], rgba[3]);
    }

    std::string GetExecutablePath() override
    {
        char name[kPathLength];
        get_executable_name(name, kPathLength);
        *get_filename(name) = '\0';
        return name;
    }

    std::string ToAbsolutePathname(const std::string& filename) override
    {
        std::string name = NativePath(filename);
        if (!is_relative_filename(name.c_str()))
            return name;
        char path[kPathLength];
        make_absolute_filename(path, GetExecutablePath().c_str(), name.c_str(), kPathLength);
        return path;
    }

    BITMAP* LoadMemoryBitmap(const std::string& path) override
    {
        // AllegroGL sets the current depth to the screen's; loading at 32
        // keeps the alpha channel and the colours of paletted pictures.
        const int screenDepth = get_color_depth();
        set_color_depth(32);
        set_color_conversion(kLoadConversion);
        BITMAP* bitmap = load_bitmap(path.c_str(), nullptr);
        set_color_depth(screenDepth);
        if (bitmap && (bitmap->w <= 0 || bitmap->h <= 0)) {
            destroy_bitmap(bitmap);
            bitmap = nullptr;
        }
        return bitmap;
    }

    bool HasAlpha(BITMAP* bitmap) override
    {
        if (bitmap_color_depth(bitmap) != 32)
            return false;
        for (int y = 0; y < bitmap->h; ++y) {
            for (int x = 0; x < bitmap->w; ++x) {
                if (geta32(_getpixel32(bitmap, x, y)) != 0)
                    return true;
            }
        }
        return false;
    }

    BITMAP* MakeOpaque(BITMAP* bitmap) override
    {
        const int depth = bitmap_color_depth(bitmap);
        BITMAP* opaque = depth == 32 ? bitmap : create_bitmap_ex(32, bitmap->w, bitmap->h);
        if (!opaque)
            return bitmap;
        for (int y = 0; y < bitmap->h; ++y) {
            for (int x = 0; x < bitmap->w; ++x) {
                const int c = getpixel(bitmap, x, y);
                _putpixel32(opaque, x, y,
                            makeacol32(getr_depth(depth, c), getg_depth(depth, c),
                                       getb_depth(depth, c), 255));
            }
        }
        if (opaque != bitmap)
            destroy_bitmap(bitmap);
        return opaque;
    }

    int BitmapWidth(BITMAP* bitmap) override
    {
        return bitmap->w;
    }
    int BitmapHeight(BITMAP* bitmap) override
    {
        return bitmap->h;
    }

    void RegisterPngType() override
    {
        register_bitmap_file_type("png", load_png, save_png);
    }

    // The notice goes to the terminal: a message box would stop start-up.
    void Message(const std::string& text) override
    {
        std::fputs(text.c_str(), stderr);
    }

    int ScreenWidth() override
    {
        return SCREEN_W;
    }
    int ScreenHeight() override
    {
        return SCREEN_H;
    }
    void FlipBuffers() override
    {
        allegro_gl_flip();
    }

private:
    // Red, green, blue and alpha of one pixel, read at the bitmap's own depth
    // (never the current one, which follows the screen).
    static void ReadPixel(BITMAP* bitmap, int x, int y, unsigned char* rgba)
    {
        const int depth = bitmap_color_depth(bitmap);
        if (depth == 32) {
            const int c = _getpixel32(bitmap, x, y);
            rgba[0] = static_cast<unsigned char>(getr32(c));
            rgba[1] = static_cast<unsigned char>(getg32(c));
            rgba[2] = static_cast<unsigned char>(getb32(c));
            rgba[3] = static_cast<unsigned char>(geta32(c));
            return;
        }
        const int c = getpixel(bitmap, x, y);
        rgba[0] = static_cast<unsigned char>(getr_depth(depth, c));
        rgba[1] = static_cast<unsigned char>(getg_depth(depth, c));
        rgba[2] = static_cast<unsigned char>(getb_depth(depth, c));
        rgba[3] = 255;
    }
};

GlDriver& Driver()
{
    // Never destroyed, like the rest of the layer's state.
    static AllegroGLDriver* driver = new AllegroGLDriver;
    return *driver;
}

}  // namespace ol
