#pragma once

#include "core/TDeferred.hpp"

#include <SFML/Graphics/Sprite.hpp>

// The mood icons a chicken shows above its head, shared by the whole flock
// and built with the other process-wide objects (see world/ProcessObjects).
extern TDeferred<sf::Sprite> frame68Sprite;       // laying
extern TDeferred<sf::Sprite> frame69Sprite;       // drinking
extern TDeferred<sf::Sprite> frame70Sprite;       // eating
extern TDeferred<sf::Sprite> kurortEmotionSprite; // old, off to the resort
