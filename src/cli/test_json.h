#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

#include "cli/console_operator.h"
#include "model/test_description.h"

namespace qel::cli {

// The loaded test as JSON, keys named as in the model, without the diagrams.
nlohmann::ordered_json testToJson(const TestDescription& test,
                                  const std::vector<ConsoleOperator::Message>& messages);

// The same with the reference, direction and result diagrams of cycles from..to, a string per
// row, indented by two. The diagrams are written as they are made, so a test of a million cycles
// dumps in little memory. False when out could not be written.
bool writeTestJson(std::FILE* out, const TestDescription& test,
                   const std::vector<ConsoleOperator::Message>& messages, int from, int to);

}  // namespace qel::cli
