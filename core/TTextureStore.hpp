#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <iosfwd>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

// The one owner of every image and of the font. At creation it loads the font
// and all 167 images from "src/" under the working directory, each under a
// fixed texture id, and builds one shared sprite per image. Textures and
// sprites never move or die while the process runs, so references handed out
// stay valid. A shared sprite is a stamp: drawing code moves it and draws it,
// and it stays where it was last drawn.
class TTextureStore {
public:
    struct Entry {
        int id;
        const char* file;
    };

    // The store of the game, created (and loaded) on the first call.
    static TTextureStore& instance();

    // Loads everything, writing the progress line for each image to `console`.
    explicit TTextureStore(std::ostream& console);
    TTextureStore(const TTextureStore&) = delete;
    TTextureStore& operator=(const TTextureStore&) = delete;
    ~TTextureStore();

    // Lookups. An id with no image yields the placeholder texture of id 0 (or
    // a built-in one if even that is missing) and says so once per id.
    const sf::Texture& getTexture(int id);
    sf::Sprite& getSprite(int id);
    const sf::Font& getFont() const { return font; }
    bool hasTexture(int id) const { return textures.count(id) != 0; }

    // Loads one image under `id` and prints its progress line. At creation
    // the images are loaded on worker threads while this one keeps them and
    // prints, in the same order and with the same lines.
    void loadTexture(int id, const std::string& path, bool centered);

    void drawSprite(sf::RenderTarget& target, int id);
    void drawSpriteAt(sf::RenderTarget& target, int id, sf::Vector2f position);
    // Makes the mipmaps of up to `count` images drawn smaller than their size
    // still waiting for them (they are left out of loading to open the window
    // sooner: the cards, feeders and bowl first, then the chicken sheets);
    // true while some remain. The game loop calls it once per frame.
    bool generatePendingMipmaps(std::size_t count);
    const std::vector<int>& mipmapsPending() const { return pendingMipmaps; }

    // Inclusive test against the shared sprite's texture rectangle where it
    // was last placed (scale and origin ignored).
    bool spriteContains(int id, float x, float y);

    // The image files, in id order, and the order in which they are loaded:
    // ascending ids, except that the close button (69) comes after id 124
    // and the shop slot frame (107) before its disabled twin (106).
    static std::span<const Entry> assetTable();
    static const char* fileOf(int id);
    static std::vector<int> loadOrder();

    static constexpr int imageCount = 167;
    static constexpr int frameSize = 512;

    // Time spent so far turning files into pixels (on the decoding thread,
    // during construction) and making textures of them (on this thread).
    double decodeSeconds = 0;
    double uploadSeconds = 0;

    std::map<int, sf::Texture*> textures;
    std::map<int, sf::Sprite*> sprites;
    sf::Font font;

private:
    // Keeps `loaded` under `id` with its sprite (unless the id is taken, or
    // the load failed and there is nothing); then prints the progress line.
    void addTexture(int id, bool centered, std::unique_ptr<sf::Texture> loaded);
    void reportMissing(int id);
    const sf::Texture& fallbackTexture();

    std::ostream& console;
    std::vector<int> pendingMipmaps;
    std::set<int> reportedMissing;
    std::unique_ptr<sf::Texture> builtinFallback;
    std::map<int, std::unique_ptr<sf::Sprite>> fallbackSprites;
};
