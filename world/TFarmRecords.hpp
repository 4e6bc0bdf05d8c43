#pragma once

#include "core/ImageTable.hpp"
#include "world/TFarmSave.hpp"
#include "world/TSaveRecord.hpp"

// The save file's layout: the farm and each record in it (a chicken, its
// timers, an egg, a dirt spot, a feeder, the purse, the clock, the open
// window ...), every field declared once with its key, its member and the
// limits it is read within. A new saved value is one line here (and its
// member in TFarmSave's records, and how it is taken from the world and put
// back). Keys are written in the tables' order.
class TFarmRecords {
public:
    // The sheets a chicken's sprite can show.
    static constexpr int chickenSheets[] = {image::walk,      image::dance, image::eat,     image::chickEat,
                                            image::chickWalk, image::seat,  image::kurort1, image::kurort2};

    static const TSaveRecord<TFarmSave::Snapshot>& farm();
};
