#pragma once
// What the algorithm dialog does, without the window: its fields, the editing rules and OK.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "algorithms/expansion.h"

namespace qel::algorithms {

enum class AddressField {
  RomStart = 0,
  RomFinal = 1,
  RamStart = 2,
  RamFinal = 3,
  MarchStart = 4,
  MarchFinal = 5
};
inline constexpr size_t kAddressFields = 6;

inline constexpr std::string_view kCompressedRamHint =
    "Сжатый алгоритм тестирования не тестирует ячейки ОЗУ. Включить полный алгоритм тестирования вы можете в "
    "настройках программы";
inline constexpr std::string_view kDataFileFilter = "Data File|*.dat|All File|*.*";

// The March C- page: the algorithm's name beside "Алгоритм:", the address fields as on the Ram
// page, and the data background as a choice; words and cycles are shown read-only from the test.
inline constexpr std::string_view kMarchName = "March C-";
inline constexpr std::string_view kMarchAddressHint =
    "March C- проверяет каждую ячейку диапазона: запись 0; вверх чтение 0, запись 1; вверх чтение 1, запись "
    "0; "
    "вниз чтение 0, запись 1; вниз чтение 1, запись 0; чтение 0";
inline constexpr std::string_view kBackgroundCaption = "Фон данных";
// By MarchBackground.
inline constexpr std::array<std::string_view, 2> kBackgroundNames = {"Сплошной", "Шахматный"};
inline constexpr std::string_view kBackgroundHint =
    "Сплошной: 0 - все биты 0. Шахматный: 0 - 01010101 по четным и 10101010 по нечетным адресам; "
    "находит и замыкания соседних линий данных";

struct DialogApplyResult {
  bool applied = false;                   // OK found a change and stored at least one value
  std::optional<bool> compressedRamTest;  // the new program setting, when it was stored
  std::optional<AlgorithmKind> expanded;  // the expansion that ran
};

class AlgorithmDialog {
 public:
  // Filled from the test as the dialog opens; compressed is the program setting.
  AlgorithmDialog(const TestDescription& test, bool compressedRamTest);

  // The page shown, by the selected block; nullopt when no block is selected.
  std::optional<AlgorithmKind> page() const { return page_; }
  int radix() const { return radix_; }
  bool modified() const { return modified_; }
  const std::string& address(AddressField f) const { return fields_[size_t(f)]; }
  const std::string& dataFileName() const { return dataFile_; }
  bool compressed() const { return compressed_; }
  // Hint of the Ram address fields: set only while the compressed test is chosen.
  std::string_view ramAddressHint() const { return compressed_ ? kCompressedRamHint : std::string_view{}; }

  // The field's text after an edit (typing, pasting): every field keeps only digits of the radix.
  void editAddress(AddressField f, std::string_view text);
  // The up (+1) or down (-1) button; the value stays at 0 or above.
  void stepAddress(AddressField f, int delta, Operator& op);
  // "...": a chosen non-empty name replaces the data file name.
  void chooseDataFile(Operator& op);
  void editDataFileName(std::string_view text);
  void setCompressed(bool on);
  MarchBackground background() const { return background_; }
  void setBackground(MarchBackground background);

  // OK: with a change, stores the values and runs the expansion of the selected block.
  DialogApplyResult accept(TestDescription& test, Operator& op, const ExpansionOptions& options) const;

 private:
  std::optional<int32_t> parseField(AddressField f, Operator& op) const;
  // Both fields parsed, the smaller first; false (nothing stored) when one does not parse.
  bool storeRange(AddressField start, AddressField final, int32_t& first, int32_t& last, Operator& op) const;

  std::optional<AlgorithmKind> page_;
  int radix_ = 10;
  bool modified_ = false;
  bool compressed_ = true;
  std::array<std::string, kAddressFields> fields_;
  std::string dataFile_;
  MarchBackground background_ = MarchBackground::Solid;
};

}  // namespace qel::algorithms
