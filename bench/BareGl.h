// The yardstick of the frame benchmarks: the same textured quads the layer
// draws, with nothing but the GL calls they need.
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "ol/Bitmap.h"

namespace bare {

// A picture's quad at (x, y) of w x h screen pixels; the picture is stored
// upside down in its texture's top rows.
inline void Quad(const ol::OlTextureInfo& t, float x, float y, float w, float h,
                 bool mirrored = false)
{
    float s0 = t.s0, s1 = t.s0 + t.sExtent;
    if (mirrored)
        std::swap(s0, s1);
    glPushMatrix();
    glTranslatef(x, y, 0);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, t.name);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t.t0);
    glVertex2f(0, h);
    glTexCoord2f(s1, t.t0);
    glVertex2f(w, h);
    glTexCoord2f(s1, t.t0 + t.tExtent);
    glVertex2f(w, 0);
    glTexCoord2f(s0, t.t0 + t.tExtent);
    glVertex2f(0, 0);
    glEnd();
    glPopMatrix();
}

// One glyph cell of the font sheet, coloured by fog as the layer's tint does.
inline void Glyph(const ol::OlTextureInfo& f, int sheetWidth, int cell, float x, float y,
                  float scale, const GLfloat colour[4])
{
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_START, -1);
    glFogf(GL_FOG_END, 0);
    glEnable(GL_FOG);
    ol::OlTextureInfo cellInfo = f;
    cellInfo.s0 = f.s0 + 7.0f * cell / sheetWidth * f.sExtent;
    cellInfo.sExtent = 6.0f / sheetWidth * f.sExtent;
    Quad(cellInfo, x, y, 6 * scale, 7 * scale);
    glDisable(GL_FOG);
}

inline double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

// Times two frame routines in alternation, so both see the same machine
// load; returns the median milliseconds of each after a short warm-up.
template <typename Layer, typename Bare>
std::pair<double, double> Compare(int frames, Layer layer, Bare bareFrame)
{
    std::vector<double> a, b;
    for (int i = 0; i < frames + 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        layer();
        glFinish();
        double la = Milliseconds(start);
        start = std::chrono::steady_clock::now();
        bareFrame();
        glFinish();
        double ba = Milliseconds(start);
        if (i >= 5) {
            a.push_back(la);
            b.push_back(ba);
        }
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

}  // namespace bare
