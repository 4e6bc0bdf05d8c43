#include "core/TImageLoader.hpp"

#include "core/DataFolder.hpp"
#include "core/ImageTable.hpp"
#include "core/OpaqueInterior.hpp"
#include "core/TDecodeRing.hpp"
#include "core/TImageDecoder.hpp"
#include "platform/StartupMemory.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Window/Context.hpp>
#include <SFML/Window/GlResource.hpp>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace {

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

// The size in a PNG header; none when the file is missing or not a PNG.
std::optional<sf::Vector2u> headerSize(const FileHead& head)
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!head.read || !TImageDecoder::readSize(head.bytes, sizeof head.bytes, width, height))
        return std::nullopt;
    return sf::Vector2u{width, height};
}

// What a texture of the PNG with this header takes: its pixels, and a
// little for the driver's books. Zero when the file is missing or not a PNG.
std::size_t textureBytes(const std::optional<sf::Vector2u>& size)
{
    if (!size || size->x > (1u << 16) || size->y > (1u << 16))
        return 0; // the driver refuses such sizes anyway
    const std::size_t pixels = std::size_t{size->x} * size->y * 4;
    return pixels + pixels / 64 + 16 * 1024;
}

// Why the file at `path` must not even be opened: something other than a
// regular file stands there (reading a directory as a file asks for absurd
// amounts of memory, and opening a pipe waits for ever). Empty when it is a
// regular file, or when nothing is there (the media library says so itself).
std::string notAFile(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type()) {
    case fs::file_type::regular:
    case fs::file_type::not_found: return {};
    case fs::file_type::directory: return "it is a directory, not a file";
    case fs::file_type::fifo: return "it is a pipe, not a file";
    default: return error ? error.message() : "it is not a regular file";
    }
}

// The designed size of image `id`, when the loader holds images to it.
std::optional<sf::Vector2u> designedSize(int id, TImageLoader::Sizes sizes)
{
    const TImageInfo* info = findImage(id);
    if (sizes != TImageLoader::Sizes::designed || !info)
        return std::nullopt;
    return sf::Vector2u{static_cast<unsigned>(info->width), static_cast<unsigned>(info->height)};
}

std::string wrongSizeLine(int id, const std::string& path, sf::Vector2u size, sf::Vector2u designed)
{
    return "henhouse: image " + std::to_string(id) + " (" + path + ") is " + std::to_string(size.x) + " x "
           + std::to_string(size.y) + ", not " + std::to_string(designed.x) + " x " + std::to_string(designed.y)
           + "; showing a placeholder instead";
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

// A software renderer takes each texture's memory from malloc (see
// platform/StartupMemory.hpp for why that is slow here). So the heap is
// grown once to hold every texture, on large pages, and a helper thread
// fills it from the bottom up, ahead of the textures that are carved out of
// it in order, while the images are decoded and the graphics driver starts.
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
// the window opens (see TTextureStore::generatePendingMipmaps).
void prepareFiltering(int id, sf::Texture& texture)
{
    if (TImageLoader::drawnSmaller(id))
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

// One image to load, as far as it is known before its file is read.
struct LoadStep {
    int id = 0;
    std::string path;
    std::size_t decodeBytes = 0;  // what the quick decoder needs for it; 0 if it declines the file
    std::size_t textureBytes = 0; // what its texture will take, as far as its header says
    std::string refusal;          // the line saying why the file is not read at all, if it is not
    bool named = false;           // the refusal already says that a placeholder stands in
};

LoadStep planStep(int id, std::string path, TImageLoader::Sizes sizes)
{
    LoadStep step;
    step.id = id;
    step.path = std::move(path);
    if (const std::string why = notAFile(step.path); !why.empty()) {
        step.refusal = "henhouse: cannot load image " + step.path + ": " + why;
        return step;
    }
    const FileHead head = readHead(step.path);
    const std::optional<sf::Vector2u> size = headerSize(head);
    if (const auto designed = designedSize(id, sizes); size && designed && *size != *designed) {
        // Not decoded at all: a wrong size may well be a huge one.
        step.refusal = wrongSizeLine(id, step.path, *size, *designed);
        step.named = true;
        return step;
    }
    step.textureBytes = textureBytes(size);
    step.decodeBytes = TImageDecoder::workingBytes(head.bytes, head.read ? sizeof head.bytes : 0);
    return step;
}

// Decodes the images on a second thread, in load order, while the
// constructing thread (the one with the graphics context) makes textures of
// them. The decoded images wait in one ring of memory as big as the largest
// image, so the decoder runs ahead over small images while a texture is
// being made, none is copied, and the peak memory stays at the plain
// loader's (the textures plus one image). Files the quick decoder declines
// come back empty and are loaded by the constructing thread, so the media
// library's messages about them appear on the console exactly where they
// always did. Refused files are not touched.
class DecodeAhead {
public:
    explicit DecodeAhead(const std::vector<LoadStep>& order)
        : steps(order)
        , results(order.size())
        , shapes(order.size())
        , stillNeeded(order.size() + 1, 0)
        , ring(largest(order))
        , worker([this](std::stop_token stop) { run(stop); })
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

    // What the pixels of step `index` told of its shape (taken once,
    // after `take(index)`).
    TImageLoader::Shapes takeShapes(std::size_t index)
    {
        std::lock_guard lock(mutex);
        return std::move(shapes[index]);
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
            // A chicken sheet's ink map, and a pressed picture's mask, are
            // made row by row as the rows come.
            TImageLoader::Shapes shape;
            const bool inked = TImageLoader::chickenSheet(steps[i].id);
            const bool pressed = TImageLoader::pressedPicture(steps[i].id);
            TImageDecoder::RowSeen shapeOf;
            if (inked || pressed)
                shapeOf = [&shape, inked, pressed](sf::Vector2u size, unsigned y, const std::uint8_t* row) {
                    if (y == 0) {
                        if (inked)
                            shape.ink = TInkMap(size);
                        if (pressed)
                            shape.press = TPressMask(size);
                    }
                    if (inked)
                        shape.ink.addRow(y, row);
                    if (pressed)
                        shape.press.addRow(y, row);
                };
            const bool ok = steps[i].refusal.empty()
                            && decoder.decode(
                                steps[i].path, pixels,
                                [&](std::size_t bytes) {
                                    std::uint8_t* at = place(bytes, stop);
                                    placed = at != nullptr;
                                    return at;
                                },
                                shapeOf);
            if (ok && TImageLoader::plate(steps[i].id))
                shape.interior = opaqueInteriorOf(pixels.data, pixels.size);
            if (ok)
                result = pixels;
            else
                shape = TImageLoader::Shapes();
            const double spent = secondsSince(start);
            std::lock_guard lock(mutex);
            shapes[i] = std::move(shape);
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
    std::vector<TImageLoader::Shapes> shapes;
    std::vector<std::size_t> stillNeeded; // the largest image from each step on
    std::mutex mutex;
    std::condition_variable_any changed;
    std::size_t decoded = 0;
    double busySeconds = 0;
    TDecodeRing ring;
    TImageDecoder decoder;
    std::jthread worker; // last: starts once everything above exists
};

// The press mask and the opaque interior of an image the media library
// loaded (a file the quick decoder declined), from the file's pixels as the
// library reads them; the ink map stays empty.
void shapesFromFile(int id, const std::string& path, TImageLoader::Shapes& shapes)
{
    const bool pressed = TImageLoader::pressedPicture(id), plate = TImageLoader::plate(id);
    sf::Image image;
    if ((!pressed && !plate) || !image.loadFromFile(path))
        return;
    if (pressed)
        shapes.press = TPressMask(image.getPixelsPtr(), image.getSize());
    if (plate)
        shapes.interior = opaqueInteriorOf(image.getPixelsPtr(), image.getSize());
}

// The texture of a step: from its decoded pixels when there are any, else
// from the file, the media library's way; none for a refused file. A file
// whose size only shows once it is loaded is held to its designed size here.
std::unique_ptr<sf::Texture> finishStep(const LoadStep& step, const TImageDecoder::Pixels* pixels,
                                        TImageLoader::Sizes sizes, bool& named)
{
    named = step.named;
    if (!step.refusal.empty()) {
        std::cerr << step.refusal << std::endl;
        return nullptr;
    }
    std::unique_ptr<sf::Texture> texture = pixels ? makeTexture(step.id, *pixels) : loadFromFile(step.id, step.path);
    if (const auto designed = designedSize(step.id, sizes); texture && designed && texture->getSize() != *designed) {
        std::cerr << wrongSizeLine(step.id, step.path, texture->getSize(), *designed) << std::endl;
        named = true;
        return nullptr;
    }
    return texture;
}

} // namespace

TImageLoader::TImageLoader(Sizes checked)
    : sizes(checked)
{
}

bool TImageLoader::chickenSheet(int id)
{
    switch (id) {
    case image::walk:
    case image::dance:
    case image::eat:
    case image::chickEat:
    case image::chickWalk:
    case image::seat:
    case image::kurort1:
    case image::kurort2: return true;
    default: return false;
    }
}

bool TImageLoader::pressedPicture(int id)
{
    switch (id) {
    case image::placeholder:
    case image::ortomyk:
    case image::plimsa:
    case image::scene11msg1:
    case image::scene11msg2:
    case image::scene11msg3:
    case image::scene11msg4:
    case image::quest1:
    case image::buttonControl:
    case image::frameCountEggs:
    case image::frameCurCoin:
    case image::frameTimer:
    case image::inventory:
    case image::buttonSort:
    case image::buttonSortPressed:
    case image::buttonShop:
    case image::buttonShopPressed:
    case image::buttonSound:
    case image::buttonClean:
    case image::circleButton:
    case image::circleButtonHover:
    case image::circleButtonPressed:
    case image::phsiholog:
    case image::veterinar:
    case image::kurort: return true;
    default: return false;
    }
}

bool TImageLoader::plate(int id)
{
    switch (id) {
    case image::placeholder:
    case image::buttonControl:
    case image::buttonSort:
    case image::buttonSortPressed:
    case image::buttonShop:
    case image::buttonShopPressed:
    case image::buttonSound:
    case image::buttonClean:
    case image::circleButton:
    case image::circleButtonHover:
    case image::circleButtonPressed:
    case image::frameCountEggs:
    case image::frameCurCoin:
    case image::frameTimer:
    case image::inventory:
    case image::winSort:
    case image::windowShop:
    case image::shopPage1Background:
    case image::shopPage2Background:
    case image::shopPage3Background: return true;
    default: return false;
    }
}

bool TImageLoader::drawnSmaller(int id)
{
    switch (id) {
    case image::phsiholog:
    case image::veterinar:
    case image::kurort: // cards
    case image::feeding:
    case image::emptyFeeding:
    case image::drinkingbowl: return true;
    default: return chickenSheet(id);
    }
}

void TImageLoader::loadAll(const std::vector<int>& ids, const Keep& keep)
{
    std::vector<LoadStep> steps;
    std::size_t memoryNeeded = 0;
    for (int id : ids) {
        const TImageInfo* info = findImage(id);
        steps.push_back(planStep(id, dataFile(std::string("images/") + (info ? info->file : "?")), sizes));
        memoryNeeded += steps.back().textureBytes;
    }

    DecodeAhead decoding(steps);
    // The graphics driver starts while the first images are being decoded.
    const LoadingContext context;
    TextureMemory memory(context.softwareRenderer() && shapesStartupMemory() ? memoryNeeded : 0);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::optional<TImageDecoder::Pixels> pixels = decoding.take(i);
        const auto start = std::chrono::steady_clock::now();
        bool named = false;
        std::unique_ptr<sf::Texture> texture = finishStep(steps[i], pixels ? &*pixels : nullptr, sizes, named);
        uploadSeconds += secondsSince(start);
        Shapes shapes = texture ? decoding.takeShapes(i) : Shapes();
        decoding.release(i);
        if (texture && !pixels)
            shapesFromFile(steps[i].id, steps[i].path, shapes);
        keep(steps[i].id, std::move(texture), named, std::move(shapes));
    }
    decodeSeconds += decoding.decodeSeconds();
}

void TImageLoader::loadOne(int id, const std::string& path, const Keep& keep)
{
    const LoadStep step = planStep(id, path, sizes);
    const auto start = std::chrono::steady_clock::now();
    TImageDecoder decoder;
    TImageDecoder::Pixels pixels;
    const bool quick = step.refusal.empty() && decoder.decode(path, pixels);
    decodeSeconds += secondsSince(start);
    const auto uploadStart = std::chrono::steady_clock::now();
    bool named = false;
    std::unique_ptr<sf::Texture> texture = finishStep(step, quick ? &pixels : nullptr, sizes, named);
    uploadSeconds += secondsSince(uploadStart);
    Shapes shapes;
    if (texture && quick && chickenSheet(id))
        shapes.ink = TInkMap(pixels.data, pixels.size);
    if (texture && quick && pressedPicture(id))
        shapes.press = TPressMask(pixels.data, pixels.size);
    if (texture && quick && plate(id))
        shapes.interior = opaqueInteriorOf(pixels.data, pixels.size);
    if (texture && !quick)
        shapesFromFile(id, path, shapes);
    keep(id, std::move(texture), named, std::move(shapes));
}
