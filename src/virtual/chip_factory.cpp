#include <map>
#include <mutex>

#include "virtual/chip.h"
#include "virtual/chip_model.h"

namespace qel::virt {

namespace {

// Each built-in model is parsed once per process; every chip made from it shares it.
std::shared_ptr<const ChipModel> builtinModel(std::string_view part) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const ChipModel>, std::less<>> parsed;
  std::lock_guard lock(mutex);
  if (const auto it = parsed.find(part); it != parsed.end()) return it->second;
  const std::string_view text = builtinModelText(part);
  if (text.empty()) return nullptr;
  ModelParse p = parseChipModel(text);
  // The built-in texts are checked by the tests; a broken one is a build that must not pass.
  if (!p.model) return nullptr;
  parsed.emplace(std::string(part), p.model);
  return p.model;
}

}  // namespace

std::vector<std::string> knownParts() {
  return {"7400", "7474", "74161", "74245", "2716", "6116"};
}

std::unique_ptr<Chip> makeChip(std::string_view part, std::vector<uint8_t> rom, const MemoryFaults& faults) {
  if (auto model = builtinModel(part)) return makeModelChip(std::move(model));
  if (part == "74161") return makeCounter74161();
  if (part == "2716") return makeEprom2716(std::move(rom), faults);
  if (part == "6116") return makeRam6116(faults);
  return nullptr;
}

}  // namespace qel::virt
