// The least a program can do to show a frame the way the game opens its
// window: the yardstick for the game's start-up time.
#include <allegro.h>
#include <alleggl.h>

#include <cstdio>

int main()
{
    if (allegro_init() != 0 || install_allegro_gl() != 0)
        return 1;
    install_keyboard();
    install_timer();
    allegro_gl_clear_settings();
    allegro_gl_set(AGL_COLOR_DEPTH, 32);
    allegro_gl_set(AGL_DOUBLEBUFFER, 1);
    allegro_gl_set(AGL_WINDOWED, TRUE);
    allegro_gl_set(AGL_Z_DEPTH, 8);
    allegro_gl_set(AGL_RENDERMETHOD, 1);
    allegro_gl_set(AGL_REQUIRE, AGL_COLOR_DEPTH | AGL_DOUBLEBUFFER | AGL_WINDOWED);
    allegro_gl_set(AGL_SUGGEST, AGL_Z_DEPTH | AGL_RENDERMETHOD);
    if (set_gfx_mode(GFX_OPENGL, 640, 400, 0, 0) != 0)
        return 1;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    allegro_gl_flip();
    glFinish();
    std::puts("first frame");
    std::fflush(stdout);
    return 0;
}
END_OF_MAIN()
