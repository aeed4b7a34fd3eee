#pragma once
// The numbers that APlayer_Create hands out, and the engines behind them.
#include <cstdint>
#include <memory>

#include "outside/aplayer/PlayerEngine.h"

namespace qova::aplayer {

// Takes the engine and returns its new number (never 0, never one in use); 0 when full.
int32_t addEngine(std::unique_ptr<PlayerEngine> engine);

// The engine with this number; null for 0 or an unknown number.
PlayerEngine* findEngine(int32_t number);

// Takes the engine out of the table, so that its number is unknown from now on; null if none.
std::unique_ptr<PlayerEngine> removeEngine(int32_t number);

}  // namespace qova::aplayer
