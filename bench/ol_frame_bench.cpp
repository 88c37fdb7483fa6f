// One frame of the game's drawing through the layer (300 stretched sprite
// blits plus a HUD line of text) against a bare OpenGL loop drawing the same
// quads, in the same run. Prints both times per frame and their ratio.
#include <allegro.h>
#include <alleggl.h>
#include <GL/gl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareGl.h"
#include "ol/Bitmap.h"
#include "ol/Canvas.h"
#include "ol/RenderModes.h"
#include "ol/Startup.h"

namespace {

constexpr int kBlits = 300;
constexpr int kFrames = 60;
constexpr float kScale = 2.0f;  // 640 x 400 over the 320 x 200 play screen
const std::string kHud = "SCORE 000000  HI-SCORE 000000  TIME 000";

struct Quad {
    float x, y;
};

std::vector<Quad> SpritePlaces()
{
    std::vector<Quad> places;
    for (int i = 0; i < kBlits; ++i)
        places.push_back({static_cast<float>((i * 37) % 600), static_cast<float>((i * 53) % 360)});
    return places;
}

void WritePicture(const std::string& path, int w, int h)
{
    BITMAP* picture = create_bitmap_ex(32, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            putpixel(picture, x, y, makeacol32(x * 9, y * 9, 200, (x + y) % 3 ? 255 : 0));
    save_bitmap(path.c_str(), picture, nullptr);
    destroy_bitmap(picture);
}

void LayerFrame(const ol::Bitmap& sprite, const ol::Bitmap& font, const std::vector<Quad>& places)
{
    for (const Quad& q : places)
        sprite.BlitStretched(q.x, q.y, sprite.Width() * kScale, sprite.Height() * kScale, 1.0f);
    const ol::Color yellow = ol::Color::YELLOW;
    for (std::size_t i = 0; i < kHud.size(); ++i) {
        const int cell = static_cast<int>(i % 47);
        ol::TintMode tint(yellow);
        ol::ClippedMode clip(7.0f * cell, 0, 6, 7);
        ol::MultiMode both(clip, tint);
        font.BlitStretched((7 * i + 4) * kScale - 7 * cell, 2 * kScale, font.Width() * kScale,
                           font.Height() * kScale, both, 1.0f);
    }
    ol::Canvas::Refresh();
}

// The same quads with nothing but the GL calls they need.
void BareFrame(const ol::Bitmap& sprite, const ol::Bitmap& font, const std::vector<Quad>& places)
{
    glEnable(GL_TEXTURE_2D);
    for (const Quad& q : places)
        bare::Quad(sprite.TextureInfo(), q.x, q.y, sprite.Width() * kScale,
                   sprite.Height() * kScale);
    const GLfloat yellow[4] = {1, 1, 0, 1};
    for (std::size_t i = 0; i < kHud.size(); ++i)
        bare::Glyph(font.TextureInfo(), font.Width(), static_cast<int>(i % 47),
                    (7 * i + 4) * kScale, 2 * kScale, kScale, yellow);
    allegro_gl_flip();
}

}  // namespace

int main()
{
    char dir[] = "/tmp/ol-frame-bench-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0)
        return 1;
    ol::Startup::StartProgram(true, false, true);
    if (!ol::Startup::OpenScreen(640, 400, false, 32, 8, 0)) {
        std::fprintf(stderr, "no screen (is DISPLAY set?)\n");
        return 1;
    }
    const std::string spritePath = std::string(dir) + "/sprite.png";
    const std::string fontPath = std::string(dir) + "/font.png";
    WritePicture(spritePath, 16, 16);
    WritePicture(fontPath, 329, 7);
    ol::Bitmap sprite(spritePath, 0);
    ol::Bitmap font(fontPath, 0);
    const std::vector<Quad> places = SpritePlaces();

    const auto [layerMs, bareMs] = bare::Compare(
        kFrames,
        [&] {
            LayerFrame(sprite, font, places);
        },
        [&] {
            BareFrame(sprite, font, places);
        });
    std::printf("frame of %d stretched blits + %zu text glyphs at 640x400, median of %d frames\n",
                kBlits, kHud.size(), kFrames);
    std::printf("layer: %.3f ms  bare GL: %.3f ms  ratio: %.3f\n", layerMs, bareMs,
                layerMs / bareMs);
    sprite.Destroy(true);
    font.Destroy(true);
    unlink(spritePath.c_str());
    unlink(fontPath.c_str());
    unlink("ortholayer.log");
    rmdir(dir);
    return 0;
}
END_OF_MAIN()
