#pragma once

#include <SFML/System/Vector2.hpp>

// Process-wide values shared by the world, the shop, the sorting machine and
// the drawing. They are plain values, constant-initialised, so they exist
// before anything runs; resetGlobalValues() puts them back to their starting
// values (a new game, or a fresh test).

extern int coins;             // balance
extern int coinsEarned;       // payouts and resort fees, for the coin quest
extern int eggsCollected;     // eggs picked up from the floor
extern int chickensToSpawn;   // placed by the next world step
extern int packC0Count;       // eggs in the open C0 package, 0..5
extern int packC1Count;       // eggs in the open C1 package, 0..5
extern int psychologistCount; // visits bought and not yet used
extern int vetCount;
extern int dragKind;          // 0 nothing, 7 a chicken, 8 a table egg
extern sf::Vector2f mousePos; // pointer position of the latest move event

// The shop's order.
extern int quantities[6];
extern int prices[6];
extern int orderTotal;

// The coin quest and its closing messages.
extern bool questComplete;
extern bool showMessage3;
extern bool showMessage4;
extern bool messagesDone;

// The music: both tracks playing (true) or paused, switched by the music button.
extern bool musicOn;

// Frame-rate read-out in the window title.
extern float fpsTime;
extern int fpsFrames;
extern int fpsValue;

void resetGlobalValues();
