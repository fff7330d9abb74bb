#include "algorithms/algorithm_dialog.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "text/radix.h"

namespace qel::algorithms {

AlgorithmDialog::AlgorithmDialog(const TestDescription& test, bool compressedRamTest)
    : radix_(test.words[0].radix), compressed_(compressedRamTest) {
  const AlgorithmSettings& s = test.algorithms;
  if (s.standard.selected)
    page_ = AlgorithmKind::Standard;
  else if (s.cyclic.selected)
    page_ = AlgorithmKind::Cyclic;
  else if (s.rom.selected)
    page_ = AlgorithmKind::Rom;
  else if (s.ram.selected)
    page_ = AlgorithmKind::Ram;
  else if (s.march.selected)
    page_ = AlgorithmKind::March;
  fields_[size_t(AddressField::RomStart)] = text::formatRadix(s.rom.startAddress, radix_);
  fields_[size_t(AddressField::RomFinal)] = text::formatRadix(s.rom.finalAddress, radix_);
  fields_[size_t(AddressField::RamStart)] = text::formatRadix(s.ram.startAddress, radix_);
  fields_[size_t(AddressField::RamFinal)] = text::formatRadix(s.ram.finalAddress, radix_);
  fields_[size_t(AddressField::MarchStart)] = text::formatRadix(s.march.startAddress, radix_);
  fields_[size_t(AddressField::MarchFinal)] = text::formatRadix(s.march.finalAddress, radix_);
  dataFile_ = s.rom.dataFileName;
  background_ = s.march.background;
}

void AlgorithmDialog::editAddress(AddressField f, std::string_view text) {
  if (fields_[size_t(f)] == text) return;
  fields_[size_t(f)] = std::string(text);
  modified_ = true;
  for (auto& field : fields_) field = text::cleanRadixText(field, radix_);
}

std::optional<int32_t> AlgorithmDialog::parseField(AddressField f, Operator& op) const {
  const std::string& s = fields_[size_t(f)];
  auto v = text::parseRadix(s, radix_);
  if (!v) op.message("'" + s + "' is not a valid integer value", Icon::Error);
  return v;
}

void AlgorithmDialog::stepAddress(AddressField f, int delta, Operator& op) {
  const auto v = parseField(f, op);
  if (!v) return;
  // The formatters are meant for non-negative addresses.
  const int64_t next = std::clamp<int64_t>(int64_t(*v) + delta, 0, INT32_MAX);
  editAddress(f, text::formatRadix(next, radix_));
}

void AlgorithmDialog::chooseDataFile(Operator& op) {
  modified_ = true;
  auto chosen = op.chooseFile({std::string(kDataFileFilter), "dat", false, {}});
  if (chosen && !chosen->empty()) dataFile_ = *chosen;
}

void AlgorithmDialog::editDataFileName(std::string_view text) {
  if (dataFile_ == text) return;
  dataFile_ = std::string(text);
  modified_ = true;
}

void AlgorithmDialog::setCompressed(bool on) {
  compressed_ = on;
  modified_ = true;
}

void AlgorithmDialog::setBackground(MarchBackground background) {
  background_ = background;
  modified_ = true;
}

bool AlgorithmDialog::storeRange(AddressField start, AddressField final, int32_t& first, int32_t& last,
                                 Operator& op) const {
  const auto a = parseField(start, op);
  if (!a) return false;
  const auto b = parseField(final, op);
  if (!b) return false;
  first = std::min(*a, *b);
  last = std::max(*a, *b);
  return true;
}

DialogApplyResult AlgorithmDialog::accept(TestDescription& test, Operator& op,
                                          const ExpansionOptions& options) const {
  DialogApplyResult r;
  if (!modified_) return r;
  AlgorithmSettings& s = test.algorithms;
  if (s.rom.selected) {
    if (!storeRange(AddressField::RomStart, AddressField::RomFinal, s.rom.startAddress, s.rom.finalAddress,
                    op))
      return r;
    s.rom.dataFileName = dataFile_;
    r.applied = true;
    expandRom(test, op, options);
    r.expanded = AlgorithmKind::Rom;
  }
  r.compressedRamTest = compressed_;
  r.applied = true;
  if (s.ram.selected) {
    if (!storeRange(AddressField::RamStart, AddressField::RamFinal, s.ram.startAddress, s.ram.finalAddress,
                    op))
      return r;
    ExpansionOptions ram = options;
    ram.compressedRamTest = compressed_;
    expandRam(test, op, ram);
    r.expanded = AlgorithmKind::Ram;
  }
  if (s.march.selected) {
    if (!storeRange(AddressField::MarchStart, AddressField::MarchFinal, s.march.startAddress,
                    s.march.finalAddress, op))
      return r;
    s.march.background = background_;
    expandMarch(test, op, options);
    r.expanded = AlgorithmKind::March;
  }
  return r;
}

}  // namespace qel::algorithms
