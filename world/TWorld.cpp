#include "world/TWorld.hpp"

#include "actors/Geometry.hpp"
#include "core/TTextureStore.hpp"
#include "world/ProcessObjects.hpp"

namespace {

// The floor's grid: 80 by 45 tiles of 24 pixels cover 1920 by 1080.
constexpr int floorColumns = 80;
constexpr int floorRows = 45;
constexpr float floorPitch = 24.f;

} // namespace

TWorld::TWorld()
    : rect221Sprite(store().getTexture(image::rectangle221))
    , subtractSprite(store().getTexture(image::subtract))
    , frame60Sprite(store().getTexture(image::frame60))
    , frame49Sprite(store().getTexture(image::frame49))
    , feedSprite(store().getTexture(image::feed))
    , gutterSprites{sf::Sprite(store().getTexture(image::gutterfood)),
                    sf::Sprite(store().getTexture(image::gutterfood)),
                    sf::Sprite(store().getTexture(image::gutterfood))}
    , timeText(store().getFont(), "", 30)
    , coinText(store().getFont(), "", 30)
    , eggCountText(store().getFont(), "", 30)
    , questText(store().getFont(), "", 30)
    , kurortCard(store().getTexture(image::kurort))
    , psychologistCard(store().getTexture(image::phsiholog))
    , vetCard(store().getTexture(image::veterinar))
{
    // The four round toolbar buttons, each with a white icon (shown) and a
    // coloured one.
    const float toolbarX[4] = {682.f, 828.f, 974.f, 1120.f};
    const int whiteIcons[4] = {image::iconScanWhite, image::iconShopWhite, image::iconMusicWhite,
                               image::iconCleanWhite};
    const int colourIcons[4] = {image::iconScan, image::iconShop, image::iconMusic, image::iconClean};
    for (int i = 0; i < 4; ++i) {
        toolbarButtons[i] = std::make_unique<TButton2>(image::circleButton, image::circleButtonHover,
                                                       image::circleButtonPressed, image::circleButton);
        toolbarButtons[i]->setButtonPosition({toolbarX[i], 944.f});
        toolbarButtons[i]->setIcon(0, whiteIcons[i], {56.5f, 56.5f});
        toolbarButtons[i]->setIcon(1, colourIcons[i], {56.5f, 56.5f});
        toolbarButtons[i]->showIcon(0);
    }
    // The music button shows the music's state by its note: plain while it
    // plays, struck through while it is off.
    toolbarButtons[2]->setIcon(1, image::iconMusicOffWhite, {56.5f, 56.5f});
    refreshToolbarIcons();

    frame60Sprite.setPosition({673.f, 133.f});
    frame49Sprite.setPosition({680.f, 143.f});
    chickenTemplate.setOrigin({65.f, 100.f});
    styleText(timeText, 40, {90.f, 20.f}, sf::Color::White);
    styleText(coinText, 35, {1780.f, 20.f}, sf::Color::White);
    styleText(eggCountText, 30, {910.f, 60.f}, sf::Color::White);
    styleText(questText, 30, {258.f, 106.f}, sf::Color::White);
    feeders[0].setPosition({100.f, 275.f});
    drinkingBowls[0].setPosition({300.f, 275.f});
    drinkingBowls[1].setPosition({694.f, 459.f});
    drinkingBowls[2].setPosition({1084.f, 459.f});
    feedSprite.setPosition({1764.f, 554.f});
    // The three gutters and the three lower feeders share their x positions.
    const float lowerX[3] = {586.f, 973.6f, 1360.54f};
    for (int i = 0; i < 3; ++i) {
        gutterSprites[i].setPosition({lowerX[i], 658.f});
        feeders[i + 1].setPosition({lowerX[i], 738.f});
    }
    // The still layers, bottom up: the floor and the dirt on it, the back
    // wall, the nest house and its straw, the yard overlay, the trough, the
    // four fans and the seven nursery panels.
    stillPicture.addFloor(*cellSprite, floorColumns, floorRows, floorPitch);
    stillPicture.addSpots(pollution);
    for (const sf::Sprite* still : {&rect221Sprite, &frame60Sprite, &frame49Sprite, &subtractSprite})
        stillPicture.addSprite(*still);
    stillPicture.addStamps(store().getSprite(image::zherlob), {{672.f, 250.f}});
    stillPicture.addStamps(store().getSprite(image::ventilation),
                           {{0.f, 0.f}, {125.f, 0.f}, {1675.f, 0.f}, {1800.f, 0.f}});
    stillPicture.addStamps(store().getSprite(image::panel1), {{550.f, 132.f},
                                                              {445.f, 132.f},
                                                              {340.f, 132.f},
                                                              {235.f, 132.f},
                                                              {130.f, 132.f},
                                                              {25.f, 132.f},
                                                              {-80.f, 132.f}});

    struct CardHome {
        TActor& card;
        float x;
        float degrees;
    };
    for (CardHome home : {CardHome{kurortCard, kurortHomeX, -15.f}, CardHome{psychologistCard, psychologistHomeX, 15.f},
                          CardHome{vetCard, vetHomeX, 0.f}}) {
        home.card.setPosition({home.x, cardHomeY});
        home.card.setScale({0.5f, 0.5f});
        home.card.rotate(sf::degrees(home.degrees));
        home.card.setOrigin({179.f, 270.f});
    }
}

TWorld::~TWorld() = default;

void TWorld::placeSharedSprites()
{
    for (TDeferred<sf::Sprite>* mood : {&frame68Sprite, &frame69Sprite, &frame70Sprite, &kurortEmotionSprite})
        (*mood)->setOrigin({28.f, 168.f});
    store().getSprite(image::sortingMachine2).setPosition({627.f, 285.f});
    sf::Sprite& vet = store().getSprite(image::veterinar);
    vet.setScale({0.5f, 0.5f});
    vet.setOrigin({179.f, 270.f});
}
