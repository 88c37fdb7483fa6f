// The layer's colour: four floats from 0 (none) to 1 (full), red, green,
// blue, alpha. A plain value, copied freely.
#pragma once

namespace ol {

struct Color {
    float red, green, blue, alpha;

    constexpr Color() : red(0.0f), green(0.0f), blue(0.0f), alpha(0.0f)
    {
    }
    // Each component is the integer divided by 255 (not clamped).
    constexpr Color(int r, int g, int b, int a)
        : red(static_cast<float>(r / 255.0)),
          green(static_cast<float>(g / 255.0)),
          blue(static_cast<float>(b / 255.0)),
          alpha(static_cast<float>(a / 255.0))
    {
    }

    // A colour straight from its float components.
    static constexpr Color FromFloats(float r, float g, float b, float a)
    {
        Color c;
        c.red = r;
        c.green = g;
        c.blue = b;
        c.alpha = a;
        return c;
    }

    static const Color BLACK;
    static const Color WHITE;
    static const Color RED;
    static const Color YELLOW;
    static const Color GREEN;
    static const Color BLUE;
    static const Color INVISIBLE;
};

// Component by component, as colours are mixed into every draw.
constexpr Color operator*(const Color& a, const Color& b)
{
    return Color::FromFloats(a.red * b.red, a.green * b.green, a.blue * b.blue, a.alpha * b.alpha);
}

// Constant-initialised, so they are ready before any static constructor of
// the game reads them.
inline constexpr Color Color::BLACK{0, 0, 0, 255};
inline constexpr Color Color::WHITE{255, 255, 255, 255};
inline constexpr Color Color::RED{255, 0, 0, 255};
inline constexpr Color Color::YELLOW{255, 255, 0, 255};
inline constexpr Color Color::GREEN{0, 255, 0, 255};
inline constexpr Color Color::BLUE{0, 0, 255, 255};
inline constexpr Color Color::INVISIBLE{0, 0, 0, 0};

}  // namespace ol
