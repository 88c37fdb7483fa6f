// Tint, clip, mirror and their combination.
#include "ol/RenderModes.h"

#include "ol/OpenGl.h"

#include <algorithm>

#include "ol/LayerLog.h"
#include "ol/LayerState.h"

namespace ol {

namespace {

// One axis of a clip against a picture side: where it starts, how long it is.
void ClipAxis(float start, float length, float side, float& outStart, float& outLength)
{
    outStart = std::max(start, 0.0f);
    outLength = start >= 0.0f ? std::min(length, side - start) : std::min(side, start + length);
    outLength = std::max(outLength, 0.0f);
}

Rect ClipRegion(const Rect& clip, float width, float height)
{
    Rect region{};
    ClipAxis(clip.x, clip.width, width, region.x, region.width);
    ClipAxis(clip.y, clip.height, height, region.y, region.height);
    return region;
}

}  // namespace

// Fog does the colouring: every vertex lies at eye depth 0, so each pixel
// moves towards the tint by exactly the tint's alpha.
void TintMode::Select() const
{
    const Color& channels = Layer().colorChannels;
    const GLfloat fogColour[4] = {tint.red * channels.red, tint.green * channels.green,
                                  tint.blue * channels.blue, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 1.0f);
    glFogf(GL_FOG_START, -tint.alpha);
    glFogf(GL_FOG_END, 1.0f - tint.alpha);
    glHint(GL_FOG_HINT, GL_FASTEST);
    glEnable(GL_FOG);
}

void TintMode::Unselect() const
{
    glDisable(GL_FOG);
}

Rect ClippedMode::GetRenderCoords(const Rect& rect) const
{
    return ClipRegion(clip, rect.width, rect.height);
}

TexCoordSet ClippedMode::GetTexCoords(const TexCoordSet& set) const
{
    const Rect region = ClipRegion(clip, set.right - set.left, set.bottom - set.top);
    TexCoordSet clipped = set;
    clipped.left = region.x;
    clipped.right = region.x + region.width;
    clipped.top = region.y;
    clipped.bottom = region.y + region.height;
    return clipped;
}

TexCoordSet FlippedMode::GetTexCoords(const TexCoordSet& set) const
{
    TexCoordSet flipped = set;
    switch (mode) {
    case FLIP_HORIZONTAL:
        flipped.flipX = !flipped.flipX;
        break;
    case FLIP_VERTICAL:
        flipped.flipY = !flipped.flipY;
        break;
    case FLIP_BOTH:
        flipped.flipX = !flipped.flipX;
        flipped.flipY = !flipped.flipY;
        break;
    default:
        WriteError("Unknown enumeration in FlippedMode::Select!");
        break;
    }
    return flipped;
}

void MultiMode::Select() const
{
    first.Select();
    second.Select();
}

void MultiMode::Unselect() const
{
    first.Unselect();
    second.Unselect();
}

bool MultiMode::DefinesTexCoords() const
{
    return first.DefinesTexCoords() || second.DefinesTexCoords();
}

void MultiMode::SetTexCoord(int corner, const TexCoordSet& set) const
{
    if (first.DefinesTexCoords())
        first.SetTexCoord(corner, set);
    if (second.DefinesTexCoords())
        second.SetTexCoord(corner, set);
}

Rect MultiMode::GetRenderCoords(const Rect& rect) const
{
    return second.GetRenderCoords(first.GetRenderCoords(rect));
}

TexCoordSet MultiMode::GetTexCoords(const TexCoordSet& set) const
{
    return second.GetTexCoords(first.GetTexCoords(set));
}

}  // namespace ol
