#include "world/ProcessObjects.hpp"

#include "core/FileBytes.hpp"
#include "core/TTextureStore.hpp"

#include <SFML/System/Exception.hpp>

#include <stdexcept>
#include <string>
#include <vector>

TDeferred<sf::SoundBuffer> chickenSongBuffer;
TDeferred<sf::SoundBuffer> mainThemeBuffer;
TDeferred<sf::Sound> chickenSong;
TDeferred<sf::Sound> mainTheme;

TDeferred<sf::Sprite> cellSprite;

namespace {

// The whole file is read in one go and decoded from memory: the media
// library reads a sound file from disk a sample at a time, which takes
// tens of milliseconds for these tracks, and a fraction of one from memory.
void loadTrack(TDeferred<sf::SoundBuffer>& buffer, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, bytes))
        throw std::runtime_error("cannot load the sound file " + path);
    try {
        buffer.emplace(bytes.data(), bytes.size());
    } catch (const sf::Exception&) {
        throw std::runtime_error("cannot load the sound file " + path);
    }
}

} // namespace

void buildProcessObjects(bool withSound)
{
    if (withSound) {
        loadTrack(chickenSongBuffer, "src/sounds/chikensong.wav");
        loadTrack(mainThemeBuffer, "src/sounds/MainTheme.wav");
        chickenSong.emplace(*chickenSongBuffer);
        mainTheme.emplace(*mainThemeBuffer);
    }

    // The first sprite brings up the texture store, which loads every image.
    TTextureStore& store = TTextureStore::instance();
    cellSprite.emplace(store.getTexture(image::cell));
    frame68Sprite.emplace(store.getTexture(image::frame68));
    frame69Sprite.emplace(store.getTexture(image::frame69));
    frame70Sprite.emplace(store.getTexture(image::frame70));
    kurortEmotionSprite.emplace(store.getTexture(image::emotionKurort));

    resetGameObjects();
}

void destroyProcessObjects()
{
    shop.reset();
    sortMachine.reset();
    inventorySlots.reset();
    kurortEmotionSprite.reset();
    frame70Sprite.reset();
    frame69Sprite.reset();
    frame68Sprite.reset();
    cellSprite.reset();
    mainTheme.reset();
    chickenSong.reset();
    mainThemeBuffer.reset();
    chickenSongBuffer.reset();
}

void startSounds()
{
    for (TDeferred<sf::Sound>* sound : {&chickenSong, &mainTheme}) {
        if (!sound->built())
            continue;
        (*sound)->setVolume(25.f);
        (*sound)->setLooping(true);
        (*sound)->play();
    }
}
