// One frame of the game's drawing through the layer (300 stretched sprite
// blits plus a HUD line of text) against a bare OpenGL loop drawing the same
// quads, in the same run. Prints both times per frame and their ratio.
#include <allegro.h>
#include <alleggl.h>
#include <GL/gl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

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

double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
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
    const ol::OlTextureInfo& s = sprite.TextureInfo();
    const float w = sprite.Width() * kScale, h = sprite.Height() * kScale;
    glEnable(GL_TEXTURE_2D);
    for (const Quad& q : places) {
        glPushMatrix();
        glTranslatef(q.x, q.y, 0);
        glColor4f(1, 1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, s.name);
        glBegin(GL_TRIANGLE_FAN);
        glTexCoord2f(s.s0, s.t0);
        glVertex2f(0, h);
        glTexCoord2f(s.s0 + s.sExtent, s.t0);
        glVertex2f(w, h);
        glTexCoord2f(s.s0 + s.sExtent, s.t0 + s.tExtent);
        glVertex2f(w, 0);
        glTexCoord2f(s.s0, s.t0 + s.tExtent);
        glVertex2f(0, 0);
        glEnd();
        glPopMatrix();
    }
    const ol::OlTextureInfo& f = font.TextureInfo();
    const float fw = static_cast<float>(font.Width());
    const GLfloat fog[4] = {1, 1, 0, 1};
    for (std::size_t i = 0; i < kHud.size(); ++i) {
        const int cell = static_cast<int>(i % 47);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogfv(GL_FOG_COLOR, fog);
        glFogf(GL_FOG_START, -1);
        glFogf(GL_FOG_END, 0);
        glEnable(GL_FOG);
        glPushMatrix();
        glTranslatef((7 * i + 4) * kScale, 2 * kScale, 0);
        glColor4f(1, 1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, f.name);
        const float s0 = 7.0f * cell / fw * f.sExtent, s1 = (7.0f * cell + 6) / fw * f.sExtent;
        glBegin(GL_QUADS);
        glTexCoord2f(s0, f.t0);
        glVertex2f(0, 7 * kScale);
        glTexCoord2f(s1, f.t0);
        glVertex2f(6 * kScale, 7 * kScale);
        glTexCoord2f(s1, f.t0 + f.tExtent);
        glVertex2f(6 * kScale, 0);
        glTexCoord2f(s0, f.t0 + f.tExtent);
        glVertex2f(0, 0);
        glEnd();
        glPopMatrix();
        glDisable(GL_FOG);
    }
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

    // Interleaved rounds, so both loops see the same machine load.
    std::vector<double> layerTimes, bareTimes;
    for (int frame = 0; frame < kFrames + 5; ++frame) {
        auto start = std::chrono::steady_clock::now();
        LayerFrame(sprite, font, places);
        glFinish();
        const double layer = Milliseconds(start);
        start = std::chrono::steady_clock::now();
        BareFrame(sprite, font, places);
        glFinish();
        const double bare = Milliseconds(start);
        if (frame >= 5) {  // the first frames warm the caches up
            layerTimes.push_back(layer);
            bareTimes.push_back(bare);
        }
    }
    std::sort(layerTimes.begin(), layerTimes.end());
    std::sort(bareTimes.begin(), bareTimes.end());
    const double layer = layerTimes[layerTimes.size() / 2];
    const double bare = bareTimes[bareTimes.size() / 2];
    std::printf("frame of %d stretched blits + %zu text glyphs at 640x400, median of %d frames\n",
                kBlits, kHud.size(), kFrames);
    std::printf("layer: %.3f ms  bare GL: %.3f ms  ratio: %.3f\n", layer, bare, layer / bare);
    sprite.Destroy(true);
    font.Destroy(true);
    unlink(spritePath.c_str());
    unlink(fontPath.c_str());
    unlink("ortholayer.log");
    rmdir(dir);
    return 0;
}
END_OF_MAIN()
