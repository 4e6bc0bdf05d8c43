#pragma once

#include <array>
#include <cstddef>
#include <vector>

// Every image of the game: its texture id, its file under src/images/ and the
// size it is drawn at. Layouts and hit tests read the sizes back from the
// textures, so a size is part of the game's behaviour: the asset generator
// paints each image at exactly this size, and the store refuses a file of any
// other. Ids run from 0 to 167; id 2 was never used.
//
// Code names an image by its constant below, never by a bare number. Each
// constant is its file's name in lower camel case (spaces and underscores
// dropped), except the transparent placeholder, id 0 ("null.png").
namespace image {

inline constexpr int placeholder = 0;
inline constexpr int textureForm = 1;
inline constexpr int textureValueControl = 3;
inline constexpr int buttonValueControl = 4;
inline constexpr int win1 = 5;
inline constexpr int cursor1 = 6;
inline constexpr int egg1 = 7;
inline constexpr int egg2 = 8;
inline constexpr int egg3 = 9;
inline constexpr int egg4 = 10;
inline constexpr int transporter1 = 11;
inline constexpr int xray = 12;
inline constexpr int menu = 13;
inline constexpr int egg1xray = 14;
inline constexpr int embryomutanto1 = 15;
inline constexpr int embryo2mutanto = 16;
inline constexpr int embryo1 = 17;
inline constexpr int embryo21 = 18;
inline constexpr int embryorip1 = 19;
inline constexpr int termIndik = 20;
inline constexpr int termBtn1 = 21;
inline constexpr int termBtn2 = 22;
inline constexpr int chicken = 23;
inline constexpr int eggBreaking = 24;
inline constexpr int hatchingChick = 25;
inline constexpr int hatchingChickMutanto = 26;
inline constexpr int eggPuff = 27;
inline constexpr int cell = 28;
inline constexpr int rectangle221 = 29;
inline constexpr int rectangle181 = 30;
inline constexpr int frame40 = 31;
inline constexpr int frame41 = 32;
inline constexpr int frame43 = 33;
inline constexpr int frame44 = 34;
inline constexpr int frame46 = 35;
inline constexpr int buttonControl = 36;
inline constexpr int chiken1 = 37;
inline constexpr int frame60 = 38;
inline constexpr int frame49 = 39;
inline constexpr int subtract = 40;
inline constexpr int feeding = 41;
inline constexpr int drinkingbowl = 42;
inline constexpr int indicator = 43;
inline constexpr int arrowindicator = 44;
inline constexpr int feed = 45;
inline constexpr int gutterfood = 46;
inline constexpr int frame67 = 47;
inline constexpr int frame68 = 48;
inline constexpr int frame69 = 49;
inline constexpr int frame70 = 50;
inline constexpr int frame71 = 51;
inline constexpr int frame72 = 52;
inline constexpr int eggC1 = 53;
inline constexpr int rectangle260 = 54;
inline constexpr int rectangle261 = 55;
inline constexpr int progressbarValue = 56;
inline constexpr int frameTimer = 57;
inline constexpr int frameCurCoin = 58;
inline constexpr int frameCountEggs = 59;
inline constexpr int phsiholog = 60;
inline constexpr int veterinar = 61;
inline constexpr int kurort = 62;
inline constexpr int winSort = 63;
inline constexpr int buttonSort = 64;
inline constexpr int buttonSortPressed = 65;
inline constexpr int buttonClean = 66;
inline constexpr int buttonSound = 67;
inline constexpr int buttonShop = 68;
inline constexpr int buttonClose = 69;
inline constexpr int sortingMachine1 = 70;
inline constexpr int sortingMachine2 = 71;
inline constexpr int buttonStartSortMachine = 72;
inline constexpr int eggPackaging = 73;
inline constexpr int eggPackagingC0 = 74;
inline constexpr int eggPackagingC1 = 75;
inline constexpr int eggC1red = 76;
inline constexpr int eggC1green = 77;
inline constexpr int walk = 78;
inline constexpr int dance = 79;
inline constexpr int eat = 80;
inline constexpr int windowShop = 81;
inline constexpr int ortomyk = 82;
inline constexpr int plimsa = 83;
inline constexpr int inventory = 84;
inline constexpr int cormbaby1 = 85;
inline constexpr int cormbaby2 = 86;
inline constexpr int cormbaby3 = 87;
inline constexpr int tabletki = 88;
inline constexpr int iconWarning = 89;
inline constexpr int emptyFeeding = 90;
inline constexpr int shopPage1 = 91;
inline constexpr int shopPage2 = 92;
inline constexpr int shopPage3 = 93;
inline constexpr int shopPage1disable = 94;
inline constexpr int shopPage2disable = 95;
inline constexpr int shopPage3disable = 96;
inline constexpr int shopItemDisabled = 97;
inline constexpr int shopItem1 = 98;
inline constexpr int shopItem2 = 99;
inline constexpr int shopItem3 = 100;
inline constexpr int shopItem4 = 101;
inline constexpr int shopItem5 = 102;
inline constexpr int shopItem6 = 103;
inline constexpr int shopItem7 = 104;
inline constexpr int shopItem8 = 105;
inline constexpr int shopSlotDisable = 106;
inline constexpr int shopSlot = 107;
inline constexpr int shopPage1Background = 108;
inline constexpr int shopPage2Background = 109;
inline constexpr int shopPage3Background = 110;
inline constexpr int chickEat = 111;
inline constexpr int chickWalk = 112;
inline constexpr int zherlob = 113;
inline constexpr int ventilation = 114;
inline constexpr int panel1 = 115;
inline constexpr int buttonShopPressed = 116;
inline constexpr int buttonPlus = 117;
inline constexpr int buttonPlusHover = 118;
inline constexpr int buttonPlusPressed = 119;
inline constexpr int buttonPlusDisabled = 120;
inline constexpr int buttonMinus = 121;
inline constexpr int buttonMinusHover = 122;
inline constexpr int buttonMinusPressed = 123;
inline constexpr int buttonMinusDisabled = 124;
inline constexpr int buttonCloseHover = 125;
inline constexpr int buttonClosePressed = 126;
inline constexpr int seat = 127;
inline constexpr int shopPage1Hover = 128;
inline constexpr int shopPage2Hover = 129;
inline constexpr int shopPage3Hover = 130;
inline constexpr int shopPage1Pressed = 131;
inline constexpr int shopPage2Pressed = 132;
inline constexpr int shopPage3Pressed = 133;
inline constexpr int button = 134;
inline constexpr int buttonHover = 135;
inline constexpr int buttonPressed = 136;
inline constexpr int buttonDisable = 137;
inline constexpr int buy = 138;
inline constexpr int circleButton = 139;
inline constexpr int circleButtonHover = 140;
inline constexpr int circleButtonPressed = 141;
inline constexpr int iconScan = 142;
inline constexpr int iconScanWhite = 143;
inline constexpr int iconShop = 144;
inline constexpr int iconShopWhite = 145;
inline constexpr int iconMusic = 146;
inline constexpr int iconMusicWhite = 147;
inline constexpr int iconClean = 148;
inline constexpr int iconCleanWhite = 149;
inline constexpr int start = 150;
inline constexpr int kurort1 = 151;
inline constexpr int kurort2 = 152;
inline constexpr int emotionKurort = 153;
inline constexpr int pen1 = 154;
inline constexpr int pen2 = 155;
inline constexpr int pen3 = 156;
inline constexpr int pollution1 = 157;
inline constexpr int pollution2 = 158;
inline constexpr int bubble = 159;
inline constexpr int bubble2 = 160;
inline constexpr int majesticonsMusic = 161;
inline constexpr int egg0 = 162;
inline constexpr int scene11msg1 = 163;
inline constexpr int scene11msg2 = 164;
inline constexpr int scene11msg3 = 165;
inline constexpr int scene11msg4 = 166;
inline constexpr int quest1 = 167;
inline constexpr int iconMusicOffWhite = 168;
inline constexpr int tooltipFrame = 169;
inline constexpr int pauseVeil = 170;
inline constexpr int pauseSign = 171;
inline constexpr int celebration = 172;
inline constexpr int controlsCard = 173;
} // namespace image

struct TImageInfo {
    int id;
    const char* file;
    int width;
    int height;
};

inline constexpr int imageCount = 173;

// In id order.
inline constexpr std::array<TImageInfo, imageCount> imageTable{{
    {image::placeholder, "null.png", 64, 64},
    {image::textureForm, "texture_form.png", 256, 256},
    {image::textureValueControl, "texture_value_control.png", 256, 32},
    {image::buttonValueControl, "button_value_control.png", 32, 32},
    {image::win1, "win1.png", 640, 400},
    {image::cursor1, "cursor1.png", 32, 32},
    {image::egg1, "egg1.png", 48, 64},
    {image::egg2, "egg2.png", 48, 64},
    {image::egg3, "egg3.png", 48, 64},
    {image::egg4, "egg4.png", 48, 64},
    {image::transporter1, "transporter1.png", 512, 96},
    {image::xray, "xray.png", 320, 320},
    {image::menu, "menu.png", 480, 600},
    {image::egg1xray, "egg1xray.png", 48, 64},
    {image::embryomutanto1, "embryomutanto 1.png", 48, 64},
    {image::embryo2mutanto, "embryo2mutanto.png", 48, 64},
    {image::embryo1, "embryo1.png", 48, 64},
    {image::embryo21, "embryo2 1.png", 48, 64},
    {image::embryorip1, "embryorip 1.png", 48, 64},
    {image::termIndik, "term_indik.png", 32, 160},
    {image::termBtn1, "term_btn1.png", 48, 48},
    {image::termBtn2, "term_btn2.png", 48, 48},
    {image::chicken, "chicken.png", 128, 128},
    {image::eggBreaking, "EggBreaking.png", 1024, 128},
    {image::hatchingChick, "HatchingChick.png", 1024, 128},
    {image::hatchingChickMutanto, "HatchingChickMutanto.png", 1024, 128},
    {image::eggPuff, "EggPuff.png", 1024, 128},
    {image::cell, "cell.png", 24, 24},
    {image::rectangle221, "Rectangle 221.png", 1920, 132},
    {image::rectangle181, "Rectangle 181.png", 240, 60},
    {image::frame40, "Frame 40.png", 240, 80},
    {image::frame41, "Frame 41.png", 240, 80},
    {image::frame43, "Frame 43.png", 240, 80},
    {image::frame44, "Frame 44.png", 240, 80},
    {image::frame46, "Frame 46.png", 240, 80},
    {image::buttonControl, "buttonControl.png", 715, 80},
    {image::chiken1, "chiken1.png", 130, 130},
    {image::frame60, "Frame 60.png", 1247, 125},
    {image::frame49, "Frame 49.png", 1233, 105},
    {image::subtract, "Subtract.png", 1920, 1080},
    {image::feeding, "feeding.png", 130, 113},
    {image::drinkingbowl, "drinkingbowl.png", 141, 143},
    {image::indicator, "indicator.png", 50, 50},
    {image::arrowindicator, "arrowindicator.png", 5, 22},
    {image::feed, "feed.png", 150, 190},
    {image::gutterfood, "gutterfood.png", 404, 40},
    {image::frame67, "Frame 67.png", 56, 56},
    {image::frame68, "Frame 68.png", 56, 56},
    {image::frame69, "Frame 69.png", 56, 56},
    {image::frame70, "Frame 70.png", 56, 56},
    {image::frame71, "Frame 71.png", 56, 56},
    {image::frame72, "Frame 72.png", 56, 56},
    {image::eggC1, "eggC1.png", 30, 40},
    {image::rectangle260, "Rectangle 260.png", 300, 24},
    {image::rectangle261, "Rectangle 261.png", 300, 24},
    {image::progressbarValue, "progressbarValue.png", 296, 20},
    {image::frameTimer, "FrameTimer.png", 180, 62},
    {image::frameCurCoin, "FrameCurCoin.png", 173, 62},
    {image::frameCountEggs, "FrameCountEggs.png", 450, 100},
    {image::phsiholog, "phsiholog.png", 358, 540},
    {image::veterinar, "veterinar.png", 358, 540},
    {image::kurort, "kurort.png", 358, 540},
    {image::winSort, "WinSort.png", 860, 820},
    {image::buttonSort, "buttonSort.png", 113, 113},
    {image::buttonSortPressed, "buttonSortPressed.png", 113, 113},
    {image::buttonClean, "buttonClean.png", 113, 113},
    {image::buttonSound, "buttonSound.png", 113, 113},
    {image::buttonShop, "buttonShop.png", 113, 113},
    {image::buttonClose, "buttonClose.png", 48, 48},
    {image::sortingMachine1, "sortingMachine1.png", 613, 300},
    {image::sortingMachine2, "sortingMachine2.png", 655, 110},
    {image::buttonStartSortMachine, "buttonStartSortMachine.png", 113, 113},
    {image::eggPackaging, "eggPackaging.png", 122, 100},
    {image::eggPackagingC0, "eggPackagingC0.png", 122, 100},
    {image::eggPackagingC1, "eggPackagingC1.png", 122, 100},
    {image::eggC1red, "eggC1red.png", 30, 40},
    {image::eggC1green, "eggC1green.png", 30, 40},
    {image::walk, "walk.png", 4096, 2560},
    {image::dance, "dance.png", 4096, 2560},
    {image::eat, "eat.png", 4096, 2560},
    {image::windowShop, "windowShop.png", 860, 820},
    {image::ortomyk, "Ortomyk.png", 1330, 300},
    {image::plimsa, "Plimsa.png", 1330, 300},
    {image::inventory, "inventory.png", 432, 160},
    {image::cormbaby1, "cormbaby1.png", 62, 58},
    {image::cormbaby2, "cormbaby2.png", 54, 68},
    {image::cormbaby3, "cormbaby3.png", 64, 58},
    {image::tabletki, "tabletki.png", 66, 68},
    {image::iconWarning, "iconWarning.png", 50, 50},
    {image::emptyFeeding, "emptyFeeding.png", 130, 113},
    {image::shopPage1, "shopPage1.png", 115, 130},
    {image::shopPage2, "shopPage2.png", 115, 130},
    {image::shopPage3, "shopPage3.png", 115, 130},
    {image::shopPage1disable, "shopPage1disable.png", 115, 130},
    {image::shopPage2disable, "shopPage2disable.png", 115, 130},
    {image::shopPage3disable, "shopPage3disable.png", 115, 130},
    {image::shopItemDisabled, "shopItemDisabled.png", 64, 64},
    {image::shopItem1, "shopItem1.png", 64, 64},
    {image::shopItem2, "shopItem2.png", 64, 64},
    {image::shopItem3, "shopItem3.png", 64, 64},
    {image::shopItem4, "shopItem4.png", 64, 64},
    {image::shopItem5, "shopItem5.png", 64, 64},
    {image::shopItem6, "shopItem6.png", 64, 64},
    {image::shopItem7, "shopItem7.png", 64, 64},
    {image::shopItem8, "shopItem8.png", 64, 64},
    {image::shopSlotDisable, "ShopSlotDisable.png", 220, 248},
    {image::shopSlot, "ShopSlot.png", 220, 248},
    {image::shopPage1Background, "shopPage1Background.png", 860, 820},
    {image::shopPage2Background, "shopPage2Background.png", 860, 820},
    {image::shopPage3Background, "shopPage3Background.png", 860, 820},
    {image::chickEat, "ChickEat.png", 4096, 2560},
    {image::chickWalk, "ChickWalk.png", 4096, 2560},
    {image::zherlob, "zherlob.png", 1248, 40},
    {image::ventilation, "ventilation.png", 120, 120},
    {image::panel1, "panel1.png", 105, 250},
    {image::buttonShopPressed, "buttonShopPressed.png", 113, 113},
    {image::buttonPlus, "buttonPlus.png", 36, 36},
    {image::buttonPlusHover, "buttonPlusHover.png", 36, 36},
    {image::buttonPlusPressed, "buttonPlusPressed.png", 36, 36},
    {image::buttonPlusDisabled, "buttonPlusDisabled.png", 36, 36},
    {image::buttonMinus, "buttonMinus.png", 36, 36},
    {image::buttonMinusHover, "buttonMinusHover.png", 36, 36},
    {image::buttonMinusPressed, "buttonMinusPressed.png", 36, 36},
    {image::buttonMinusDisabled, "buttonMinusDisabled.png", 36, 36},
    {image::buttonCloseHover, "buttonCloseHover.png", 48, 48},
    {image::buttonClosePressed, "buttonClosePressed.png", 48, 48},
    {image::seat, "seat.png", 4096, 2560},
    {image::shopPage1Hover, "shopPage1Hover.png", 115, 130},
    {image::shopPage2Hover, "shopPage2Hover.png", 115, 130},
    {image::shopPage3Hover, "shopPage3Hover.png", 115, 130},
    {image::shopPage1Pressed, "shopPage1Pressed.png", 115, 130},
    {image::shopPage2Pressed, "shopPage2Pressed.png", 115, 130},
    {image::shopPage3Pressed, "shopPage3Pressed.png", 115, 130},
    {image::button, "button.png", 416, 91},
    {image::buttonHover, "buttonHover.png", 416, 91},
    {image::buttonPressed, "buttonPressed.png", 416, 91},
    {image::buttonDisable, "buttonDisable.png", 416, 91},
    {image::buy, "buy.png", 190, 50},
    {image::circleButton, "CircleButton.png", 113, 113},
    {image::circleButtonHover, "CircleButtonHover.png", 113, 113},
    {image::circleButtonPressed, "CircleButtonPressed.png", 113, 113},
    {image::iconScan, "iconScan.png", 63, 63},
    {image::iconScanWhite, "iconScanWhite.png", 63, 63},
    {image::iconShop, "iconShop.png", 63, 63},
    {image::iconShopWhite, "iconShopWhite.png", 63, 63},
    {image::iconMusic, "iconMusic.png", 63, 63},
    {image::iconMusicWhite, "iconMusicWhite.png", 63, 63},
    {image::iconClean, "iconClean.png", 63, 63},
    {image::iconCleanWhite, "iconCleanWhite.png", 63, 63},
    {image::start, "start.png", 63, 63},
    {image::kurort1, "kurort1.png", 2048, 2048},
    {image::kurort2, "kurort2.png", 4096, 2560},
    {image::emotionKurort, "emotionKurort.png", 56, 56},
    {image::pen1, "pen1.png", 44, 36},
    {image::pen2, "pen2.png", 52, 40},
    {image::pen3, "pen3.png", 36, 30},
    {image::pollution1, "pollution1.png", 110, 70},
    {image::pollution2, "pollution2.png", 90, 64},
    {image::bubble, "bubble.png", 48, 48},
    {image::bubble2, "bubble2.png", 48, 48},
    {image::majesticonsMusic, "majesticons_music.png", 40, 40},
    {image::egg0, "egg0.png", 34, 34},
    {image::scene11msg1, "scene11msg1.png", 1294, 278},
    {image::scene11msg2, "scene11msg2.png", 1294, 220},
    {image::scene11msg3, "scene11msg3.png", 864, 480},
    {image::scene11msg4, "scene11msg4.png", 1294, 300},
    {image::quest1, "quest1.png", 400, 58},
    {image::iconMusicOffWhite, "iconMusicOffWhite.png", 63, 63},
    {image::tooltipFrame, "tooltipFrame.png", 96, 56},
    {image::pauseVeil, "pauseVeil.png", 64, 36},
    {image::pauseSign, "pauseSign.png", 720, 240},
    {image::celebration, "celebration.png", 1000, 220},
    {image::controlsCard, "controlsCard.png", 760, 640},
}};

// The entry of `id`, or null for an id with no image.
constexpr const TImageInfo* findImage(int id)
{
    for (const TImageInfo& info : imageTable)
        if (info.id == id)
            return &info;
    return nullptr;
}

// The order the store loads the images in: ascending ids, except that the
// close button comes after the last minus button and the shop slot frame
// before its disabled twin. The progress lines follow it.
inline std::vector<int> imageLoadOrder()
{
    std::vector<int> order;
    order.reserve(imageTable.size());
    for (const TImageInfo& info : imageTable) {
        if (info.id == image::buttonClose || info.id == image::shopSlotDisable)
            continue;
        order.push_back(info.id);
        if (info.id == image::shopSlot)
            order.push_back(image::shopSlotDisable);
        if (info.id == image::buttonMinusDisabled)
            order.push_back(image::buttonClose);
    }
    return order;
}
