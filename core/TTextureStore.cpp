#include "core/TTextureStore.hpp"

#include "core/DataFolder.hpp"
#include "core/ImageTable.hpp"
#include "core/TImageLoader.hpp"
#include "platform/Terminal.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Err.hpp>

#include <iostream>
#include <ostream>
#include <streambuf>

namespace {

bool isCentred(int id) { return id >= image::iconScan && id <= image::start; }

// Keeps the media library's error stream quiet while alive.
class QuietLibrary {
public:
    QuietLibrary()
        : saved(sf::err().rdbuf(nullptr))
    {
    }
    ~QuietLibrary() { sf::err().rdbuf(saved); }
    QuietLibrary(const QuietLibrary&) = delete;
    QuietLibrary& operator=(const QuietLibrary&) = delete;

private:
    std::streambuf* saved;
};

} // namespace

TTextureStore& TTextureStore::instance()
{
    // Created on first use and kept to the end of the process: every sprite
    // of the game refers to its textures. Process-wide objects built later
    // are torn down before it (see destroyProcessObjects).
    static TTextureStore store(std::cout, Settings{standardOutputIsTerminal(), true});
    return store;
}

TTextureStore::TTextureStore(std::ostream& out)
    : TTextureStore(out, Settings{})
{
}

TTextureStore::TTextureStore(std::ostream& out, Settings chosen)
    : console(out)
    , settings(chosen)
{
    openFont();

    TImageLoader loader(settings.designedSizes ? TImageLoader::Sizes::designed : TImageLoader::Sizes::any);
    loader.loadAll(imageLoadOrder(),
                   [this](int id, std::unique_ptr<sf::Texture> texture, bool named, TImageLoader::Shapes shapes) {
                       if (named)
                           reportedMissing.insert(id);
                       addTexture(id, isCentred(id), std::move(texture), std::move(shapes.ink), std::move(shapes.press),
                                  shapes.interior);
                   });
    decodeSeconds += loader.decodeSeconds;
    uploadSeconds += loader.uploadSeconds;

    if (auto it = sprites.find(image::walk); it != sprites.end())
        it->second->setTextureRect(sf::IntRect({0, 0}, {frameSize, frameSize}));

    // The small pictures first: they are on screen from the start.
    for (bool sheets : {false, true})
        for (int id : imageLoadOrder())
            if (TImageLoader::drawnSmaller(id) && TImageLoader::chickenSheet(id) == sheets && hasTexture(id))
                pendingMipmaps.push_back(id);
}

TTextureStore::~TTextureStore() = default;

void TTextureStore::openFont()
{
    // The system font the game was made with is only ever present on some
    // machines: trying it is no news. The game's own copy is the real one.
    {
        const QuietLibrary quiet;
        if (font.openFromFile("C:/Windows/Fonts/Arial.ttf"))
            return;
    }
    // If it is missing too, texts simply stay empty.
    const std::string path = dataFile("fonts/Arial.ttf");
    if (!font.openFromFile(path))
        std::cerr << "henhouse: font " << path << " is missing; texts will not be shown" << std::endl;
}

std::vector<int> TTextureStore::loadedIds() const
{
    std::vector<int> ids;
    for (const auto& [id, texture] : textures)
        ids.push_back(id);
    return ids;
}

bool TTextureStore::generatePendingMipmaps(std::size_t count)
{
    // Until a sheet has its mipmaps it is still drawn smoothly, only without
    // the finer filtering of the small sizes.
    while (count > 0 && !pendingMipmaps.empty()) {
        (void)textures.at(pendingMipmaps.front())->generateMipmap();
        pendingMipmaps.erase(pendingMipmaps.begin());
        --count;
    }
    return !pendingMipmaps.empty();
}

void TTextureStore::loadTexture(int id, const std::string& path, bool centered)
{
    TImageLoader loader(settings.designedSizes ? TImageLoader::Sizes::designed : TImageLoader::Sizes::any);
    loader.loadOne(id, path,
                   [&](int loadedId, std::unique_ptr<sf::Texture> texture, bool named, TImageLoader::Shapes shapes) {
                       if (named)
                           reportedMissing.insert(loadedId);
                       if (texture && TImageLoader::drawnSmaller(loadedId) && !hasTexture(loadedId))
                           pendingMipmaps.push_back(loadedId);
                       addTexture(loadedId, centered, std::move(texture), std::move(shapes.ink),
                                  std::move(shapes.press), shapes.interior);
                   });
    decodeSeconds += loader.decodeSeconds;
    uploadSeconds += loader.uploadSeconds;
}

const TInkMap* TTextureStore::inkMap(const sf::Texture& texture) const
{
    const auto it = inkMaps.find(&texture);
    return it == inkMaps.end() ? nullptr : &it->second;
}

const TPressMask* TTextureStore::pressMask(const sf::Texture& texture) const
{
    const auto it = pressMasks.find(&texture);
    return it == pressMasks.end() ? nullptr : &it->second;
}

std::optional<sf::IntRect> TTextureStore::opaqueInterior(const sf::Texture& texture) const
{
    const auto it = interiors.find(&texture);
    if (it == interiors.end())
        return std::nullopt;
    return it->second;
}

void TTextureStore::addTexture(int id, bool centered, std::unique_ptr<sf::Texture> loaded, TInkMap ink,
                               TPressMask press, std::optional<sf::IntRect> interior)
{
    if (loaded) {
        if (hasTexture(id)) {
            console << "По такому ID уже загружена текстура!" << '\n';
        } else {
            auto sprite = std::make_unique<sf::Sprite>(*loaded);
            if (centered) {
                const sf::IntRect rect = sprite->getTextureRect();
                sprite->setOrigin({static_cast<float>(rect.size.x) / 2.f, static_cast<float>(rect.size.y) / 2.f});
            }
            if (!ink.empty())
                inkMaps.emplace(loaded.get(), std::move(ink));
            if (!press.empty())
                pressMasks.emplace(loaded.get(), std::move(press));
            if (interior)
                interiors.emplace(loaded.get(), *interior);
            textures[id] = std::move(loaded);
            sprites[id] = std::move(sprite);
        }
    }
    if (settings.terminal)
        console << "\x1b[2J\x1b[1;1H";
    console << "loading textures " << id << "/" << imageCount << '\n';
    console.flush();
}

void TTextureStore::reportMissing(int id)
{
    if (!reportedMissing.insert(id).second)
        return;
    const TImageInfo* info = findImage(id);
    std::cerr << "henhouse: image " << id << " (" << dataFile(std::string("images/") + (info ? info->file : "?"))
              << ") is not loaded; showing a placeholder instead" << std::endl;
}

const sf::Texture& TTextureStore::fallbackTexture()
{
    if (auto it = textures.find(image::placeholder); it != textures.end())
        return *it->second;
    if (!builtinFallback) {
        // A small fully transparent square, like the placeholder image; a
        // press finds nothing drawn on it.
        const sf::Image transparent({64, 64}, sf::Color::Transparent);
        builtinFallback = std::make_unique<sf::Texture>(transparent);
        pressMasks.emplace(builtinFallback.get(), TPressMask(transparent.getPixelsPtr(), transparent.getSize()));
        interiors.emplace(builtinFallback.get(), sf::IntRect());
    }
    return *builtinFallback;
}

const sf::Texture& TTextureStore::getTexture(int id)
{
    if (auto it = textures.find(id); it != textures.end())
        return *it->second;
    reportMissing(id);
    return fallbackTexture();
}

sf::Sprite& TTextureStore::getSprite(int id)
{
    if (auto it = sprites.find(id); it != sprites.end())
        return *it->second;
    reportMissing(id);
    // Each missing id gets its own stand-in stamp, so positions set on it
    // behave as they would on the real sprite.
    auto& slot = fallbackSprites[id];
    if (!slot)
        slot = std::make_unique<sf::Sprite>(fallbackTexture());
    return *slot;
}

void TTextureStore::drawSprite(sf::RenderTarget& target, int id) { target.draw(getSprite(id)); }

void TTextureStore::drawSpriteAt(sf::RenderTarget& target, int id, sf::Vector2f position)
{
    sf::Sprite& sprite = getSprite(id);
    sprite.setPosition(position);
    target.draw(sprite);
}

bool TTextureStore::spriteContains(int id, float x, float y)
{
    const sf::Sprite& sprite = getSprite(id);
    const sf::Vector2f pos = sprite.getPosition();
    const sf::IntRect rect = sprite.getTextureRect();
    return pos.x <= x && x <= pos.x + static_cast<float>(rect.size.x) && pos.y <= y
           && y <= pos.y + static_cast<float>(rect.size.y);
}
