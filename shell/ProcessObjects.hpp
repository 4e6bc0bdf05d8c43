#pragma once

#include "eggline/TShop.hpp"
#include "eggline/TSlot.hpp"
#include "eggline/TSort.hpp"
#include "shell/TDeferred.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <array>

// The process-wide objects of the game, built in one fixed order at the start
// of the entry point (the two tracks, then the sprites whose first one brings
// up the texture store, then the game objects) and destroyed in reverse.

extern TDeferred<sf::SoundBuffer> chickenSongBuffer;
extern TDeferred<sf::SoundBuffer> mainThemeBuffer;
extern TDeferred<sf::Sound> chickenSong;
extern TDeferred<sf::Sound> mainTheme;

extern TDeferred<sf::Sprite> cellSprite;          // the floor tile
extern TDeferred<sf::Sprite> frame68Sprite;       // mood icon: laying
extern TDeferred<sf::Sprite> frame69Sprite;       // mood icon: drinking
extern TDeferred<sf::Sprite> frame70Sprite;       // mood icon: eating
extern TDeferred<sf::Sprite> kurortEmotionSprite; // mood icon: old, off to the resort

extern TDeferred<std::array<TSlot, 6>> inventorySlots; // feed bags 1..3, pills, two spare
extern TDeferred<TSort> sortMachine;
extern TDeferred<TShop> shop;

// Builds everything in order. Without sound the two tracks are skipped (tests
// and tools). A sound file that cannot be read throws std::runtime_error
// naming the file.
void buildProcessObjects(bool withSound);
// Builds the game objects (inventory, sorting machine, shop) anew with their
// starting state; used between tests and by buildProcessObjects.
void resetGameObjects();
// Destroys everything in reverse order of construction.
void destroyProcessObjects();

// Starts both tracks: volume 25, looping.
void startSounds();
