#pragma once
// The faults that grade a test: those inside the chip. A pin held by the board or without contact
// is caught by the contact test and the read-back whatever the vectors are; what the vectors
// decide is whether a fault on the die shows.

#include <string>
#include <string_view>
#include <vector>

#include "virtual/chip.h"

namespace qel::coverage {

enum class FaultClass { Input, Output, Bridge, Address, Data, Cell };
inline constexpr FaultClass kFaultClasses[] = {FaultClass::Input,   FaultClass::Output, FaultClass::Bridge,
                                               FaultClass::Address, FaultClass::Data,   FaultClass::Cell};

// As the totals show it: "входы (in0, in1)".
const char* classCaption(FaultClass c);
FaultClass classOf(std::string_view fault);
// The numbers after the fault's colon ("bridge:3,4" -> 3, 4; "transition:5,1,up" -> 5, 1).
std::vector<int> faultNumbers(std::string_view fault);

// Every fault of the chip, as --fault specs: each input stuck low and high as the logic sees it,
// each output stuck, neighbouring pins of a package side bridged; for the 2716 and 6116 also the
// address and data lines inside and, for the RAM, a sample of cell faults.
std::vector<std::string> faultList(const virt::Chip& chip);

}  // namespace qel::coverage
