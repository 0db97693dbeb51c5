#pragma once
// Every texture the game loads from "Data/Textures", and the "notes2" atlas built from some of
// them.
#include <string>
#include <vector>

#include "tools/textures/atlas.h"

// The standalone textures, each under the file name the game asks for.
std::vector<NamedImage> paintTextures();
// The textures that also go into the atlas (the keyboard, the note pieces and the plain pixel,
// so that lanes, notes and keys draw from one texture), in atlas order. The atlas regions
// shadow the files of the same names, which hold the same pixels.
const std::vector<std::string>& atlasNames();
Atlas buildTextureAtlas(const std::vector<NamedImage>& textures);

// Every file written, in writing order: the textures, then "notes2.png" and "notes2.txt".
std::vector<std::string> textureSetFiles();
// Writes them all into an existing directory. False with a reason on the first failure.
bool writeTextureSet(const std::string& directory, std::string& error);

// The program's icon, one file a size: "cadenzio-64.png" and so on (normally into desktop/icons).
std::vector<std::string> appIconFiles();
bool writeAppIcons(const std::string& directory, std::string& error);
