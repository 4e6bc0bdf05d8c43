#pragma once

#include "core/TDeferred.hpp"
#include "eggline/TShop.hpp"
#include "eggline/TSlot.hpp"
#include "eggline/TSort.hpp"

#include <array>

// The egg line's process-wide objects: the inventory bar, the sorting machine
// and the shop, built with the other process-wide objects (see
// world/ProcessObjects).
extern TDeferred<std::array<TSlot, 6>> inventorySlots; // feed bags 1..3, pills, two spare
extern TDeferred<TSort> sortMachine;
extern TDeferred<TShop> shop;

// Builds the inventory, the sorting machine and the shop anew, in that order,
// with their starting state; used at the start and between tests.
void resetGameObjects();
