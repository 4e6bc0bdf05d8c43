#pragma once

#include "actors/TActor.hpp"
#include "actors/TSpriteBatch.hpp"
#include "actors/TTimer.hpp"
#include "eggline/TButton2.hpp"
#include "eggline/TEgg2.hpp"
#include "poultry/TBubble.hpp"
#include "poultry/TChiken2.hpp"
#include "poultry/TDrinkingbowl.hpp"
#include "poultry/TFeeding.hpp"
#include "world/TFeedback.hpp"
#include "world/TInkBounds.hpp"
#include "world/TPressShape.hpp"
#include "world/TStillPicture.hpp"
#include "world/TTooltip.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The game world: the flock, the eggs, the pen's furniture, the cards and the
// HUD texts. The entry point owns the one world; it steps it once per frame
// (update), hands it the mouse (onMouse*) and has it paint the frame (draw).
// Members are declared, and so built, in a fixed order.
class TWorld {
public:
    // Screen modes.
    static constexpr int ModeField = 0;
    static constexpr int ModeSorting = 1;
    static constexpr int ModeSortingRunning = 2;
    static constexpr int ModeShop = 3;
    // What the pointer carries (activeTool).
    static constexpr int ToolNone = 0;
    static constexpr int ToolKurort = 5;
    static constexpr int ToolPsychologist = 6;
    static constexpr int ToolVet = 7;
    // What is being dragged (dragKind).
    static constexpr int DragNone = 0;
    static constexpr int DragChicken = 7;
    static constexpr int DragEgg = 8;
    // No dragged element.
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    // Card homes along the bottom edge; a hovered card rises 20 pixels.
    static constexpr float kurortHomeX = 1420.f;
    static constexpr float psychologistHomeX = 1720.f;
    static constexpr float vetHomeX = 1570.f;
    static constexpr float cardHomeY = 975.f;
    static constexpr float cardRaisedY = 955.f;
    // Where the HUD's plates stand: drawn there, and pressed there.
    static constexpr sf::Vector2f trayPlace{600.f, 1000.f};
    static constexpr sf::Vector2f socketPlaces[4] = {{682.f, 944.f}, {828.f, 944.f}, {974.f, 944.f}, {1120.f, 944.f}};
    static constexpr sf::Vector2f eggFramePlace{735.f, 0.f};
    static constexpr sf::Vector2f coinFramePlace{1718.f, 15.f};
    static constexpr sf::Vector2f clockFramePlace{29.f, 15.f};
    static constexpr sf::Vector2f inventoryPlace{55.f, 870.f};

    TWorld();
    ~TWorld();
    TWorld(const TWorld&) = delete;
    TWorld& operator=(const TWorld&) = delete;

    // One-time placement of the process-wide and shared sprites, right after
    // the music starts.
    void placeSharedSprites();

    // --- The world step (WorldStep.cpp) ---
    void update(float dt);
    void spawnChicken(float x, float y);
    void updateFlock(float dt);
    sf::Vector2f findNearestBowl(sf::Vector2f position);
    sf::Vector2f findNearestFeeder(sf::Vector2f position, TChiken2& chicken);
    void updateClock(float dt);
    void spawnPollution(float dt);
    // The coin quest and its two closing messages.
    void updateQuest(float dt);
    // The story's own time: the play time less what an open window held it
    // back. A story message never shows over the sorting window or the shop:
    // while one is open the story stands still in a message (hidden until the
    // window closes) and stops at the start of the next one.
    float storyTime() const { return storyClock.getElapsed() - storyHeld; }
    void holdStory(float storyBefore);
    bool storyHeldBack() const { return openWindow() != nullptr; }

    // --- The head-up display, each part listed once (WorldHud.cpp) ---
    // A plate: a store picture drawn straight at its place, opaque in most of
    // it. The frame draws the plates in the table's order, each followed by
    // what stands on it; a press on a plate's drawn pixels stays with the
    // display; the still picture keeps their opaque parts.
    struct HudPlate {
        int (*picture)(const TWorld&);            // the store picture it shows now
        sf::Vector2f (*place)(const TWorld&);     // where its top left is drawn
        void (*then)(TWorld&, sf::RenderTarget&); // what the frame draws next, or null
    };
    static std::span<const HudPlate> hudPlates();
    // A story message (or the quest panel), shown while the story's time lies
    // strictly between `from` and `to` and, for one that waits on the story's
    // flags, while `shows` says so. One that `waits` never shows over an open
    // window; a timed one (no `shows`) holds the story's time meanwhile.
    struct StoryMessage {
        int id;
        sf::Vector2f at;
        float from;
        float to;
        bool (*shows)(const TWorld&);             // null for a timed one
        bool waits;                               // hidden while a window is open
        void (*then)(TWorld&, sf::RenderTarget&); // drawn over it, or null
    };
    static std::span<const StoryMessage> storyMessages();
    // Whether `message` (a row of the table) shows now.
    bool storyShows(const StoryMessage& message) const;

    // --- The mouse (WorldMouse.cpp) ---
    // What the last frame showed on top at a point, top layer first: a story
    // message or the quest panel, an open window's frame, the HUD (toolbar,
    // counters, cards, inventory bar), else the field. A press reaches only
    // the things of the layer it lands on.
    enum class Cover { Story, Window, Hud, Field };
    Cover coverAt(float x, float y);
    // Whether the store picture `id`, drawn with its top-left at `at`, shows
    // a pixel at the point.
    bool pictureCovers(int id, sf::Vector2f at, float x, float y);
    // Whether toolbar button `index` (its socket or its round face) shows a
    // pixel at the point.
    bool toolbarShows(int index, float x, float y);
    // Whether a shown card, turned as it is drawn, shows a pixel at the point.
    bool cardShows(const TActor& card, float x, float y);
    // Where a table egg let go at its present place comes to rest: there when
    // it lies on the table, else back where it was picked up.
    sf::Vector2f tableEggRestingPlace(const TEgg2& egg) const;
    void onMousePressed(int button, float x, float y);
    void onMouseReleased(int button, float x, float y);
    void onMouseMoved(float x, float y);
    // The scan and shop buttons show their coloured icon while their window
    // is open; the music button a struck-through note while the music is off.
    void refreshToolbarIcons();
    // The music button's work: the music off or on again, the note to match.
    void toggleMusic();
    // Closes the sorting window or the shop (as its close button does);
    // false when none is open or something is being carried.
    bool closeOpenWindow();
    // The dragged chicken or egg, or null when none.
    TChiken2* draggedChickenPtr();
    TEgg2* draggedEggPtr();

    // --- The frame (WorldDraw.cpp) ---
    void draw(sf::RenderTarget& target);
    // What lives and moves over the still layers (feeders, bowls, eggs,
    // chickens, bubbles). With `hidden` (the open window's opaque part), the quick frame leaves
    // out what lies wholly inside it.
    void drawLife(sf::RenderTarget& target, const sf::FloatRect& hidden = {});
    // Draws the sprite only where its picture has ink (the same pixels), in
    // `inkBands` bands of rows, each as wide as its own ink.
    void drawInked(sf::RenderTarget& target, const sf::Sprite& sprite);
    static constexpr int inkBands = 4;
    // Where the open window is opaque, one unit in; empty with no window.
    sf::FloatRect hiddenArea();
    // The sorting window or the shop while it shows, or none.
    const TActor* openWindow() const;
    // The toolbar socket at `index` (0..3) as this mode shows it.
    int socketTexture(int index) const;
    // Adds to `covers` the target pixels where the head-up display's plates
    // are opaque, one in from each edge (where a unit is a pixel).
    void addHudCovers(const sf::RenderTarget& target);
    void drawHud(sf::RenderTarget& target);
    // The cards that are shown, and the inventory bar's slots.
    void drawCards(sf::RenderTarget& target);
    void drawInventorySlots(sf::RenderTarget& target);
    // Draws the store's picture `id` at `place` as one of the head-up
    // display's plates (in the quick frame, its opaque part is copied).
    void drawPlate(sf::RenderTarget& target, int id, sf::Vector2f place);

    // --- The farm's answers (WorldHints.cpp): they read the game, never change it ---
    // The tooltip for what the pointer is over (only what shows on top
    // there), with the area of that thing; "" for nothing.
    std::string hintAt(float x, float y, sf::FloatRect& area);
    // One frame of the answers: `dt` of play, the pointer where it rests.
    void answer(float dt, sf::Vector2f pointer);
    // Draws them over the finished frame.
    void drawAnswers(sf::RenderTarget& target);

    // --- What the world holds, in the order it is built ---
    // (The order matters: the chicken template draws its laying period from
    // rand() as it is built.)

    // The screen: which window is open and what the pointer carries.
    int mode = ModeField;
    int activeTool = ToolNone;

    // The toolbar and the pen's still pictures drawn by the world itself.
    std::unique_ptr<TButton2> toolbarButtons[4]; // scan, shop, music, clean
    sf::Sprite rect221Sprite;
    sf::Sprite subtractSprite;
    sf::Sprite frame60Sprite;
    sf::Sprite frame49Sprite;
    sf::Sprite feedSprite;
    sf::Sprite gutterSprites[3];

    // The flock and the eggs, each copied from its template.
    TChiken2 chickenTemplate;
    std::vector<TChiken2> vecChikens;
    std::vector<TEgg2> eggsOnFloor;
    std::vector<TEgg2> eggsOnTable;
    TEgg2 eggTemplate;

    // What is being dragged: indexes, not pointers, since the vectors may
    // grow during a drag.
    std::size_t draggedChicken = none; // into vecChikens
    std::size_t draggedEgg = none;     // into eggsOnTable
    sf::Vector2f eggPickedFrom;        // where the dragged table egg lay

    // The nursery feeder, the three yard feeders and the drinking bowls.
    TFeeding feeders[4];
    TDrinkingbowl drinkingBowls[3];

    // The HUD's texts: the clock, the coins, the egg count, the quest.
    sf::Text timeText;
    sf::Text coinText;
    sf::Text eggCountText;
    sf::Text questText;

    // Time: the day's clock, the story, the dirt and the quest messages.
    float dayTime = 0.f;
    TTimer storyClock{9999999.f};
    TTimer pollutionTimer{5.f};
    TTimer messageTimer{10.f};
    // The seconds the timed story messages have waited for a window to close.
    float storyHeld = 0.f;

    // The specialist cards along the bottom edge.
    TActor kurortCard;
    TActor psychologistCard;
    TActor vetCard;

    // The dirt kept until the broom is used, the bubbles in the air, and
    // how often the pen was cleaned.
    std::vector<sf::Sprite> pollution;
    std::vector<TBubble> bubbles;
    int cleanCount = 0;

    // Drawing aids, no part of the game's state: the still layers' picture
    // and a batch for the many small things. With drawDirect every object is
    // drawn by itself, the plain way (the reference the tests hold the
    // quicker frame to).
    TStillPicture stillPicture;
    TSpriteBatch batch;
    TInkBounds inkBounds;
    TPressShape pressShape;          // where the HUD's pictures are drawn, for presses
    std::vector<sf::IntRect> covers; // target pixels a later opaque draw paints over
    bool drawDirect = false;

    // The answers to the player, drawn over the frame; no part of the state.
    TFeedback feedback;
    TTooltip tooltip;
};
