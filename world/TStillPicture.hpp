#pragma once

#include "world/TKeptPicture.hpp"
#include "world/TSpriteLook.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <SFML/Graphics/View.hpp>

#include <cstddef>
#include <map>
#include <vector>

// The still part of the frame, kept as a picture of the target's size: the
// field's still layers (the floor, the dirt, the back wall, the nest house
// and its straw, the yard overlay, the trough, the fans and the nursery
// panels) and the opaque parts of the plates drawn over them later in the
// frame (the head-up display's plates and the open window's page). A frame
// copies it in one pass instead of painting it again. The layers are painted
// on the target itself, as the plain frame paints them, and the picture is
// taken from it; later frames put it back, pixel for pixel.
//
// The rules that make a frame from the picture the plain frame:
// - The picture owns its list of still layers, and each layer is painted and
//   looked at from the same entry (the floor, the dirt, a sprite, a shared
//   sprite stamped at places), so what the picture is compared by is what it
//   was painted from. A layer's look is its sprites' textures, rectangles,
//   colours and places (TSpriteLook); a stamp's places and the floor's grid
//   are fixed when the layer is named. Nothing here calls back into the world.
// - Dirt is only ever added at the end of its list (or the list emptied),
//   and the spots lie right on the layers below them: new spots are painted
//   over the kept ground (the layers up to the dirt, and the dirt) as it is;
//   a spot removed or changed paints the ground again.
// - Shared sprites end where their last draw leaves them: the floor's tile
//   at the last tile, each stamp at its last place, also when the picture is
//   put back instead of painted.
// - Plates are named each frame before `draw`, in the order the frame draws
//   them (the head-up display's table, then the open window), so their
//   opaque parts overlap in the picture as in the frame; a plate that looks
//   other than the painted one paints the picture again.
// - It is only a cache of the drawing: it is made again whenever a layer, a
//   plate, the target's size or its view changes, and is no part of the
//   game's state.
class TStillPicture {
public:
    // --- The still layers, bottom up, named once as the world is built ---
    // The floor: `tile` stamped at every place of a grid of `columns` by
    // `rows`, `pitch` apart (column by column), all in one draw.
    void addFloor(sf::Sprite& tile, int columns, int rows, float pitch);
    // Spots lying right on the layers below (the dirt), drawn in order.
    void addSpots(const std::vector<sf::Sprite>& spots);
    // A sprite drawn as it stands.
    void addSprite(const sf::Sprite& sprite);
    // A shared sprite stamped at each of `places` in turn.
    void addStamps(sf::Sprite& stamp, std::vector<sf::Vector2f> places);
    std::size_t layerCount() const { return layers.size(); }
    // How layer `index` looks now: what its pixels depend on.
    std::vector<TSpriteLook> layerLook(std::size_t index) const;

    // Paints every still layer onto `target` the plain way, one draw each
    // (the frame without the picture).
    void paintLayers(sf::RenderTarget& target);
    // Draws the still layers onto `target` (cleared to black) from the
    // picture, painting it again first when something changed. Pixels of
    // `covered` (target pixels that a later opaque draw will overwrite
    // anyway) are left out of the copy.
    void draw(sf::RenderTarget& target, const std::vector<sf::IntRect>& covered = {});

    // A plate drawn over the field later in the frame, opaque across `cover`
    // (target pixels): the picture keeps the plate's pixels there, so the
    // frame copies them instead of filtering them again.
    void clearPlates() { plates.clear(); }
    void addPlate(const sf::Sprite& sprite, const sf::IntRect& cover);
    // Draws `sprite` as drawing it would: its plate's opaque part copied from
    // the picture and the rest drawn; a sprite that is no named plate is
    // simply drawn.
    void drawPlate(sf::RenderTarget& target, const sf::Sprite& sprite);
    // Draws `sprite` only on `pixels` of the target (through a scissor
    // within the view's own).
    static void drawClipped(sf::RenderTarget& target, const sf::Sprite& sprite, const sf::IntRect& pixels);
    // `area` less the `covered` rectangles, as rectangles that do not
    // overlap, top to bottom (bands of the same columns joined).
    static std::vector<sf::IntRect> uncoveredParts(const sf::IntRect& area, const std::vector<sf::IntRect>& covered);
    // Drops the pictures (they are made again on the next draw).
    void forget();

    // A rectangle of `texture` (in its pixels) whose every pixel is fully
    // opaque, or an empty one: the store's for its plates, else found once
    // per texture.
    sf::IntRect opaqueInterior(const sf::Texture& texture);

    // How often each picture was painted and plates copied (for tests).
    long platesCopied = 0;
    long groundPaints = 0;
    long spotPaints = 0;
    long penPaints = 0;
    // Whether pictures may be kept (else the layers are painted every
    // frame, as on a driver without framebuffer copies), and whether the
    // last frame put one back.
    bool picturesAllowed = true;
    bool lastFramePut = false;

private:
    struct ViewLook {
        sf::Vector2f center, size;
        float degrees = 0.f;
        sf::FloatRect viewport, scissor;
        sf::Vector2u targetSize;
        bool operator==(const ViewLook&) const = default;
    };
    static ViewLook lookOf(const sf::RenderTarget& target);

    // A still layer: what it paints, and from where.
    struct Layer {
        enum class Kind { Floor, Spots, Sprite, Stamps };
        Kind kind = Kind::Sprite;
        sf::Sprite* stamp = nullptr;                    // the floor's tile, a stamp
        const sf::Sprite* sprite = nullptr;             // a sprite
        const std::vector<sf::Sprite>* spots = nullptr; // the dirt
        std::vector<sf::Vector2f> places;               // the stamp's places
        int columns = 0, rows = 0;                      // the floor's grid
        float pitch = 0.f;
    };
    // The floor's tiles gathered into one batch, made again when the grid or
    // the tile changes.
    struct FloorBatch {
        struct Layout {
            int columns = 0;
            int rows = 0;
            float pitch = 0.f;
            sf::IntRect textureRect;
            sf::Color colour;
            const sf::Texture* texture = nullptr;
            sf::Vector2f origin;
            sf::Vector2f scale;
            float degrees = 0.f;
            bool operator==(const Layout&) const = default;
        };
        Layout layout;
        sf::VertexArray tiles{sf::PrimitiveType::Triangles};
    };
    void paint(sf::RenderTarget& target, std::size_t index);
    void paintFloor(sf::RenderTarget& target, const Layer& floor);
    // Leaves the shared sprites of layers [from, to) where drawing them would.
    void leaveStamps(std::size_t from, std::size_t to);
    std::vector<TSpriteLook> looksOf(std::size_t from, std::size_t to) const;
    const std::vector<sf::Sprite>& dirt() const;
    bool groundCurrent(const ViewLook& view, std::size_t& spotsDrawn) const;
    // Paints the dirt from spot `from` on onto the kept ground put back on
    // the target, or with `from` npos the ground's layers and all the dirt.
    void paintGround(sf::RenderTarget& target, std::size_t from);
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::vector<Layer> layers;
    std::size_t spotsLayer = npos; // the dirt's layer: the ground ends with it
    FloorBatch floor;

    struct Plate {
        sf::Sprite sprite;
        sf::IntRect cover;
        bool operator==(const Plate& other) const
        {
            return TSpriteLook(sprite) == TSpriteLook(other.sprite) && cover == other.cover;
        }
    };

    TKeptPicture ground; // the floor and the dirt
    TKeptPicture pen;    // the ground, the still furniture and the plates
    bool haveGround = false;
    bool havePen = false;
    bool platesCurrent = false; // the pen holds this frame's plates
    ViewLook groundView;
    std::vector<TSpriteLook> floorLook; // the layers under the dirt
    std::vector<TSpriteLook> spots;     // the dirt on the ground, in order
    std::vector<TSpriteLook> furniture; // the layers over the dirt, as painted in the pen
    std::vector<Plate> plates;          // this frame's plates
    std::vector<Plate> paintedPlates;   // the plates in the pen picture
    std::map<const sf::Texture*, sf::IntRect> interiors;
};
