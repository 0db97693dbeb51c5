#pragma once
// The sprite atlas: several textures in one image, listed by name with their texel rectangles.
#include <string>
#include <vector>

#include "tools/textures/image.h"

struct NamedImage {
    std::string name;
    Image image;
};

struct AtlasRegion {
    std::string name;
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Atlas {
    Image image;
    std::vector<AtlasRegion> regions; // in the order the images were given
};

// Texels repeated around every region, so that filtering at a region's edge samples the region.
constexpr int atlasGutter = 2;

// Packs the images in order into columns as tall as the tallest image.
Atlas buildAtlas(const std::vector<const NamedImage*>& images);
// The region list: the count on its own line, then "name left top right bottom" per region.
std::string atlasList(const Atlas& atlas);
