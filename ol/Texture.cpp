// Texture sizes and texel layout, apart from GL so that they can be checked.
#include "ol/OpenGl.h"

#include <cstring>

#include "ol/GlDriver.h"
#include "ol/LayerLog.h"
#include "ol/LayerState.h"

namespace ol {

std::size_t NextPowerOfTwo(std::size_t side)
{
    std::size_t power = 1;
    while (power < side)
        power *= 2;
    return power;
}

bool HasExtension(const char* extensionList, const std::string& name)
{
    const char* word = extensionList;
    while (*word) {
        while (*word == ' ')
            ++word;
        std::size_t length = std::strcspn(word, " ");
        if (length == name.size() && std::strncmp(word, name.c_str(), length) == 0)
            return true;
        word += length;
    }
    return false;
}

std::vector<unsigned char> ArrangeTexels(const unsigned char* rgba, int width, int height,
                                         std::size_t textureWidth, std::size_t textureHeight)
{
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    std::vector<unsigned char> texels(textureWidth * textureHeight * 4, 0);
    auto texel = [&](std::size_t column, std::size_t row) {
        return &texels[(row * textureWidth + column) * 4];
    };
    auto pixel = [&](std::size_t column, std::size_t row) {
        return &rgba[(row * w + column) * 4];
    };
    // GL's row 0 is the bottom of the picture as drawn.
    for (std::size_t j = 0; j < h; ++j) {
        std::size_t row = textureHeight - h + j;
        std::size_t imageRow = h - 1 - j;
        std::memcpy(texel(0, row), pixel(0, imageRow), w * 4);
        if (textureWidth > w)
            std::memcpy(texel(w, row), pixel(w - 1, imageRow), 4);
    }
    // Linear filtering at the bottom edge samples the row below: repeat the
    // picture's bottom row there so no foreign colour bleeds in.
    if (textureHeight > h) {
        std::size_t row = textureHeight - h - 1;
        std::memcpy(texel(0, row), pixel(0, h - 1), w * 4);
        if (textureWidth > w)
            std::memcpy(texel(w, row), pixel(w - 1, h - 1), 4);
    }
    return texels;
}

OlTextureInfo MakeTextureInfo(unsigned int name, int width, int height, int textureWidth,
                              int textureHeight)
{
    OlTextureInfo info;
    info.format = GL_RGBA;
    info.name = name;
    info.textureWidth = textureWidth;
    info.textureHeight = textureHeight;
    info.imageWidth = info.uploadedWidth = width;
    info.imageHeight = info.uploadedHeight = height;
    info.widthRatio = static_cast<float>(width) / static_cast<float>(textureWidth);
    info.heightRatio = static_cast<float>(height) / static_cast<float>(textureHeight);
    info.s0 = 0.0f;
    info.t0 = 1.0f - info.heightRatio;
    info.sExtent = info.widthRatio;
    info.tExtent = info.heightRatio;
    return info;
}

bool ChooseTextureSize(int width, int height, std::size_t& textureWidth, std::size_t& textureHeight)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    bool anySize = false;
    if (extensions)
        anySize = HasExtension(extensions, "GL_ARB_texture_non_power_of_two") &&
                  !Layer().powerOfTwoTexturesOnly;
    else
        WriteLog("No OpenGL extensions were found.");
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    textureWidth = anySize ? w : NextPowerOfTwo(w);
    textureHeight = anySize ? h : NextPowerOfTwo(h);

    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const std::size_t limit = largest > 0 ? static_cast<std::size_t>(largest) : 0;
    if (textureWidth > limit || textureHeight > limit) {
        WriteError("Bitmap too large for the graphics card! (Width: " + std::to_string(width) +
                   ", Height: " + std::to_string(height) +
                   ", Largest side: " + std::to_string(largest) + ")");
        return false;
    }
    return true;
}

}  // namespace ol
