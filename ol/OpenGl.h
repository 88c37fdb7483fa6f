// OpenGL as the layer draws with it. Windows' gl.h needs windows.h first,
// whose BITMAP would clash with Allegro's: Allegro's own Windows header
// brings it in under another name. Windows' gl.h also stops at OpenGL 1.1.
#pragma once

#ifdef _WIN32
#include <allegro.h>
#include <winalleg.h>
#endif
#include <GL/gl.h>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif
