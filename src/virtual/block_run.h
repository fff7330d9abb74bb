#pragma once
// A block of the full test run straight on the board, without the protocol: what a fault
// simulation needs a hundred times over, at the speed of the board model.

#include <cstdint>

#include "virtual/board.h"

namespace qel::virt {

// rows: pinCount drive bytes per cycle (0 low, 1 high, 2 leave), as the engine derives them; each
// pin goes on the channel the tester's map gives it for a package of pinCount pins. codes receives
// pinCount result codes per cycle (1 low, 2 high, 4 changing), as the tester's run returns them.
void runBlockOnBoard(Board& board, int pinCount, const uint8_t* rows, int cycles, uint8_t* codes);

}  // namespace qel::virt
