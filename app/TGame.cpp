#include "app/TGame.hpp"

#include "core/Globals.hpp"
#include "world/ProcessObjects.hpp"
#include "core/TTextureStore.hpp"
#include "world/TWorld.hpp"
#include "platform/StartupMemory.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Clock.hpp>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>

TGame::TGame(const TOptions& options, std::optional<TEventScript> script)
    : options(options), script(std::move(script))
{
}

bool TGame::accountFrame(float dt)
{
    fpsTime += dt;
    fpsFrames += 1;
    if (fpsTime < 1.f)
        return false;
    // Subtract rather than reset, so the remainder carries into the next second.
    fpsTime -= 1.f;
    fpsValue = fpsFrames;
    fpsFrames = 0;
    return true;
}

std::string TGame::titleText(sf::Vector2f mouseLocal)
{
    return std::to_string(static_cast<int>(mouseLocal.x)) + ":" + std::to_string(static_cast<int>(mouseLocal.y))
        + "   FPS:" + std::to_string(fpsValue);
}

void TGame::handleEvent(const sf::Event& event, sf::RenderWindow& window, TWorld& world, sf::Vector2f& mouseLocal)
{
    if (event.is<sf::Event::Closed>()) {
        window.close();
    } else if (const auto* pressed = event.getIf<sf::Event::MouseButtonPressed>()) {
        world.onMousePressed(static_cast<int>(pressed->button), mouseLocal.x, mouseLocal.y);
    } else if (const auto* released = event.getIf<sf::Event::MouseButtonReleased>()) {
        world.onMouseReleased(static_cast<int>(released->button), mouseLocal.x, mouseLocal.y);
    } else if (const auto* moved = event.getIf<sf::Event::MouseMoved>()) {
        mouseLocal = sf::Vector2f(moved->position);
        world.onMouseMoved(mouseLocal.x, mouseLocal.y);
        window.setTitle(titleText(mouseLocal));
        // Only now: the handler above drags by the difference from the old value.
        mousePos = mouseLocal;
    } else if (const auto* resized = event.getIf<sf::Event::Resized>()) {
        window.setView(sf::View(sf::FloatRect({0.f, 0.f}, sf::Vector2f(resized->size))));
    }
}

bool TGame::saveScreenshot(sf::RenderWindow& window) const
{
    sf::Texture texture(window.getSize());
    texture.update(window);
    return texture.copyToImage().saveToFile(*options.screenshot);
}

int TGame::run()
{
    // With a software renderer the start's own memory (the sound tracks, the
    // graphics driver's needs) comes from a heap grown ahead on large pages;
    // the textures get theirs from the store. A graphics card needs neither.
    if (softwareRenderingLikely())
        (void)growHeapFilled(startupHeapBytes);
    buildProcessObjects(true);

    // The game was made for a Russian locale; nothing it shows depends on it.
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8"))
        std::setlocale(LC_ALL, "Russian");
    std::srand(options.seed ? *options.seed : static_cast<unsigned>(std::time(nullptr)));

    int status = 0;
    {
        sf::RenderWindow window(sf::VideoMode({1920, 1000}, 32), initialTitle, sf::Style::Default,
                                sf::State::Windowed, sf::ContextSettings{});
        window.setMaximumSize(sf::Vector2u(1920, 1080));
        window.setMinimumSize(sf::Vector2u(1920, 1080));

        sf::Clock clock;
        sf::Vector2f mouseLocal{0.f, 0.f};
        auto world = std::make_unique<TWorld>();
        startSounds();
        world->placeSharedSprites();

        long frame = 0;
        while (window.isOpen()) {
            // Mipmaps for the pictures drawn smaller, one per frame, once the game is on screen.
            if (frame > 0)
                TTextureStore::instance().generatePendingMipmaps(1);
            const float measured = clock.restart().asSeconds();
            const float dt = options.fixedDt ? *options.fixedDt : measured;
            if (accountFrame(dt))
                window.setTitle(titleText(mouseLocal));

            if (script)
                for (const sf::Event& event : script->eventsFor(frame + 1))
                    handleEvent(event, window, *world, mouseLocal);
            while (const std::optional event = window.pollEvent())
                handleEvent(*event, window, *world, mouseLocal);

            world->update(dt);
            window.clear(sf::Color::Black);
            world->draw(window);

            ++frame;
            const bool last = options.frames && frame >= *options.frames;
            if (last && options.screenshot && !saveScreenshot(window)) {
                std::cerr << "henhouse: could not write the screenshot " << *options.screenshot << '\n';
                status = 1;
            }
            window.display();
            if (last)
                window.close();
        }
        world.reset();
    }
    destroyProcessObjects();
    return status;
}
