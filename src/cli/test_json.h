#pragma once

#include <nlohmann/json.hpp>

#include "cli/console_operator.h"
#include "model/test_description.h"

namespace qel::cli {

// The loaded test as JSON, keys named as in the model; diagrams limited to cycles from..to.
nlohmann::ordered_json testToJson(const TestDescription& test,
                                  const std::vector<ConsoleOperator::Message>& messages, int from, int to);

}  // namespace qel::cli
