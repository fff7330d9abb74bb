#include "algorithms/rom_data_save.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "algorithms/rom_data_file.h"
#include "fileio/safe_save.h"
#include "text/radix.h"

namespace qel::algorithms {

namespace {

struct Range {
  int64_t first = 0, count = 0;
};

Range romRange(const RomParams& rom) {
  const int64_t lo = std::min(rom.startAddress, rom.finalAddress),
                hi = std::max(rom.startAddress, rom.finalAddress);
  return {lo, hi - lo + 1};
}

}  // namespace

RomReadout romReadoutFromResult(const TestDescription& test) {
  RomReadout out;
  const RomParams& rom = test.algorithms.rom;
  if (rom.dataWord < 0 || rom.dataWord >= kMaxDataWords) return out;
  const DataWord& word = test.words[size_t(rom.dataWord)];
  const int bits = std::min(word.filledSlots(), int(test.pinCount));
  const Range range = romRange(rom);
  out.bytes.assign(size_t(range.count), 0);
  const int64_t n = test.templateCycles;
  for (int64_t i = 0; i < range.count; ++i) {
    const int64_t cycle = i * n + rom.dataCycle;
    uint32_t value = 0;
    bool defined = cycle >= 1 && cycle <= INT32_MAX;
    for (int k = 0; k < bits && defined; ++k) {
      const uint8_t code = test.resultCode(word.pins[size_t(k + 1)], int(cycle));
      if (code != kReadLow && code != kReadHigh)
        defined = false;
      else if (k < 8 && code == kReadHigh)
        value |= 1u << k;
    }
    if (!defined) {
      if (out.undefined++ == 0) out.firstUndefined = range.first + i;
      value = 0;
    }
    out.bytes[size_t(i)] = uint8_t(value);
  }
  return out;
}

bool saveRomDataFile(const TestDescription& test, Operator& op) {
  const RomParams& rom = test.algorithms.rom;
  if (!rom.selected) return false;
  const Range range = romRange(rom);
  if (range.count > kMaxCycles) {
    op.message(
        "Диапазон адресов ПЗУ слишком велик для сохранения: " + std::to_string(range.count) + " адресов.",
        Icon::Error);
    return false;
  }
  if (rom.dataWord < 0 || rom.dataWord >= kMaxDataWords) {
    op.message("Слово данных алгоритма ПЗУ не задано.", Icon::Error);
    return false;
  }
  const auto path = op.chooseFile({"Dat|*.dat", "dat", true, rom.dataFileName});
  if (!path || path->empty()) return false;
  // A folder or a write-protected file is refused before the user is asked to replace it.
  auto cannotWrite = [&](const std::string& reason) {
    op.log(*path + ": " + reason);
    op.message("Невозможно открыть файл, возможно он занят другим приложением или защищен от изменения.",
               Icon::Error);
    return false;
  };
  if (const std::string refusal = fileio::saveRefusal(*path); !refusal.empty()) return cannotWrite(refusal);
  if (fileExists(*path) && !op.ask("Заменить существующий файл?")) return false;

  const RomReadout readout = romReadoutFromResult(test);
  const int radix = test.words[0].radix;
  // Radix 16 shows an undefined reading as a number that parses as 0; the other radices do not,
  // so there the user decides whether to save such addresses as 0.
  if (readout.undefined > 0 && radix != 16) {
    const std::string q = "Данные " + std::to_string(readout.undefined) +
                          " адресов не определены (первый адрес " +
                          text::formatRadix(readout.firstUndefined, radix) + "). Сохранить их как 0?";
    if (!op.ask(q)) return false;
  }
  if (const std::string error = fileio::saveFile(
          *path, std::string_view(reinterpret_cast<const char*>(readout.bytes.data()), readout.bytes.size()));
      !error.empty())
    return cannotWrite(error);
  op.message("Файл данных: " + *path + " cохранен успешно", Icon::Information);
  return true;
}

}  // namespace qel::algorithms
