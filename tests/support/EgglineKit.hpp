#pragma once

#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "world/TWorld.hpp"

#include <SFML/System/Vector2.hpp>

// Small helpers for driving the world's mouse handlers the way the main loop
// does: a move is handled, then remembered in mousePos; presses and releases
// are judged at the last move position.
namespace eggkit {

inline void moveTo(TWorld& world, float x, float y)
{
    world.onMouseMoved(x, y);
    mousePos = {x, y};
}

inline void press(TWorld& world, int button = 0) { world.onMousePressed(button, mousePos.x, mousePos.y); }

inline void release(TWorld& world, int button = 0) { world.onMouseReleased(button, mousePos.x, mousePos.y); }

inline void clickAt(TWorld& world, float x, float y)
{
    moveTo(world, x, y);
    press(world);
    release(world);
}

inline void dragTo(TWorld& world, sf::Vector2f from, sf::Vector2f to)
{
    moveTo(world, from.x, from.y);
    press(world);
    moveTo(world, to.x, to.y);
    release(world);
}

// Lets the opening story messages (the first 15 s) go by: while one shows, a
// press on the field under it reaches nothing.
inline void pastOpeningStory(TWorld& world) { world.storyClock.update(20.f); }

// Puts the shared sprites that serve as click regions where the HUD and the
// open windows draw them, and the scanner at its start.
inline void placeHudSprites(TWorld& world)
{
    world.placeSharedSprites();
    TTextureStore& store = TTextureStore::instance();
    store.getSprite(image::buttonSort).setPosition({682.f, 944.f});
    store.getSprite(image::buttonShop).setPosition({828.f, 944.f});
    store.getSprite(image::buttonClose).setPosition({1323.f, 150.f});
}

// A chicken standing at p (its position is inside its own hit box).
inline TChiken2& addChicken(TWorld& world, sf::Vector2f p)
{
    world.spawnChicken(p.x, p.y);
    return world.vecChikens.back();
}

inline TEgg2& addFloorEgg(TWorld& world, sf::Vector2f p)
{
    TEgg2 egg = world.eggTemplate;
    egg.setPosition(p);
    world.eggsOnFloor.push_back(egg);
    return world.eggsOnFloor.back();
}

inline TEgg2& addTableEgg(TWorld& world, sf::Vector2f p, bool defective = false)
{
    TEgg2 egg = world.eggTemplate;
    egg.setPosition(p);
    egg.defective = defective;
    world.eggsOnTable.push_back(egg);
    return world.eggsOnTable.back();
}

// Points strictly inside the two cartons of the sorting window: C0 at
// (583, 615, 110, 75), C1 at (583, 750, 110, 75).
inline const sf::Vector2f inC0{640.f, 650.f};
inline const sf::Vector2f inC1{640.f, 790.f};

// The sorting window open, the opening story gone by.
inline void openSorting(TWorld& world)
{
    pastOpeningStory(world);
    world.mode = TWorld::ModeSorting;
}

// A table egg at (800, 300) dragged from its own point to `p`, where it lands
// exactly.
inline void packAt(TWorld& world, sf::Vector2f p, bool defective)
{
    addTableEgg(world, {800.f, 300.f}, defective);
    dragTo(world, {800.f, 300.f}, p);
}

} // namespace eggkit
