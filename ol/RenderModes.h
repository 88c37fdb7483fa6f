// Blit effects: a render mode is made on the stack just before one blit and
// shapes it by GL state (Select/Unselect), by the drawn rectangle and by the
// picture region it shows.
#pragma once

#include "ol/Color.h"

namespace ol {

struct OlTextureInfo;

// x, y, width, height.
struct Rect {
    float x, y, width, height;
};

// The picture region of one blit: left/right/top/bottom in image pixels
// (origin top-left), then the texture coordinates made from them.
struct TexCoordSet {
    const OlTextureInfo* texture;
    float left, right, top, bottom;
    float sLeft, sRight, tTop, tBottom;
    bool flipX, flipY;
    const Color* cornerColors;  // four, or null
};

class RenderMode {
public:
    RenderMode() = default;
    virtual ~RenderMode() = default;
    RenderMode(const RenderMode&) = delete;
    RenderMode& operator=(const RenderMode&) = delete;

    virtual void Select() const
    {
    }
    virtual void Unselect() const
    {
    }
    virtual bool DefinesTexCoords() const
    {
        return false;
    }
    // Only called when DefinesTexCoords() is true.
    virtual void SetTexCoord(int /*corner*/, const TexCoordSet& /*set*/) const
    {
    }
    virtual Rect GetRenderCoords(const Rect& rect) const
    {
        return rect;
    }
    virtual TexCoordSet GetTexCoords(const TexCoordSet& set) const
    {
        return set;
    }
};

// Paints the picture towards the tint colour by the tint's alpha (GL fog).
class TintMode : public RenderMode {
public:
    explicit TintMode(const Color& tint) : tint(tint)
    {
    }
    void Select() const override;
    void Unselect() const override;

private:
    Color tint;
};

// Shows only a sub-rectangle of the picture (bitmap pixels, origin top-left).
class ClippedMode : public RenderMode {
public:
    ClippedMode(float x, float y, float width, float height) : clip{x, y, width, height}
    {
    }
    Rect GetRenderCoords(const Rect& rect) const override;
    TexCoordSet GetTexCoords(const TexCoordSet& set) const override;

private:
    Rect clip;
};

constexpr int FLIP_HORIZONTAL = 0;
constexpr int FLIP_VERTICAL = 1;
constexpr int FLIP_BOTH = 2;

// Mirrors the picture in place.
class FlippedMode : public RenderMode {
public:
    explicit FlippedMode(int mode) : mode(mode)
    {
    }
    TexCoordSet GetTexCoords(const TexCoordSet& set) const override;

private:
    int mode;
};

// Two modes at once, first then second. Holds references: both modes must
// outlive it (make them named locals next to it).
class MultiMode : public RenderMode {
public:
    MultiMode(const RenderMode& first, const RenderMode& second) : first(first), second(second)
    {
    }
    void Select() const override;
    void Unselect() const override;
    bool DefinesTexCoords() const override;
    void SetTexCoord(int corner, const TexCoordSet& set) const override;
    Rect GetRenderCoords(const Rect& rect) const override;
    TexCoordSet GetTexCoords(const TexCoordSet& set) const override;

private:
    const RenderMode& first;
    const RenderMode& second;
};

}  // namespace ol
