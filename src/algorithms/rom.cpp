#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "algorithms/common.h"
#include "algorithms/rom_data_file.h"
#include "algorithms/word_value.h"

namespace qel::algorithms {

namespace {

// Asks for a data file when the test names none; false when no name could be found at all.
bool ensureDataFileName(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  RomParams& rom = test.algorithms.rom;
  if (!options.romDataFile.empty()) rom.dataFileName = options.romDataFile;
  if (!rom.dataFileName.empty()) return true;
  op.message("Файл данных ПЗУ не указан. Выберите файл данных ПЗУ", Icon::Warning);
  auto chosen = op.chooseFile({"Dat|*.dat", "dat", false, {}});
  if (chosen && !chosen->empty()) {
    rom.dataFileName = *chosen;
  } else {
    const std::string& base = options.openDialogFileName.empty() ? test.fileName : options.openDialogFileName;
    // Without any test path the default would be a stray ".Dat" in the working folder.
    if (base.empty()) return false;
    rom.dataFileName = defaultRomDataFileName(base);
  }
  prepareExpansion(options);
  return true;
}

bool refuse(Operator& op, const std::string& why) {
  op.message(why + " Тест не развернут.", Icon::Error);
  return false;
}

// The data expected at every address, or nothing when the file had to be created or is unreadable.
std::vector<uint8_t> loadRomData(const std::string& path, size_t count, Operator& op, bool& haveData) {
  haveData = false;
  if (path.empty()) return {};
  RomFileData data = readRomDataFile(path, count);
  switch (data.status) {
    case RomFileStatus::Read:
      haveData = true;
      return std::move(data.bytes);
    case RomFileStatus::Missing:
      op.message("Файл данных ПЗУ не найден. Будет создан новый файл данных ПЗУ", Icon::Information);
      // The test is laid out without expected data either way, as with a file just created.
      if (!createRomDataFile(path)) op.message("Невозможно создать файл данных ПЗУ " + path, Icon::Warning);
      return {};
    case RomFileStatus::Unreadable:
      // An existing file is never truncated just because it cannot be read now.
      op.message("Невозможно прочитать файл данных ПЗУ " + path + " (" + data.reason + ")", Icon::Error);
      return {};
  }
  return {};
}

}  // namespace

void expandRom(TestDescription& test, Operator& op, const ExpansionOptions& options) {
  prepareExpansion(options);
  const bool named = ensureDataFileName(test, op, options);
  RomParams& rom = test.algorithms.rom;

  const DataWord* addressWord = usableWord(test, rom.addressWord);
  const DataWord* dataWord = usableWord(test, rom.dataWord);
  if (!addressWord) {
    refuse(op, "Слово адреса алгоритма ПЗУ не задано или не содержит контактов.");
    return;
  }
  if (!dataWord) {
    refuse(op, "Слово данных алгоритма ПЗУ не задано или не содержит контактов.");
    return;
  }
  const int n = test.templateCycles;
  if (n < 1) {
    refuse(op, "Шаблон теста ПЗУ не содержит тактов.");
    return;
  }
  if (rom.startAddress > rom.finalAddress) {
    std::swap(rom.startAddress, rom.finalAddress);
    op.log("Начальный адрес ПЗУ больше конечного: адреса переставлены");
  }
  const int64_t count = int64_t(rom.finalAddress) - rom.startAddress + 1;
  if (count * n > kMaxCycles) {
    refuse(op, "Диапазон адресов ПЗУ слишком велик: " + std::to_string(count) + " адресов.");
    return;
  }

  bool haveData = false;
  const std::vector<uint8_t> data =
      named ? loadRomData(resolveBesideTest(test.fileName, rom.dataFileName), size_t(count), op, haveData)
            : std::vector<uint8_t>{};
  if (!named) op.log("Файл данных ПЗУ не указан: ожидаемые данные не заданы");

  op.waitShow(kWaitCaption, kWaitLabel);
  op.waitRange(rom.startAddress, rom.finalAddress);

  CyclicParams& cyclic = test.algorithms.cyclic;
  cyclic.repeatCount = int32_t(count);
  cyclic.repeatFirst = 1;
  cyclic.repeatLast = n;

  // Every expansion starts from the loaded template, so a repeated one keeps nothing of the last.
  if (test.backupCycles() >= n)
    for (int c = 1; c <= n; ++c) test.restoreCycle(c, c);
  if (!resizeForExpansion(test, op, count * n)) {
    op.waitClose();
    return;
  }

  const WordPins address(*addressWord, addressWord->width());
  const WordPins expected(*dataWord, dataWord->width());
  const int64_t hold = std::max(rom.addressCycles, rom.dataCycle);
  const int64_t addrFrom = std::max<int64_t>(rom.addressCycle - 1, 0);
  const int64_t addrTo = std::min<int64_t>(int64_t(rom.addressCycle) - 1 + hold, n);  // exclusive
  const int dataPos = rom.dataCycle - 1;
  const bool dataInBlock = haveData && dataPos >= 0 && dataPos < n;

  auto fillBlock = [&](int64_t b) {
    const uint32_t x = uint32_t(int64_t(rom.startAddress) + b);
    const int base = int(b * n);
    for (int64_t i = addrFrom; i < addrTo; ++i) address.write(test, base + int(i) + 1, x, WordMode::Drive);
    if (dataInBlock) expected.write(test, base + dataPos + 1, data[size_t(b)], WordMode::Expect);
  };

  // Block 0 is written over the template itself; later blocks copy the template as block 0 left it.
  op.waitProgress(rom.startAddress);
  fillBlock(0);
  for (int64_t b = 1; b < count; ++b) {
    op.waitProgress(int(rom.startAddress + b));
    test.copyLevels(1, int(b * n + 1), n);
    fillBlock(b);
  }
  markCycleAfterTest(test);
  op.waitClose();
  completeExpansion(test, op);
}

}  // namespace qel::algorithms
