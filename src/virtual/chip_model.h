#pragma once
// Chip models in a small text format, so that a 74-series part needs no C++: pins and their kinds,
// combinational equations, tri-state outputs with their enable, and D flip-flops with a clock
// edge, set and clear. docs/chip-models.md describes the format.

#include <memory>
#include <string>
#include <string_view>

#include "virtual/chip.h"

namespace qel::virt {

// A parsed model, shared by every chip made from it.
struct ChipModel;

struct ModelParse {
  std::shared_ptr<const ChipModel> model;  // null when the text is not a model
  int line = 0;                            // of the error, 1-based
  std::string reason;
};

ModelParse parseChipModel(std::string_view text);

// Reads and parses a model file; null with "FILE:LINE: reason" (or why the file cannot be read).
std::shared_ptr<const ChipModel> loadChipModel(const std::string& path, std::string& error);

std::unique_ptr<Chip> makeModelChip(std::shared_ptr<const ChipModel> model);

// The models of the parts that come with the virtual tester, by part number; empty for others.
std::string_view builtinModelText(std::string_view part);

}  // namespace qel::virt
