#include "core/TTextureStore.hpp"

#include "core/HeapMemory.hpp"
#include "core/TDecodeRing.hpp"
#include "core/TImageDecoder.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Window/Context.hpp>
#include <SFML/Window/GlResource.hpp>


#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <ostream>
#include <stop_token>
#include <thread>
#include <vector>

namespace {

const TTextureStore::Entry assetEntries[] = {
    {0, "null.png"},
    {1, "texture_form.png"},
    {3, "texture_value_control.png"},
    {4, "button_value_control.png"},
    {5, "win1.png"},
    {6, "cursor1.png"},
    {7, "egg1.png"},
    {8, "egg2.png"},
    {9, "egg3.png"},
    {10, "egg4.png"},
    {11, "transporter1.png"},
    {12, "xray.png"},
    {13, "menu.png"},
    {14, "egg1xray.png"},
    {15, "embryomutanto 1.png"},
    {16, "embryo2mutanto.png"},
    {17, "embryo1.png"},
    {18, "embryo2 1.png"},
    {19, "embryorip 1.png"},
    {20, "term_indik.png"},
    {21, "term_btn1.png"},
    {22, "term_btn2.png"},
    {23, "chicken.png"},
    {24, "EggBreaking.png"},
    {25, "HatchingChick.png"},
    {26, "HatchingChickMutanto.png"},
    {27, "EggPuff.png"},
    {28, "cell.png"},
    {29, "Rectangle 221.png"},
    {30, "Rectangle 181.png"},
    {31, "Frame 40.png"},
    {32, "Frame 41.png"},
    {33, "Frame 43.png"},
    {34, "Frame 44.png"},
    {35, "Frame 46.png"},
    {36, "buttonControl.png"},
    {37, "chiken1.png"},
    {38, "Frame 60.png"},
    {39, "Frame 49.png"},
    {40, "Subtract.png"},
    {41, "feeding.png"},
    {42, "drinkingbowl.png"},
    {43, "indicator.png"},
    {44, "arrowindicator.png"},
    {45, "feed.png"},
    {46, "gutterfood.png"},
    {47, "Frame 67.png"},
    {48, "Frame 68.png"},
    {49, "Frame 69.png"},
    {50, "Frame 70.png"},
    {51, "Frame 71.png"},
    {52, "Frame 72.png"},
    {53, "eggC1.png"},
    {54, "Rectangle 260.png"},
    {55, "Rectangle 261.png"},
    {56, "progressbarValue.png"},
    {57, "FrameTimer.png"},
    {58, "FrameCurCoin.png"},
    {59, "FrameCountEggs.png"},
    {60, "phsiholog.png"},
    {61, "veterinar.png"},
    {62, "kurort.png"},
    {63, "WinSort.png"},
    {64, "buttonSort.png"},
    {65, "buttonSortPressed.png"},
    {66, "buttonClean.png"},
    {67, "buttonSound.png"},
    {68, "buttonShop.png"},
    {69, "buttonClose.png"},
    {70, "sortingMachine1.png"},
    {71, "sortingMachine2.png"},
    {72, "buttonStartSortMachine.png"},
    {73, "eggPackaging.png"},
    {74, "eggPackagingC0.png"},
    {75, "eggPackagingC1.png"},
    {76, "eggC1red.png"},
    {77, "eggC1green.png"},
    {78, "walk.png"},
    {79, "dance.png"},
    {80, "eat.png"},
    {81, "windowShop.png"},
    {82, "Ortomyk.png"},
    {83, "Plimsa.png"},
    {84, "inventory.png"},
    {85, "cormbaby1.png"},
    {86, "cormbaby2.png"},
    {87, "cormbaby3.png"},
    {88, "tabletki.png"},
    {89, "iconWarning.png"},
    {90, "emptyFeeding.png"},
    {91, "shopPage1.png"},
    {92, "shopPage2.png"},
    {93, "shopPage3.png"},
    {94, "shopPage1disable.png"},
    {95, "shopPage2disable.png"},
    {96, "shopPage3disable.png"},
    {97, "shopItemDisabled.png"},
    {98, "shopItem1.png"},
    {99, "shopItem2.png"},
    {100, "shopItem3.png"},
    {101, "shopItem4.png"},
    {102, "shopItem5.png"},
    {103, "shopItem6.png"},
    {104, "shopItem7.png"},
    {105, "shopItem8.png"},
    {106, "ShopSlotDisable.png"},
    {107, "ShopSlot.png"},
    {108, "shopPage1Background.png"},
    {109, "shopPage2Background.png"},
    {110, "shopPage3Background.png"},
    {111, "ChickEat.png"},
    {112, "ChickWalk.png"},
    {113, "zherlob.png"},
    {114, "ventilation.png"},
    {115, "panel1.png"},
    {116, "buttonShopPressed.png"},
    {117, "buttonPlus.png"},
    {118, "buttonPlusHover.png"},
    {119, "buttonPlusPressed.png"},
    {120, "buttonPlusDisabled.png"},
    {121, "buttonMinus.png"},
    {122, "buttonMinusHover.png"},
    {123, "buttonMinusPressed.png"},
    {124, "buttonMinusDisabled.png"},
    {125, "buttonCloseHover.png"},
    {126, "buttonClosePressed.png"},
    {127, "seat.png"},
    {128, "shopPage1Hover.png"},
    {129, "shopPage2Hover.png"},
    {130, "shopPage3Hover.png"},
    {131, "shopPage1Pressed.png"},
    {132, "shopPage2Pressed.png"},
    {133, "shopPage3Pressed.png"},
    {134, "button.png"},
    {135, "buttonHover.png"},
    {136, "buttonPressed.png"},
    {137, "buttonDisable.png"},
    {138, "buy.png"},
    {139, "CircleButton.png"},
    {140, "CircleButtonHover.png"},
    {141, "CircleButtonPressed.png"},
    {142, "iconScan.png"},
    {143, "iconScanWhite.png"},
    {144, "iconShop.png"},
    {145, "iconShopWhite.png"},
    {146, "iconMusic.png"},
    {147, "iconMusicWhite.png"},
    {148, "iconClean.png"},
    {149, "iconCleanWhite.png"},
    {150, "start.png"},
    {151, "kurort1.png"},
    {152, "kurort2.png"},
    {153, "emotionKurort.png"},
    {154, "pen1.png"},
    {155, "pen2.png"},
    {156, "pen3.png"},
    {157, "pollution1.png"},
    {158, "pollution2.png"},
    {159, "bubble.png"},
    {160, "bubble2.png"},
    {161, "majesticons_music.png"},
    {162, "egg0.png"},
    {163, "scene11msg1.png"},
    {164, "scene11msg2.png"},
    {165, "scene11msg3.png"},
    {166, "scene11msg4.png"},
    {167, "quest1.png"},};

bool isCentred(int id) { return id >= 142 && id <= 150; }

// The chicken sheets: 4096 x 2560 each, by far the largest images.
bool isChickenSheet(int id)
{
    switch (id) {
    case 78: case 79: case 80: case 111: case 112: case 127: case 151: case 152:
        return true;
    default:
        return false;
    }
}

// Images drawn smaller than their size: the chicken sheets, the three cards,
// the feeders and the drinking bowl. They are filtered smoothly, through
// mipmaps, so they stay clean when scaled down.
bool isDrawnSmaller(int id)
{
    switch (id) {
    case 60: case 61: case 62: // cards
    case 41: case 90: case 42: // feeders, bowl
        return true;
    default:
        return isChickenSheet(id);
    }
}

// The first bytes of a file, enough for a PNG's signature and header.
struct FileHead {
    std::uint8_t bytes[33] = {};
    bool read = false;
};

FileHead readHead(const std::string& path)
{
    FileHead head;
    std::ifstream in(path, std::ios::binary);
    head.read = static_cast<bool>(in.read(reinterpret_cast<char*>(head.bytes), sizeof head.bytes));
    return head;
}

// What a texture of the PNG with this header takes: its pixels, and a
// little for the driver's books. Zero when the file is missing or not a PNG.
std::size_t textureBytes(const FileHead& head)
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!head.read || !TImageDecoder::readSize(head.bytes, sizeof head.bytes, width, height))
        return 0;
    if (width > (1u << 16) || height > (1u << 16))
        return 0; // the driver refuses such sizes anyway
    const std::size_t pixels = std::size_t{width} * height * 4;
    return pixels + pixels / 64 + 16 * 1024;
}

// Keeps the media library's shared graphics context active on this thread
// while the images are loaded (the first one also starts the graphics
// driver), so the hundreds of texture calls do not each switch contexts.
class LoadingContext : sf::GlResource {
public:
    // True when the context draws in software, keeping its textures in this
    // process's own memory.
    bool softwareRenderer() const
    {
        using GetString = const unsigned char* (*)(unsigned int);
        constexpr unsigned int glRenderer = 0x1F01;
        const auto getString = reinterpret_cast<GetString>(sf::Context::getFunction("glGetString"));
        const unsigned char* name = getString ? getString(glRenderer) : nullptr;
        if (!name)
            return false;
        const std::string renderer(reinterpret_cast<const char*>(name));
        for (const char* known : {"llvmpipe", "softpipe", "swrast", "Software"})
            if (renderer.find(known) != std::string::npos)
                return true;
        return false;
    }

private:
    TransientContextLock active;
};

// A software renderer takes each texture's memory from malloc, and on these
// virtual machines the first write to a fresh small page is slow: hundreds of
// megabytes of textures cost more than decoding them. Large pages are quick
// to write once they are there, but getting them can be slow too (a virtual
// machine hands freed memory back to its host within a second or so). So the
// heap is grown once to hold every texture, on large pages, and a helper
// thread fills it from the bottom up, ahead of the textures that are carved
// out of it in order, while the images are decoded and the graphics driver
// starts up.
class TextureMemory {
public:
    explicit TextureMemory(std::size_t bytes)
    {
        if (bytes == 0)
            return;
        const THeapRange range = growHeap(bytes);
        if (range.size() == 0)
            return;
        filler = std::jthread([range](std::stop_token stop) {
            (void)fillWithPages(reinterpret_cast<void*>(range.first), range.size(),
                                [&] { return stop.stop_requested(); });
        });
    }

    // Once every texture exists, whatever is left unfilled is not needed.
    ~TextureMemory() { filler.request_stop(); }

private:
    std::jthread filler;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Makes the image drawn smaller than its size smooth; its mipmaps, which make
// it clean at the small sizes, are made in the first frames instead of before
// the window opens (see generatePendingMipmaps).
void prepareFiltering(int id, sf::Texture& texture)
{
    if (isDrawnSmaller(id))
        texture.setSmooth(true);
}

// A texture of decoded pixels, or none when the graphics driver refuses the
// size (it says why on the error stream, as it would for the file).
std::unique_ptr<sf::Texture> makeTexture(int id, const TImageDecoder::Pixels& pixels)
{
    auto texture = std::make_unique<sf::Texture>();
    if (!texture->resize(pixels.size))
        return nullptr;
    texture->update(pixels.data);
    prepareFiltering(id, *texture);
    return texture;
}

// The media library's own way, for the files the quick decoder declines:
// its own checks, its own error messages.
std::unique_ptr<sf::Texture> loadFromFile(int id, const std::string& path)
{
    auto texture = std::make_unique<sf::Texture>();
    if (!texture->loadFromFile(path))
        return nullptr;
    prepareFiltering(id, *texture);
    return texture;
}

// The texture of step `id`: from its decoded pixels when there are any, else
// from the file, the media library's way.
std::unique_ptr<sf::Texture> textureOf(int id, const std::string& path, const TImageDecoder::Pixels* pixels)
{
    return pixels ? makeTexture(id, *pixels) : loadFromFile(id, path);
}

struct LoadStep {
    int id;
    std::string path;
    std::size_t decodeBytes; // what the quick decoder needs for it; 0 if it declines the file
};

// Decodes the images on a second thread, in load order, while the
// constructing thread (the one with the graphics context) makes textures of
// them and prints the progress. The decoded images wait in one ring of
// memory as big as the largest image, so the decoder runs ahead over small
// images while a texture is being made, none is copied, and the peak memory
// stays at the plain loader's (the textures plus one image). Files the quick
// decoder declines come back empty and are loaded by the constructing
// thread, so the media library's messages about them appear on the console
// exactly where they always did.
class DecodeAhead {
public:
    explicit DecodeAhead(const std::vector<LoadStep>& steps)
        : steps(steps), results(steps.size()), stillNeeded(steps.size() + 1, 0), ring(largest(steps)),
          worker([this](std::stop_token stop) { run(stop); })
    {
    }

    // Waits for step `index` and returns its pixels, or none when the file
    // is left to the caller. They stay valid until `release(index)`.
    std::optional<TImageDecoder::Pixels> take(std::size_t index)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return decoded > index; });
        return results[index];
    }

    // The caller is done with the pixels of step `index` (steps are released
    // in order).
    void release(std::size_t index)
    {
        std::lock_guard lock(mutex);
        if (results[index])
            ring.giveBack();
        changed.notify_all();
    }

    // Seconds the worker spent decoding; read once every step is released.
    double decodeSeconds() const { return busySeconds; }

private:
    static std::size_t largest(const std::vector<LoadStep>& steps)
    {
        std::size_t most = 0;
        for (const LoadStep& step : steps)
            most = std::max(most, step.decodeBytes);
        return most;
    }

    // Room in the ring for an image of `bytes`, once the images before it
    // leave enough; null to leave the file to the caller, or when stopped.
    std::uint8_t* place(std::size_t bytes, const std::stop_token& stop)
    {
        std::unique_lock lock(mutex);
        if (ring.tooSmallFor(bytes))
            return nullptr;
        std::uint8_t* at = nullptr;
        changed.wait(lock, stop, [&] { return (at = ring.take(bytes)) != nullptr; });
        return at;
    }

    void run(std::stop_token stop)
    {
        for (std::size_t i = steps.size(); i-- > 0;)
            stillNeeded[i] = std::max(stillNeeded[i + 1], steps[i].decodeBytes);
        (void)ring.fill([&] { return stop.stop_requested(); });
        for (std::size_t i = 0; i < steps.size() && !stop.stop_requested(); ++i) {
            if (ring.wouldShrink(stillNeeded[i])) {
                // Only much smaller images remain: once the big ones are made
                // into textures, the ring gives back what they no longer need.
                std::unique_lock lock(mutex);
                if (!changed.wait(lock, stop, [&] { return ring.empty(); }))
                    return;
                ring.shrinkTo(stillNeeded[i]);
            }
            const auto start = std::chrono::steady_clock::now();
            TImageDecoder::Pixels pixels;
            std::optional<TImageDecoder::Pixels> result;
            bool placed = false;
            const bool ok = decoder.decode(steps[i].path, pixels, [&](std::size_t bytes) {
                std::uint8_t* at = place(bytes, stop);
                placed = at != nullptr;
                return at;
            });
            if (ok)
                result = pixels;
            const double spent = secondsSince(start);
            std::lock_guard lock(mutex);
            // A file that got room but then failed to decode gives it back.
            if (placed && !ok)
                ring.takeBack();
            busySeconds += spent;
            results[i] = result;
            decoded = i + 1;
            changed.notify_all();
        }
    }

    const std::vector<LoadStep>& steps;
    std::vector<std::optional<TImageDecoder::Pixels>> results;
    std::vector<std::size_t> stillNeeded; // the largest image from each step on
    std::mutex mutex;
    std::condition_variable_any changed;
    std::size_t decoded = 0;
    double busySeconds = 0;
    TDecodeRing ring;
    TImageDecoder decoder;
    std::jthread worker; // last: starts once everything above exists
};

} // namespace

std::span<const TTextureStore::Entry> TTextureStore::assetTable() { return assetEntries; }

const char* TTextureStore::fileOf(int id)
{
    for (const Entry& e : assetEntries)
        if (e.id == id)
            return e.file;
    return nullptr;
}

std::vector<int> TTextureStore::loadOrder()
{
    std::vector<int> order;
    for (const Entry& e : assetEntries) {
        if (e.id == 69 || e.id == 106)
            continue;
        order.push_back(e.id);
        if (e.id == 107)
            order.push_back(106);
        if (e.id == 124)
            order.push_back(69);
    }
    return order;
}

TTextureStore& TTextureStore::instance()
{
    // Created on first use and kept to the end of the process: every sprite
    // of the game refers to its textures.
    static TTextureStore store(std::cout);
    return store;
}

TTextureStore::TTextureStore(std::ostream& console) : console(console)
{
    if (!font.openFromFile("C:/Windows/Fonts/Arial.ttf")) {
        // The game's own copy; if it is missing too, texts simply stay empty.
        if (!font.openFromFile("src/fonts/Arial.ttf"))
            std::cerr << "henhouse: font src/fonts/Arial.ttf is missing; texts will not be shown" << std::endl;
    }

    std::vector<LoadStep> steps;
    std::size_t memoryNeeded = 0;
    for (int id : loadOrder()) {
        std::string path = std::string("src/images/") + fileOf(id);
        const FileHead head = readHead(path);
        memoryNeeded += textureBytes(head);
        steps.push_back({id, std::move(path), TImageDecoder::workingBytes(head.bytes, head.read ? sizeof head.bytes : 0)});
    }

    DecodeAhead decoding(steps);
    // The graphics driver starts while the first images are being decoded.
    const LoadingContext context;
    TextureMemory memory(context.softwareRenderer() ? memoryNeeded : 0);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::optional<TImageDecoder::Pixels> pixels = decoding.take(i);
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<sf::Texture> texture = textureOf(steps[i].id, steps[i].path, pixels ? &*pixels : nullptr);
        uploadSeconds += secondsSince(start);
        decoding.release(i);
        addTexture(steps[i].id, isCentred(steps[i].id), std::move(texture));
    }
    decodeSeconds += decoding.decodeSeconds();

    if (auto it = sprites.find(78); it != sprites.end())
        it->second->setTextureRect(sf::IntRect({0, 0}, {frameSize, frameSize}));

    // The small pictures first: they are on screen from the start.
    for (bool sheets : {false, true})
        for (const LoadStep& step : steps)
            if (isDrawnSmaller(step.id) && isChickenSheet(step.id) == sheets && textures.count(step.id) != 0)
                pendingMipmaps.push_back(step.id);
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

// Textures and sprites are deliberately leaked: sprites all over the game
// refer to them until the very end of the process.
TTextureStore::~TTextureStore() = default;

void TTextureStore::loadTexture(int id, const std::string& path, bool centered)
{
    const auto start = std::chrono::steady_clock::now();
    TImageDecoder decoder;
    TImageDecoder::Pixels pixels;
    const bool quick = decoder.decode(path, pixels);
    decodeSeconds += secondsSince(start);
    const auto uploadStart = std::chrono::steady_clock::now();
    std::unique_ptr<sf::Texture> texture = textureOf(id, path, quick ? &pixels : nullptr);
    uploadSeconds += secondsSince(uploadStart);
    if (texture && isDrawnSmaller(id) && textures.count(id) == 0)
        pendingMipmaps.push_back(id);
    addTexture(id, centered, std::move(texture));
}

void TTextureStore::addTexture(int id, bool centered, std::unique_ptr<sf::Texture> loaded)
{
    if (loaded) {
        sf::Texture* texture = loaded.release();
        if (textures.count(id) != 0) {
            console << "По такому ID уже загружена текстура!" << '\n';
            delete texture;
        } else {
            textures[id] = texture;
            auto* sprite = new sf::Sprite(*texture);
            if (centered) {
                const sf::IntRect rect = sprite->getTextureRect();
                sprite->setOrigin({static_cast<float>(rect.size.x) / 2.f, static_cast<float>(rect.size.y) / 2.f});
            }
            sprites[id] = sprite;
        }
    }
    console << "\x1b[2J\x1b[1;1H" << "loading textures " << id << "/" << imageCount << '\n';
    console.flush();
}

void TTextureStore::reportMissing(int id)
{
    if (!reportedMissing.insert(id).second)
        return;
    const char* file = fileOf(id);
    std::cerr << "henhouse: image " << id << " (src/images/" << (file ? file : "?")
              << ") is not loaded; showing a placeholder instead" << std::endl;
}

const sf::Texture& TTextureStore::fallbackTexture()
{
    if (auto it = textures.find(0); it != textures.end())
        return *it->second;
    if (!builtinFallback) {
        // A small fully transparent square, like the placeholder image.
        builtinFallback = std::make_unique<sf::Texture>(sf::Image({64, 64}, sf::Color::Transparent));
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

void TTextureStore::drawSprite(sf::RenderTarget& target, int id)
{
    target.draw(getSprite(id));
}

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
