#include "app/TSceneFit.hpp"

#include <algorithm>

namespace {

const sf::Vector2f sceneSize{static_cast<float>(TSceneFit::sceneWidth), static_cast<float>(TSceneFit::sceneHeight)};

// The view's viewport in window pixels: top-left corner and size.
struct PixelArea {
    sf::Vector2f position;
    sf::Vector2f size;
};

PixelArea viewportPixels(const sf::View& view, sf::Vector2u windowSize)
{
    const sf::FloatRect viewport = view.getViewport();
    const sf::Vector2f window(windowSize);
    return {{viewport.position.x * window.x, viewport.position.y * window.y},
            {viewport.size.x * window.x, viewport.size.y * window.y}};
}

} // namespace

sf::View TSceneFit::view(sf::Vector2u windowSize)
{
    sf::View scene(sf::FloatRect({0.f, 0.f}, sceneSize));
    if (windowSize.x == 0 || windowSize.y == 0 || windowSize == sf::Vector2u(sceneWidth, sceneHeight))
        return scene;
    const sf::Vector2f window(windowSize);
    // The share of the window the scene takes on each axis: all of the one
    // that limits the scale.
    const bool widthLimits = window.x / sceneSize.x <= window.y / sceneSize.y;
    const sf::Vector2f share = widthLimits ? sf::Vector2f{1.f, sceneSize.y * (window.x / sceneSize.x) / window.y}
                                           : sf::Vector2f{sceneSize.x * (window.y / sceneSize.y) / window.x, 1.f};
    scene.setViewport(sf::FloatRect({(1.f - share.x) / 2.f, (1.f - share.y) / 2.f}, share));
    return scene;
}

sf::Vector2f TSceneFit::toScene(const sf::View& view, sf::Vector2u windowSize, sf::Vector2i pixel)
{
    const PixelArea area = viewportPixels(view, windowSize);
    const sf::Vector2f corner = view.getCenter() - view.getSize() / 2.f;
    // Ratio first: at one scene unit per pixel it is exactly 1 and the pixel passes unchanged.
    const sf::Vector2f unitsPerPixel{view.getSize().x / area.size.x, view.getSize().y / area.size.y};
    return {corner.x + (static_cast<float>(pixel.x) - area.position.x) * unitsPerPixel.x,
            corner.y + (static_cast<float>(pixel.y) - area.position.y) * unitsPerPixel.y};
}

sf::Vector2f TSceneFit::toWindow(const sf::View& view, sf::Vector2u windowSize, sf::Vector2f point)
{
    const PixelArea area = viewportPixels(view, windowSize);
    const sf::Vector2f corner = view.getCenter() - view.getSize() / 2.f;
    const sf::Vector2f pixelsPerUnit{area.size.x / view.getSize().x, area.size.y / view.getSize().y};
    return {area.position.x + (point.x - corner.x) * pixelsPerUnit.x,
            area.position.y + (point.y - corner.y) * pixelsPerUnit.y};
}

sf::Vector2u TSceneFit::windowSizeFor(sf::Vector2u desktop)
{
    if (desktop.x >= sceneWidth && desktop.y >= sceneHeight)
        return {sceneWidth, sceneHeight};
    const float scale =
        std::min(static_cast<float>(desktop.x) / sceneSize.x, static_cast<float>(desktop.y) / sceneSize.y);
    return {std::max(1u, static_cast<unsigned>(sceneSize.x * scale)),
            std::max(1u, static_cast<unsigned>(sceneSize.y * scale))};
}
