// Drawing a bitmap as one textured quad, plain or through a render mode.
#include "ol/OpenGl.h"

#include <utility>

#include "ol/Bitmap.h"
#include "ol/LayerState.h"

namespace ol {

namespace {

// Every blit: the layer's colour channels at the blit's opacity, texture on.
void PrepareDraw(unsigned int textureName, float opacity)
{
    const Color& channels = Layer().colorChannels;
    glColor4f(channels.red, channels.green, channels.blue, channels.alpha * opacity);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureName);
}

}  // namespace

void Bitmap::BlitStretched(float x, float y, float width, float height, float opacity) const
{
    // An empty bitmap (a picture that failed to load) draws nothing.
    if (texture.name == 0 || texture.imageWidth <= 0 || texture.imageHeight <= 0)
        return;
    const float s0 = texture.s0, t0 = texture.t0;
    const float se = texture.sExtent, te = texture.tExtent;
    glPushMatrix();
    glTranslatef(x, y, 0);
    PrepareDraw(texture.name, opacity);
    glBegin(GL_TRIANGLE_FAN);
    glTexCoord2f(s0, t0);
    glVertex2f(0, height);
    glTexCoord2f(s0 + se, t0);
    glVertex2f(width, height);
    glTexCoord2f(s0 + se, t0 + te);
    glVertex2f(width, 0);
    glTexCoord2f(s0, t0 + te);
    glVertex2f(0, 0);
    glEnd();
    glPopMatrix();
}

void Bitmap::BlitStretched(float x, float y, float width, float height, const RenderMode& mode,
                           float opacity) const
{
    // Checked before any GL call: the mode's scaling divides by the size.
    if (texture.name == 0 || texture.imageWidth <= 0 || texture.imageHeight <= 0)
        return;
    const float w = static_cast<float>(texture.imageWidth);
    const float h = static_cast<float>(texture.imageHeight);
    const float s0 = texture.s0, t0 = texture.t0;
    const float se = texture.sExtent, te = texture.tExtent;

    mode.Select();
    glPushMatrix();
    glTranslatef(x, y, 0);
    PrepareDraw(texture.name, opacity);

    const Rect rc = mode.GetRenderCoords(Rect{0.0f, 0.0f, w, h});
    const float sw = (width / w) * rc.width;
    const float sh = (height / h) * rc.height;

    TexCoordSet set{};
    set.texture = &texture;
    set.right = w;
    set.bottom = h;
    TexCoordSet tc = mode.GetTexCoords(set);
    tc.sLeft = (tc.left / w) * se + s0;
    tc.sRight = (tc.right / w) * se + s0;
    tc.tTop = (t0 + te) - te * (tc.top / h);
    tc.tBottom = (t0 + te) - te * (tc.bottom / h);
    if (tc.flipX)
        std::swap(tc.sLeft, tc.sRight);
    if (tc.flipY)
        std::swap(tc.tTop, tc.tBottom);
    const bool ownCoords = mode.DefinesTexCoords();

    const struct {
        float vx, vy, s, t;
    } corners[4] = {
        {rc.x, rc.y, tc.sLeft, tc.tTop},
        {rc.x + sw, rc.y, tc.sRight, tc.tTop},
        {rc.x + sw, rc.y + sh, tc.sRight, tc.tBottom},
        {rc.x, rc.y + sh, tc.sLeft, tc.tBottom},
    };
    const Color& channels = Layer().colorChannels;
    glBegin(GL_QUADS);
    for (int corner = 3; corner >= 0; --corner) {
        if (tc.cornerColors) {
            const Color c = tc.cornerColors[corner] * channels;
            glColor4f(c.red, c.green, c.blue, c.alpha * opacity);
        }
        if (ownCoords)
            mode.SetTexCoord(corner, tc);
        else
            glTexCoord2f(corners[corner].s, corners[corner].t);
        glVertex2f(corners[corner].vx, corners[corner].vy);
    }
    glEnd();
    glPopMatrix();
    mode.Unselect();
}

}  // namespace ol
