// The cost of one frame of the game screen (a full yard) and of the title
// screen, drawn by the game through the layer, against a bare OpenGL loop
// drawing the same quads with the same textures in the same run.
#include <allegro.h>
#include <alleggl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "bench/BareGl.h"
#include "engine/Engine.h"
#include "game/Rules.h"
#include "ol/Canvas.h"
#include "ol/RenderModes.h"
#include "ol/Startup.h"

namespace {

constexpr float kScale = 2.0f;
constexpr int kFrames = 60;
GameState& gs = gameState;

void FillYard()
{
    NewGame();
    for (int c = 0; c < COLUMN_COUNT; ++c)
        for (int row = 0; row < 6; ++row) {
            GameObject crate;
            crate.x = static_cast<float>(ColumnX(c));
            crate.y = static_cast<float>(152 - 20 * row);
            crate.column = c;
            gs.crates.push_back(crate);
        }
    for (GameObject& crane : gs.cranes)
        crane.x = 100.0f + 60.0f * (&crane - gs.cranes);
}

void BareText(const std::string& text, float x, float y)
{
    static const GLfloat colour[4] = {0.6f, 0.8f, 0.5f, 1};
    const ol::OlTextureInfo& f = gs.fontImage.TextureInfo();
    for (std::size_t i = 0; i < text.size(); ++i)
        bare::Glyph(f, gs.fontImage.Width(), CharacterCell(text[i]), (x + 7 * i) * kScale,
                    y * kScale, kScale, colour);
}

void BareSprite(const ol::Bitmap& b, const GameObject& o)
{
    bare::Quad(b.TextureInfo(), o.x * kScale, o.y * kScale, b.Width() * kScale, b.Height() * kScale,
               o.facing == Facing::Left);
}

void BareGameFrame()
{
    allegro_gl_flip();
    glEnable(GL_TEXTURE_2D);
    bare::Quad(gs.backgroundImage.TextureInfo(), 0, 0, 640, 400);
    for (const GameObject& crate : gs.crates)
        BareSprite(gs.crateImage, crate);
    BareSprite(gs.workerSprites[0].frames[0], gs.worker);
    for (const GameObject& crane : gs.cranes) {
        GameObject carried = crane;
        carried.x += 2;
        carried.y += 5;
        BareSprite(gs.crateImage, carried);
        BareSprite(gs.craneSprites[0].frames[0], crane);
    }
    for (const GameObject& light : gs.alarms)
        BareSprite(gs.alarmSprites[0].frames[0], light);
    BareText("SCORE:           HI-SCORE:           TIME:", 12, 5);
    BareText("0", 40, 15);
    BareText(std::to_string(gs.hiScore), 152, 15);
    BareText("0", 292, 15);
}

// The title screen's pictures, drawn as its attract phase draws them.
struct Title {
    ol::Bitmap logo{"data\\gfx\\fonts\\quillemarch.png", 0};
    ol::Bitmap scroll{"data\\gfx\\backgrounds\\menu_scroll.png", 0};
    ol::Bitmap head{"data\\gfx\\sprites\\head.png", 0};
    TextLine credits{320, 181, gs.palette[7],
                     "QUILLEMARCH - CODE GRAPHICS AND SOUND BY THE QUILLEMARCH TEAM - < > WALK "
                     "SPACE JUMP ENTER START O OPTIONS H HIGH SCORES ESC QUIT"};
    TextLine prompt{90, 120, gs.palette[10], "PRESS ENTER TO START"};
    float logoY = 35 * kScale + 20 * kScale * std::sin(1.0f);

    void Layer()
    {
        logo.BlitStretched(0, logoY, logo.Width() * kScale, logo.Height() * kScale, 1.0f);
        ol::FlippedMode mirror(ol::FLIP_HORIZONTAL);
        head.BlitStretched(600, 346, head.Width() * kScale, head.Height() * kScale, mirror, 1.0f);
        scroll.BlitStretched(0, 362, 640, scroll.Height() * kScale, 1.0f);
        DrawTextLine(credits);
        DrawTextLine(prompt);
        head.BlitStretched(40, 346, head.Width() * kScale, head.Height() * kScale, 1.0f);
        ol::Canvas::Refresh();
        ol::Canvas::Clear(ol::Color(0, 0, 0, 255), ol::COLOR_AND_ALPHA);
    }
    void Bare()
    {
        glEnable(GL_TEXTURE_2D);
        bare::Quad(logo.TextureInfo(), 0, logoY, logo.Width() * kScale, logo.Height() * kScale);
        bare::Quad(head.TextureInfo(), 600, 346, head.Width() * kScale, head.Height() * kScale,
                   true);
        bare::Quad(scroll.TextureInfo(), 0, 362, 640, scroll.Height() * kScale);
        BareText(credits.text, credits.x, credits.y);
        BareText(prompt.text, prompt.x, prompt.y);
        bare::Quad(head.TextureInfo(), 40, 346, head.Width() * kScale, head.Height() * kScale);
        allegro_gl_flip();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

void Report(const char* what, std::pair<double, double> t)
{
    std::printf("%s frame at 640x400: game %.3f ms, bare GL %.3f ms, ratio %.3f (median of %d)\n",
                what, t.first, t.second, t.first / t.second, kFrames);
}

}  // namespace

int main()
{
    char dir[] = "/tmp/screen-bench-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0)
        return 1;
    ol::Startup::StartProgram(true, false, true);
    if (!ol::Startup::OpenScreen(640, 400, false, 32, 8, 0)) {
        std::fprintf(stderr, "no screen (is DISPLAY set?)\n");
        return 1;
    }
    scaleX = scaleY = kScale;
    LoadGameImages();
    gs.hiScore = 25000;
    FillYard();
    Report("game screen", bare::Compare(kFrames, DrawFrame, BareGameFrame));
    Title title;
    Report("title screen", bare::Compare(
                               kFrames,
                               [&] {
                                   title.Layer();
                               },
                               [&] {
                                   title.Bare();
                               }));
    std::string cleanup = std::string("rm -rf ") + dir;
    return system(cleanup.c_str()) == 0 ? 0 : 1;
}
END_OF_MAIN()
