#pragma once
// Drive levels of one block from the reference diagram, leaving undriven what the contact
// findings say must not be driven.

#include <cstdint>
#include <vector>

#include "model/contact_record.h"
#include "model/test_description.h"

namespace qel::engine {

// blockData gets pinCount bytes per cycle for 8191 cycles: 0 drive low, 1 drive high, 2 leave.
// With drive false (analyser mode) nothing is driven.
void deriveStimulus(const TestDescription& test, const ContactRecords& contacts,
                    std::vector<uint8_t>& blockData, int block, bool drive);

// Pins (1-based, ascending) that read back otherwise than the tester drove them in a block: something
// on the board fights the tester's driver there.
std::vector<int> overdrivenPins(const std::vector<uint8_t>& blockData,
                                const std::vector<uint8_t>& blockResult, int pins, int cycles);

}  // namespace qel::engine
