#include "poultry/MoodIcons.hpp"

TDeferred<sf::Sprite> frame68Sprite;
TDeferred<sf::Sprite> frame69Sprite;
TDeferred<sf::Sprite> frame70Sprite;
TDeferred<sf::Sprite> kurortEmotionSprite;
