#pragma once
// What vector would catch a fault the test misses, in a technician's words.

#include <string>
#include <string_view>
#include <vector>

#include "coverage/pin_activity.h"
#include "model/test_description.h"

namespace qel::coverage {

// activity: pinActivity(test).
std::string missedFaultHint(const TestDescription& test, const std::vector<PinActivity>& activity,
                            std::string_view fault);

}  // namespace qel::coverage
