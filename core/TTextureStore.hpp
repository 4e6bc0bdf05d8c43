#pragma once

#include "core/ImageTable.hpp"
#include "core/TInkMap.hpp"
#include "core/TPressMask.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The one owner of every image and of the font. At creation it loads the font
// and all 167 images of the image table (core/ImageTable.hpp) from "src/"
// under the working directory, each under its texture id, and builds one
// shared sprite per image. Textures and sprites never move while the store
// lives, so references handed out stay valid; the game's store lives until
// the process ends, after everything that refers to it. A shared sprite is a
// stamp: drawing code moves it and draws it, and it stays where it was last
// drawn.
class TTextureStore {
public:
    struct Settings {
        // The console is a terminal: each progress line first clears the
        // screen, so it always shows one line. Elsewhere (a log, a pipe) the
        // lines simply follow one another.
        bool terminal = true;
        // Images must have their designed sizes; one of another size is not
        // used. Off for small stand-in images in tests.
        bool designedSizes = true;
    };

    // The store of the game, created (and loaded) on the first call.
    static TTextureStore& instance();

    // Loads everything, writing the progress line for each image to `console`.
    explicit TTextureStore(std::ostream& console);
    TTextureStore(std::ostream& console, Settings settings);
    TTextureStore(const TTextureStore&) = delete;
    TTextureStore& operator=(const TTextureStore&) = delete;
    ~TTextureStore();

    // Lookups. An id with no image yields the placeholder texture (or a
    // built-in one if even that is missing) and says so once per id.
    const sf::Texture& getTexture(int id);
    sf::Sprite& getSprite(int id);
    const sf::Font& getFont() const { return font; }
    bool hasTexture(int id) const { return textures.count(id) != 0; }
    std::size_t textureCount() const { return textures.size(); }
    std::size_t spriteCount() const { return sprites.size(); }
    // The ids that hold an image, ascending.
    std::vector<int> loadedIds() const;

    // Loads one image under `id` and prints its progress line. At creation
    // the images are loaded on worker threads while this one keeps them and
    // prints, in the same order and with the same lines.
    void loadTexture(int id, const std::string& path, bool centered);

    // Where a chicken sheet has ink, made as it was decoded; null for any
    // other texture (and for a sheet the media library loaded).
    const TInkMap* inkMap(const sf::Texture& texture) const;
    // Where a picture a press can land on shows (see
    // TImageLoader::pressedPicture), made as it was decoded; also for the
    // stand-in of a missing image. Null for any other texture.
    const TPressMask* pressMask(const sf::Texture& texture) const;
    // A rectangle of a plate's texture (see TImageLoader::plate) whose every
    // pixel is fully opaque, or an empty one, found as it was decoded; also
    // for the stand-in of a missing image. None for any other texture.
    std::optional<sf::IntRect> opaqueInterior(const sf::Texture& texture) const;

    void drawSprite(sf::RenderTarget& target, int id);
    void drawSpriteAt(sf::RenderTarget& target, int id, sf::Vector2f position);
    // Inclusive test against the shared sprite's texture rectangle where it
    // was last placed (scale and origin ignored).
    bool spriteContains(int id, float x, float y);

    // Makes the mipmaps of up to `count` images drawn smaller than their size
    // still waiting for them (they are left out of loading to open the window
    // sooner: the cards, feeders and bowl first, then the chicken sheets);
    // true while some remain. The game loop calls it once per frame.
    bool generatePendingMipmaps(std::size_t count);
    const std::vector<int>& mipmapsPending() const { return pendingMipmaps; }

    static constexpr int frameSize = 512; // a chicken sheet's frame, square

    // Time spent so far turning files into pixels and making textures of them.
    double decodeSeconds = 0;
    double uploadSeconds = 0;

private:
    void openFont();
    // Keeps `loaded` under `id` with its sprite (unless the id is taken, or
    // the load failed and there is nothing); then prints the progress line.
    void addTexture(int id, bool centered, std::unique_ptr<sf::Texture> loaded, TInkMap ink, TPressMask press,
                    std::optional<sf::IntRect> interior);
    void reportMissing(int id);
    const sf::Texture& fallbackTexture();

    std::ostream& console;
    Settings settings;
    sf::Font font;
    // Textures first: the sprites below refer to them, and go first.
    std::map<int, std::unique_ptr<sf::Texture>> textures;
    std::unique_ptr<sf::Texture> builtinFallback;
    std::map<int, std::unique_ptr<sf::Sprite>> sprites;
    std::map<int, std::unique_ptr<sf::Sprite>> fallbackSprites;
    std::map<const sf::Texture*, TInkMap> inkMaps;
    std::map<const sf::Texture*, TPressMask> pressMasks;
    std::map<const sf::Texture*, sf::IntRect> interiors;
    std::vector<int> pendingMipmaps;
    std::set<int> reportedMissing;
};

// The game's store, as the drawing code calls it.
inline TTextureStore& store() { return TTextureStore::instance(); }
