#include "world/ProcessObjects.hpp"

#include "core/DataFolder.hpp"
#include "core/Globals.hpp"
#include "core/RegularFile.hpp"
#include "core/TQuietStderr.hpp"
#include "core/TTextureStore.hpp"
#include "platform/StartupMemory.hpp"

#include <SFML/Audio/PlaybackDevice.hpp>
#include <SFML/System/Exception.hpp>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

TDeferred<sf::SoundBuffer> chickenSongBuffer;
TDeferred<sf::SoundBuffer> mainThemeBuffer;
TDeferred<sf::Sound> chickenSong;
TDeferred<sf::Sound> mainTheme;

TDeferred<sf::Sprite> cellSprite;

namespace {

// The pause holds the music without changing the player's setting.
bool musicHeld = false;

// Both tracks play while the music is on and nothing holds it; else both
// pause, keeping their place. The music button, the M key and the pause
// all come here.
void applyMusic()
{
    for (TDeferred<sf::Sound>* sound : {&chickenSong, &mainTheme}) {
        if (!sound->built())
            continue;
        // A track playing already plays on (play() would start it over).
        if (musicOn && !musicHeld) {
            if ((*sound)->getStatus() != sf::SoundSource::Status::Playing)
                (*sound)->play();
        } else {
            (*sound)->pause();
        }
    }
}

// Larger than any track of ours by far; a file this big is not one of them.
constexpr std::size_t maxTrackBytes = std::size_t{512} << 20;

// The whole file is read in one go and decoded from memory: the media
// library reads a sound file from disk a sample at a time, which takes
// tens of milliseconds for these tracks, and a fraction of one from memory.
// A failure names the file and says what is wrong with it.
void loadTrack(TDeferred<sf::SoundBuffer>& buffer, const std::string& path)
{
    const std::string failed = "cannot load the sound file " + path + ": ";
    std::string why;
    const auto bytes = readRegularFile(path, maxTrackBytes, why);
    if (!bytes) {
        if (why == "no such file") {
            std::error_code ignored;
            const bool fromWorkingDirectory = std::filesystem::path(path).is_relative();
            why += std::string(" (")
                   + (fromWorkingDirectory ? "the game looks its files up under the working directory; " : "")
                   + "tried " + escapedForTerminal(std::filesystem::absolute(path, ignored).string()) + ")";
        }
        throw std::runtime_error(failed + why);
    }
    try {
        buffer.emplace(bytes->data(), bytes->size());
    } catch (const sf::Exception&) {
        throw std::runtime_error(failed + "damaged or not a WAV file");
    }
}

} // namespace

void buildProcessObjects(bool withSound)
{
    if (withSound) {
        bool device = false;
        {
            // The audio library and the sound system below it report a
            // missing device, and every file they cannot decode, in dozens of
            // lines of their own; we say it once, ourselves.
            const TQuietStderr quiet;
            loadTrack(chickenSongBuffer, dataFile("sounds/chikensong.wav"));
            loadTrack(mainThemeBuffer, dataFile("sounds/MainTheme.wav"));
            // The first sound opens the playback device.
            chickenSong.emplace(*chickenSongBuffer);
            mainTheme.emplace(*mainThemeBuffer);
            device =
                sf::PlaybackDevice::getDeviceSampleRate().has_value() || sf::PlaybackDevice::getDevice().has_value();
        }
        if (!device) {
            // Sounds without a device would only complain again on every call.
            mainTheme.reset();
            chickenSong.reset();
            std::cerr << "henhouse: no audio device: playing silently\n";
        }
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
    musicHeld = false;
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
        if (musicOn && !musicHeld)
            (*sound)->play();
    }
}

void setMusicOn(bool on)
{
    musicOn = on;
    applyMusic();
}

void holdMusic(bool held)
{
    musicHeld = held;
    applyMusic();
}

bool continueStart(bool firstCall)
{
    if (firstCall)
        (void)giveBackSpareMemory();
    const bool more = TTextureStore::instance().generatePendingMipmaps(1);
    releaseFreeHeap();
    // The pages of code the start alone ran go once the first mipmap is
    // made (which has the renderer compile its copying), so they are not
    // held through the mipmaps of the large sheets; and once more after the
    // last, for any the mipmaps touched again.
    if (firstCall || !more)
        (void)releaseUnwrittenFilePages();
    return more;
}
