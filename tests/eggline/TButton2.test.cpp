#include "eggline/TButton2.hpp"
#include "core/TTextureStore.hpp"
#include "eggline/TSlot.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <catch2/catch_test_macros.hpp>

#include <iostream>
#include <sstream>

namespace {

// Remembers what a click sent it.
class ClickRecorder : public TActor {
public:
    void changeValue(float value) override
    {
        calls += 1;
        last = value;
    }
    int calls = 0;
    float last = 0.f;
};

// A round toolbar button (113 x 113) at (682, 944): it covers 682..795 x 944..1057.
TButton2 roundButton()
{
    TButton2 button(image::circleButton, image::circleButtonHover, image::circleButtonPressed, image::circleButton);
    button.setButtonPosition({682.f, 944.f});
    return button;
}

} // namespace

TEST_CASE("a button's hit area is its normal image where it stands", "[eggline][button]")
{
    testsupport::freshGame();
    TButton2 button = roundButton();
    const sf::Vector2u size = TTextureStore::instance().getTexture(image::circleButton).getSize();
    REQUIRE(size == sf::Vector2u(113, 113));

    SECTION("the edges are inside, one pixel further is not")
    {
        CHECK(button.contains(682.f, 944.f));
        CHECK(button.contains(795.f, 1057.f));
        CHECK_FALSE(button.contains(796.f, 1000.f));
        CHECK_FALSE(button.contains(700.f, 943.f));
    }
    SECTION("it starts normal with no icon and no callback")
    {
        CHECK(button.state == TButton2::Normal);
        CHECK(button.iconIndex == -1);
        CHECK(button.iconTextures[0] == -1);
        CHECK(button.iconTextures[1] == -1);
        CHECK(button.onClick.target == nullptr);
    }
}

TEST_CASE("a left press inside presses the button, nothing else does", "[eggline][button]")
{
    testsupport::freshGame();
    TButton2 button = roundButton();

    SECTION("left inside")
    {
        button.onPress(0, 700.f, 1000.f);
        CHECK(button.state == TButton2::Pressed);
    }
    SECTION("right inside")
    {
        button.onPress(1, 700.f, 1000.f);
        CHECK(button.state == TButton2::Normal);
    }
    SECTION("left outside")
    {
        button.onPress(0, 600.f, 1000.f);
        CHECK(button.state == TButton2::Normal);
    }
}

TEST_CASE("a release fires the click only after a left press and release inside", "[eggline][button]")
{
    testsupport::freshGame();
    TButton2 button = roundButton();
    ClickRecorder recorder;
    button.onClick = {7, &recorder, &TActor::changeValue};

    SECTION("press and release inside call the bound operation with the argument")
    {
        button.onPress(0, 700.f, 1000.f);
        button.onRelease(0, 710.f, 1010.f);
        CHECK(recorder.calls == 1);
        CHECK(recorder.last == 7.f);
        CHECK(button.state == TButton2::Normal);
    }
    SECTION("a release outside calls nothing but still lets go")
    {
        button.onPress(0, 700.f, 1000.f);
        button.onRelease(0, 900.f, 1000.f);
        CHECK(recorder.calls == 0);
        CHECK(button.state == TButton2::Normal);
    }
    SECTION("a release without a press calls nothing")
    {
        button.onRelease(0, 700.f, 1000.f);
        CHECK(recorder.calls == 0);
    }
    SECTION("a right release after a left press calls nothing and lets go")
    {
        button.onPress(0, 700.f, 1000.f);
        button.onRelease(1, 700.f, 1000.f);
        CHECK(recorder.calls == 0);
        CHECK(button.state == TButton2::Normal);
    }
    SECTION("with no target bound a click does nothing but let go")
    {
        button.onClick = {};
        button.onPress(0, 700.f, 1000.f);
        button.onRelease(0, 700.f, 1000.f);
        CHECK(button.state == TButton2::Normal);
    }
    SECTION("a slot bound to a button writes its trace line")
    {
        TSlot slot;
        button.onClick = {3, &slot, &TActor::changeValue};
        std::ostringstream out;
        std::streambuf* old = std::cout.rdbuf(out.rdbuf());
        button.onPress(0, 700.f, 1000.f);
        button.onRelease(0, 700.f, 1000.f);
        std::cout.rdbuf(old);
        CHECK(out.str() == "TSlot::changeValue(3)\n");
    }
}

TEST_CASE("hovering lights the button up and leaving puts it back", "[eggline][button]")
{
    testsupport::freshGame();
    TButton2 button = roundButton();

    SECTION("enter and leave")
    {
        button.onHover(700.f, 1000.f);
        CHECK(button.state == TButton2::Hover);
        button.onHover(600.f, 1000.f);
        CHECK(button.state == TButton2::Normal);
    }
    SECTION("a pressed button stays pressed while the pointer moves in and out")
    {
        button.onPress(0, 700.f, 1000.f);
        button.onHover(600.f, 1000.f);
        CHECK(button.state == TButton2::Pressed);
        button.onHover(700.f, 1000.f);
        CHECK(button.state == TButton2::Pressed);
    }
    SECTION("a hovered button is pressed by a left press")
    {
        button.onHover(700.f, 1000.f);
        button.onPress(0, 700.f, 1000.f);
        CHECK(button.state == TButton2::Pressed);
    }
}

TEST_CASE("a disabled button ignores press, release and hover", "[eggline][button]")
{
    testsupport::freshGame();
    TButton2 button = roundButton();
    ClickRecorder recorder;
    button.onClick = {1, &recorder, &TActor::changeValue};
    button.state = TButton2::Disabled;

    button.onHover(700.f, 1000.f);
    CHECK(button.state == TButton2::Disabled);
    button.onPress(0, 700.f, 1000.f);
    CHECK(button.state == TButton2::Disabled);
    button.onRelease(0, 700.f, 1000.f);
    CHECK(button.state == TButton2::Disabled);
    CHECK(recorder.calls == 0);
}

TEST_CASE("a button draws its state image and icon as shared stamps at its place", "[eggline][button]")
{
    testsupport::freshGame();
    TTextureStore& store = TTextureStore::instance();
    TButton2 button = roundButton();
    sf::RenderTexture target({1920, 1080});

    SECTION("icons: only indexes 0 and 1 are taken")
    {
        button.setIcon(0, image::iconScanWhite, {56.5f, 56.5f});
        button.setIcon(1, image::iconScan, {10.f, 20.f});
        button.setIcon(2, image::start, {1.f, 1.f});
        CHECK(button.iconTextures[0] == 143);
        CHECK(button.iconTextures[1] == 142);
        CHECK(button.iconOffsets[1] == sf::Vector2f(10.f, 20.f));
    }
    SECTION("the pressed image and icon 1 move to the button")
    {
        button.setIcon(1, image::iconScan, {10.f, 20.f});
        button.showIcon(1);
        button.state = TButton2::Pressed;
        store.getSprite(image::circleButtonPressed).setPosition({0.f, 0.f});
        button.draw(target);
        CHECK(store.getSprite(image::circleButtonPressed).getPosition() == sf::Vector2f(682.f, 944.f));
        CHECK(store.getSprite(image::iconScan).getPosition() == sf::Vector2f(692.f, 964.f));
    }
    SECTION("the hover image is taken from the setter")
    {
        button.setHoverTexture(125);
        button.state = TButton2::Hover;
        store.getSprite(image::buttonCloseHover).setPosition({0.f, 0.f});
        button.draw(target);
        CHECK(store.getSprite(image::buttonCloseHover).getPosition() == sf::Vector2f(682.f, 944.f));
    }
}
