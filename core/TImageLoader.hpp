#pragma once

#include "core/TInkMap.hpp"
#include "core/TPressMask.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The road from image files to textures. A whole set is decoded on a second
// thread while this one (the one with the graphics context) makes textures
// of the pixels and hands each on in order, so what the caller prints about
// them comes out exactly as if they were loaded one by one.
//
// An image is not used (its texture is null) when its file is missing, is
// not a regular file (a directory or a pipe in its place is damaged, named
// and never opened), cannot be read as an image, or, with designed sizes
// asked for, has another size than the image table gives it.
class TImageLoader {
public:
    enum class Sizes {
        designed, // an image must have its size from the image table
        any,      // any size will do (small stand-ins in tests)
    };

    // What is learnt of an image's shape from its decoded pixels: for a
    // chicken sheet the map of where it has ink (empty for other images, and
    // for a file the media library loaded), and for a picture a press can
    // land on the mask of where it shows (empty for other images), and for
    // a plate its fully opaque interior (none for other images).
    struct Shapes {
        TInkMap ink;
        TPressMask press;
        std::optional<sf::IntRect> interior;
    };

    // Receives each image in turn: its id, its texture (null when it is not
    // used), whether a line naming it and saying that a placeholder stands in
    // has already been written, and what its pixels told of its shape.
    using Keep = std::function<void(int id, std::unique_ptr<sf::Texture> texture, bool named, Shapes shapes)>;

    explicit TImageLoader(Sizes sizes);

    // Loads the images of `ids` from src/images/ under the working directory.
    void loadAll(const std::vector<int>& ids, const Keep& keep);
    // Loads the one file `path` as image `id`, all on this thread.
    void loadOne(int id, const std::string& path, const Keep& keep);

    // Images drawn smaller than their size (filtered smoothly, and given
    // mipmaps later): the chicken sheets, the three cards, the feeders and
    // the drinking bowl.
    static bool drawnSmaller(int id);
    static bool chickenSheet(int id);
    // Images a press lands on only where they show: the story messages and
    // the quest panel, the toolbar's tray, sockets and round buttons, the
    // three counters' frames, the inventory bar, the three cards, and the
    // placeholder that stands in for any of them that is missing.
    static bool pressedPicture(int id);
    // Images drawn as plates, opaque across most of their area, which the
    // frame keeps in its picture of the still layers: the toolbar's tray,
    // sockets and round buttons, the three counters' frames, the inventory
    // bar, the sorting window's and the shop's pages, and the placeholder
    // that stands in for any of them that is missing.
    static bool plate(int id);

    // Time spent turning files into pixels (on the decoding thread while a
    // whole set loads) and making textures of them (on this thread).
    double decodeSeconds = 0;
    double uploadSeconds = 0;

private:
    Sizes sizes;
};
