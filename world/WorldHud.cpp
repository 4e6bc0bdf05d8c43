// The head-up display's plates and the story's messages, each listed once:
// the frame draws them from these tables, a press is judged by them and the
// still picture keeps the plates' opaque parts by them.
#include "world/TWorld.hpp"

#include "actors/Geometry.hpp"
#include "core/Globals.hpp"
#include "core/ImageTable.hpp"

#include <array>
#include <limits>
#include <string>

namespace {

using Plate = TWorld::HudPlate;
using Message = TWorld::StoryMessage;

// A toolbar button's round face, in the state it shows, with its icon on it.
template <int index>
constexpr Plate buttonPlate{
    [](const TWorld& w) { return w.toolbarButtons[index]->stateTextures[w.toolbarButtons[index]->state]; },
    [](const TWorld& w) { return w.toolbarButtons[index]->getPosition(); },
    [](TWorld& w, sf::RenderTarget& target) { w.toolbarButtons[index]->drawIcon(target); }};

// A toolbar socket under its button, glowing while its window is open.
template <int index>
constexpr Plate socketPlate{[](const TWorld& w) { return w.socketTexture(index); },
                            [](const TWorld&) { return TWorld::socketPlaces[index]; }, nullptr};

// Back to front: the toolbar's tray, its sockets and round buttons; the egg
// counter, the coins and the clock, each with its text; the inventory bar
// with its slots (the cards stand between the clock and the inventory).
constexpr Plate plates[] = {
    {[](const TWorld&) { return image::buttonControl; }, [](const TWorld&) { return TWorld::trayPlace; }, nullptr},
    socketPlate<0>,
    socketPlate<1>,
    socketPlate<2>,
    socketPlate<3>,
    buttonPlate<0>,
    buttonPlate<1>,
    buttonPlate<2>,
    buttonPlate<3>,
    {[](const TWorld&) { return image::frameCountEggs; }, [](const TWorld&) { return TWorld::eggFramePlace; },
     [](TWorld& w, sf::RenderTarget& target) { drawText(target, w.eggCountText); }},
    {[](const TWorld&) { return image::frameCurCoin; }, [](const TWorld&) { return TWorld::coinFramePlace; },
     [](TWorld& w, sf::RenderTarget& target) { drawText(target, w.coinText); }},
    {[](const TWorld&) { return image::frameTimer; }, [](const TWorld&) { return TWorld::clockFramePlace; },
     [](TWorld& w, sf::RenderTarget& target) {
         drawText(target, w.timeText);
         w.drawCards(target);
     }},
    {[](const TWorld&) { return image::inventory; }, [](const TWorld&) { return TWorld::inventoryPlace; },
     [](TWorld& w, sf::RenderTarget& target) { w.drawInventorySlots(target); }},
};

constexpr float always = std::numeric_limits<float>::infinity();

// In the order they are drawn: the timed messages by the story's own time
// (the first from the start), the two closing messages of the coin quest,
// and the quest panel with its count, which shows from 385 s on until the
// quest is complete, over an open window too.
constexpr Message messages[] = {
    {image::ortomyk, {295.f, 411.f}, -1.f, 5.f, nullptr, true, nullptr},
    {image::plimsa, {295.f, 411.f}, 10.f, 15.f, nullptr, true, nullptr},
    {image::scene11msg1, {313.f, 422.f}, 360.f, 370.f, nullptr, true, nullptr},
    {image::scene11msg2, {313.f, 714.f}, 375.f, 385.f, nullptr, true, nullptr},
    {image::scene11msg3, {528.f, 253.f}, -always, always, [](const TWorld&) { return showMessage3; }, true, nullptr},
    {image::scene11msg4, {313.f, 411.f}, -always, always, [](const TWorld&) { return showMessage4; }, true, nullptr},
    {image::quest1,
     {29.f, 92.f},
     385.f,
     always,
     [](const TWorld&) { return !questComplete; },
     false,
     [](TWorld& w, sf::RenderTarget& target) {
         w.questText.setString(std::to_string(coinsEarned) + "/1000");
         drawText(target, w.questText);
     }},
};

} // namespace

std::span<const TWorld::HudPlate> TWorld::hudPlates() { return plates; }

std::span<const TWorld::StoryMessage> TWorld::storyMessages() { return messages; }

bool TWorld::storyShows(const StoryMessage& message) const
{
    if (message.waits && storyHeldBack())
        return false;
    const float t = storyTime();
    return t > message.from && t < message.to && (message.shows == nullptr || message.shows(*this));
}
