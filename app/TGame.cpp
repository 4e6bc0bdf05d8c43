#include "app/TGame.hpp"

#include "app/ScreenshotFile.hpp"
#include "app/TDesktopArea.hpp"
#include "app/TFarmKeeper.hpp"
#include "app/TPauseScreen.hpp"
#include "app/TSceneFit.hpp"
#include "app/TStateFile.hpp"
#include "core/Globals.hpp"
#include "core/TTextureStore.hpp"
#include "platform/StartupMemory.hpp"
#include "world/ProcessObjects.hpp"
#include "world/TWorld.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Err.hpp>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

TGame::TGame(const TOptions& chosen, std::optional<TEventScript> input)
    : options(chosen)
    , script(std::move(input))
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
        // Back from window pixels into the scene, through the view it is drawn with.
        mouseLocal = TSceneFit::toScene(window.getView(), window.getSize(), moved->position);
        world.onMouseMoved(mouseLocal.x, mouseLocal.y);
        window.setTitle(titleText(mouseLocal));
        // Only now: the handler above drags by the difference from the old value.
        mousePos = mouseLocal;
    } else if (const auto* resized = event.getIf<sf::Event::Resized>()) {
        window.setView(TSceneFit::view(resized->size));
    }
}

void TGame::pause(bool withHelp)
{
    paused = true;
    help = withHelp;
    holdMusic(true);
}

void TGame::resume()
{
    paused = false;
    help = false;
    holdMusic(false);
}

namespace {

bool isModifier(sf::Keyboard::Key key)
{
    using K = sf::Keyboard::Key;
    return key == K::LShift || key == K::RShift || key == K::LControl || key == K::RControl || key == K::LAlt
           || key == K::RAlt || key == K::LSystem || key == K::RSystem;
}

} // namespace

void TGame::handleInput(const sf::Event& event, sf::RenderWindow& window, TWorld& world, sf::Vector2f& mouseLocal)
{
    using K = sf::Keyboard::Key;
    if (event.is<sf::Event::FocusLost>()) {
        focusLost = !automation();
        return;
    }
    if (event.is<sf::Event::FocusGained>()) {
        focusLost = false;
        return;
    }
    if (const auto* key = event.getIf<sf::Event::KeyPressed>()) {
        if (isModifier(key->code))
            return;
        swallowText = paused;
        if (paused) {
            resume();
            return;
        }
        if (key->code == K::P || key->code == K::Space)
            pause(false);
        else if (key->code == K::Escape && !world.closeOpenWindow())
            pause(false);
        else if (key->code == K::M)
            world.toggleMusic();
        else if (key->code == K::F11)
            switchFullscreen(window);
        else if (key->code == K::F1)
            pause(true);
        return;
    }
    if (const auto* text = event.getIf<sf::Event::TextEntered>()) {
        if (!swallowText && !paused && text->unicode == U'?')
            pause(true);
        swallowText = false;
        return;
    }
    if (event.is<sf::Event::MouseButtonPressed>() && paused) {
        resume();
        swallowRelease = true;
        return;
    }
    if (event.is<sf::Event::MouseButtonReleased>() && swallowRelease) {
        swallowRelease = false;
        return;
    }
    if (paused) {
        if (const auto* moved = event.getIf<sf::Event::MouseMoved>()) {
            // The pointer is followed, the farm is not told: what is carried
            // catches up with it at the first move after the pause.
            mouseLocal = TSceneFit::toScene(window.getView(), window.getSize(), moved->position);
            return;
        }
        if (const auto* released = event.getIf<sf::Event::MouseButtonReleased>()) {
            // Letting go of what was carried when the pause came: dropped
            // where the farm last saw the pointer.
            world.onMouseReleased(static_cast<int>(released->button), mousePos.x, mousePos.y);
            return;
        }
    }
    handleEvent(event, window, world, mouseLocal);
}

void TGame::settleFocus(bool hasFocus)
{
    if (focusLost && !hasFocus && !paused)
        pause(false);
    focusLost = false;
}

void TGame::switchFullscreen(sf::RenderWindow& window)
{
    fullscreen = !fullscreen;
    if (fullscreen) {
        window.create(sf::VideoMode::getDesktopMode(), initialTitle, sf::Style::Default, sf::State::Fullscreen,
                      sf::ContextSettings{});
    } else {
        const sf::Vector2u fitting = TSceneFit::windowSizeFor(sf::VideoMode::getDesktopMode().size);
        window.create(sf::VideoMode(options.windowSize ? *options.windowSize : fitting, 32), initialTitle,
                      sf::Style::Default, sf::State::Windowed, sf::ContextSettings{});
    }
    settleWindow(window);
    if (options.vsync)
        window.setVerticalSyncEnabled(true);
    if (options.maxFps)
        window.setFramerateLimit(*options.maxFps);
}

bool TGame::saveScreenshot(sf::RenderWindow& window) const
{
    sf::Texture texture(window.getSize());
    texture.update(window);
    std::string error;
    if (writeScreenshot(texture.copyToImage(), *options.screenshot, error))
        return true;
    std::cerr << "henhouse: " << error << '\n';
    return false;
}

void TGame::settleWindow(sf::RenderWindow& window)
{
    // The size limits may have resized the window already, while its drawing
    // buffer and view still have the size it was made with: the first frame
    // would lose its top rows. The scene fitted to the size it has now (as a
    // resize event would set), and one empty frame presented so the buffer
    // takes that size, before the first real frame.
    window.setView(TSceneFit::view(window.getSize()));
    window.clear(sf::Color::Black);
    window.display();
}

void TGame::openWindow(sf::RenderWindow& window) const
{
    // The media library turns vertical sync off with every window it makes,
    // and a driver without the setting says so each time. The player did not
    // ask for anything, so that line is left out (with --vsync the game's own
    // request still says when it fails); anything else is passed on.
    std::ostringstream said;
    std::streambuf* const errors = sf::err().rdbuf(said.rdbuf());
    try {
        openWindowQuietly(window);
    } catch (...) {
        sf::err().rdbuf(errors);
        throw;
    }
    sf::err().rdbuf(errors);
    std::istringstream lines(said.str());
    for (std::string line; std::getline(lines, line);)
        if (!line.starts_with("Setting vertical sync"))
            sf::err() << line << '\n';
}

void TGame::openWindowQuietly(sf::RenderWindow& window) const
{
    if (options.fullscreen) {
        window.create(sf::VideoMode::getDesktopMode(), initialTitle, sf::Style::Default, sf::State::Fullscreen,
                      sf::ContextSettings{});
        window.setView(TSceneFit::view(window.getSize()));
        return;
    }
    // The window and the manager's frame around it (title bar included) fit
    // in the desktop's work area, panels left free.
    const TDesktopArea desktop = TDesktopArea::query(sf::VideoMode::getDesktopMode().size);
    const sf::Vector2u fitting = TSceneFit::windowSizeFor(desktop.room());
    if (options.windowSize || fitting != sf::Vector2u(TSceneFit::sceneWidth, TSceneFit::sceneHeight)) {
        // The size asked for, or on a desktop smaller than the farm the
        // largest window of its shape that fits.
        const sf::Vector2u size = options.windowSize ? *options.windowSize : fitting;
        window.create(sf::VideoMode(size, 32), initialTitle, sf::Style::Default, sf::State::Windowed,
                      sf::ContextSettings{});
        if (desktop.managed && !options.windowSize)
            window.setPosition(desktop.framePositionFor(size));
    } else {
        window.create(sf::VideoMode({1920, 1000}, 32), initialTitle, sf::Style::Default, sf::State::Windowed,
                      sf::ContextSettings{});
        window.setMaximumSize(sf::Vector2u(1920, 1080));
        window.setMinimumSize(sf::Vector2u(1920, 1080));
        // The limits above bring the window to the farm's full size; after
        // that a window manager or the player may make it smaller, and the
        // farm is scaled down to fit.
        window.setMinimumSize(sf::Vector2u(TSceneFit::sceneWidth / 4, TSceneFit::sceneHeight / 4));
    }
    window.setView(TSceneFit::view(window.getSize()));
}

int TGame::run()
{
    // The start's own memory (the sound tracks, the graphics driver's needs)
    // comes from the heap as it grows; only the textures get theirs ahead,
    // from the store. Filled ahead, it would keep the pages the driver
    // reserves and never writes (some 20 MB) in memory for good, for no
    // measurable gain in the time to the first frame. With a software
    // renderer the start keeps freed memory in the heap, so the driver's
    // threads share it rather than keep heaps of their own.
    if (softwareRenderingLikely())
        shareOneHeap();
    buildProcessObjects(true);

    // The game was made for a Russian locale; nothing it shows depends on it.
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8"))
        std::setlocale(LC_ALL, "Russian");
    std::srand(options.seed ? *options.seed : static_cast<unsigned>(std::time(nullptr)));

    int status = 0;
    {
        sf::RenderWindow window;
        fullscreen = options.fullscreen;
        openWindow(window);
        settleWindow(window);
        // Unthrottled unless the player asks, for a cooler laptop.
        if (options.vsync)
            window.setVerticalSyncEnabled(true);
        if (options.maxFps)
            window.setFramerateLimit(*options.maxFps);

        sf::Clock clock;
        sf::Vector2f mouseLocal{0.f, 0.f};
        musicOn = !options.mute;
        auto world = std::make_unique<TWorld>();
        startSounds();
        world->placeSharedSprites();
        TFarmKeeper farm(options, std::cerr);
        farm.resume(*world);

        long frame = 0;
        bool started = false;
        while (window.isOpen()) {
            // Once the game is on screen: the memory the start kept in hand
            // goes back to the system, the mipmaps of the pictures drawn
            // smaller are made one per frame, and with the first and the
            // last the pages of code the start alone ran go too.
            if (frame > 0 && !started)
                started = !continueStart(frame == 1);
            const float measured = clock.restart().asSeconds();
            const float dt = options.fixedDt ? *options.fixedDt : measured;
            if (accountFrame(dt))
                window.setTitle(titleText(mouseLocal));

            if (script)
                for (const sf::Event& event : script->eventsFor(frame + 1))
                    handleInput(event, window, *world, mouseLocal);
            while (const std::optional event = window.pollEvent())
                handleInput(*event, window, *world, mouseLocal);
            settleFocus(window.hasFocus());

            // A paused farm stands still: no step, no play time for the
            // saves' minute; its answers wait too.
            if (!paused) {
                world->update(dt);
                world->answer(dt, mouseLocal);
            }
            farm.tick(paused ? 0.f : dt, *world);
            if (TFarmKeeper::closeRequested())
                window.close();
            window.clear(sf::Color::Black);
            // The first frame is drawn the plain way, which shows the same
            // pixels without waiting for the still layers' picture to be
            // painted and taken: the next frame takes it (the mipmaps come
            // on the same frames as before, so every frame keeps its pixels).
            world->drawDirect = frame == 0;
            world->draw(window);
            world->drawAnswers(window);
            if (paused)
                TPauseScreen::draw(window, help);

            ++frame;
            if (options.stateFile && status == 0
                && !TStateFile::write(*options.stateFile, TStateFile::text(*world, frame, paused))) {
                std::cerr << "henhouse: could not write the state file " << *options.stateFile << '\n';
                status = 1;
            }
            const bool last = options.frames && frame >= *options.frames;
            if (last && options.screenshot && !saveScreenshot(window))
                status = 1;
            window.display();
            if (last)
                window.close();
        }
        farm.close(*world);
        world.reset();
    }
    destroyProcessObjects();
    return status;
}
