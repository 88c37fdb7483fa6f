// Pictures for people rather than for the game: the contact sheet of every picture and mock
// screens that put the pictures together the way the game does.
#pragma once
#include <map>
#include <string>

#include "Image.h"

namespace assetgen {

// The generated pictures by their path under gfx/, without ".png" ("sprites/crate").
using PictureSet = std::map<std::string, Image>;

bool WriteContactSheet(const std::string& path, const PictureSet& pictures);
bool WriteSceneMock(const std::string& path, const PictureSet& pictures);
bool WriteTitleMock(const std::string& path, const PictureSet& pictures);

}  // namespace assetgen
