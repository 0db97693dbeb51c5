#include "tools/textures/atlas.h"

#include <algorithm>

Atlas buildAtlas(const std::vector<const NamedImage*>& images) {
    const int g = atlasGutter;
    int height = 0;
    for (const NamedImage* named : images) height = std::max(height, named->image.height + 2 * g);

    struct Column {
        int width = 0, used = 0;
    };
    std::vector<Column> columns;
    std::vector<size_t> columnOf;
    std::vector<int> topOf;
    for (const NamedImage* named : images) {
        int w = named->image.width + 2 * g, h = named->image.height + 2 * g;
        size_t c = 0;
        while (c < columns.size() && columns[c].used + h > height) ++c;
        if (c == columns.size()) columns.push_back({});
        columnOf.push_back(c);
        topOf.push_back(columns[c].used);
        columns[c].used += h;
        columns[c].width = std::max(columns[c].width, w);
    }
    std::vector<int> columnLeft;
    int width = 0;
    for (const Column& column : columns) {
        columnLeft.push_back(width);
        width += column.width;
    }

    Atlas atlas;
    atlas.image = makeImage(width, height);
    for (size_t i = 0; i < images.size(); ++i) {
        const Image& source = images[i]->image;
        const int left = columnLeft[columnOf[i]] + g, top = topOf[i] + g;
        for (int y = -g; y < source.height + g; ++y) {
            const int sy = std::clamp(y, 0, source.height - 1);
            for (int x = -g; x < source.width + g; ++x) {
                const int sx = std::clamp(x, 0, source.width - 1);
                std::copy_n(texel(source, sx, sy), 4, texel(atlas.image, left + x, top + y));
            }
        }
        atlas.regions.push_back(
            {images[i]->name, left, top, left + source.width, top + source.height});
    }
    return atlas;
}

std::string atlasList(const Atlas& atlas) {
    std::string text = std::to_string(atlas.regions.size()) + "\n";
    for (const AtlasRegion& r : atlas.regions)
        text += r.name + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                std::to_string(r.right) + " " + std::to_string(r.bottom) + "\n";
    return text;
}
