#pragma once

#include "core/TDeferred.hpp"
#include "eggline/EgglineObjects.hpp"
#include "poultry/MoodIcons.hpp"

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Sprite.hpp>

// The process-wide objects of the game, built in one fixed order at the start
// of the entry point (the two tracks, then the sprites whose first one brings
// up the texture store, then the game objects) and destroyed in reverse.

extern TDeferred<sf::SoundBuffer> chickenSongBuffer;
extern TDeferred<sf::SoundBuffer> mainThemeBuffer;
extern TDeferred<sf::Sound> chickenSong;
extern TDeferred<sf::Sound> mainTheme;

extern TDeferred<sf::Sprite> cellSprite; // the floor tile

// Builds everything in order. Without sound the two tracks are skipped (tests
// and tools). A sound file that cannot be read throws std::runtime_error
// naming the file.
void buildProcessObjects(bool withSound);
// Destroys everything in reverse order of construction.
void destroyProcessObjects();

// The start's tail, one step a frame once the first frame is shown (call it
// from the second frame on, each frame, while it returns true): on the first
// call the heap hands its spare room back and from then on keeps no freed
// memory; each call makes the mipmaps of one picture drawn smaller and hands
// the storage they replaced straight back, so the pictures' old and new
// memory never pile up; after the first and after the last, the pages of
// code the start alone ran are let go. False once the start is over.
bool continueStart(bool firstCall);

// Starts both tracks: volume 25, looping; paused from the start while the
// music is off (musicOn).
void startSounds();
// Switches the music on (both tracks play on from where they were) or off
// (both pause). Without sound only the setting changes.
void setMusicOn(bool on);
// Holds both tracks paused (the game's pause) or lets them play on as the
// setting says, through the same switch as setMusicOn; the setting itself
// stays as it is.
void holdMusic(bool held);
