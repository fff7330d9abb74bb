#include "diagnosis/memory_diagnosis.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "algorithms/memory_passes.h"
#include "diagnosis/cell_faults.h"
#include "diagnosis/line_faults.h"

namespace qel::diagnosis {

namespace {

constexpr const char* kPrefix = "Диагностика памяти: ";
// Alternatives that explain the reads equally well, at most this many named.
constexpr size_t kMaxAlternatives = 3;
constexpr size_t kListedAddresses = 5;

int pinOf(const DataWord& w, int bit) {
  int k = 0;
  for (int s = 1; s <= kWordSlots; ++s)
    if (w.pins[size_t(s)] > 0 && k++ == bit) return w.pins[size_t(s)];
  return 0;
}

std::string lineName(const algorithms::MemoryPlan& plan, bool address, int bit) {
  const int pin = pinOf(address ? plan.addressWord : plan.dataWord, bit);
  return std::string(address ? "A" : "D") + std::to_string(bit) + " (вывод " + std::to_string(pin) + ")";
}

// Hexadecimal as the bench writes it: 1A3h, 0F2h.
std::string hexAddress(uint32_t address, int addressWidth) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*X", std::max(1, (addressWidth + 3) / 4), address);
  std::string s = digits;
  if (s[0] >= 'A') s.insert(0, "0");
  return s + "h";
}

// A data word in hexadecimal, a digit with an unread bit as "x".
std::string hexWord(uint32_t value, uint32_t known, int width) {
  const uint32_t all = algorithms::allOnes(width);
  std::string s;
  for (int d = std::max(1, (width + 3) / 4) - 1; d >= 0; --d) {
    const uint32_t m = (all >> (4 * d)) & 0xFu;
    s += ((known >> (4 * d)) & m) == m ? "0123456789ABCDEF"[(value >> (4 * d)) & m] : 'x';
  }
  if (s[0] >= 'A') s.insert(0, "0");
  return s + "h";
}

// Level -1: the reads cannot tell at which level the line hangs.
std::string describe(const algorithms::MemoryPlan& plan, const LineHypothesis& h, int level) {
  const std::string at = level < 0 ? "" : " (всегда " + std::to_string(level) + ")";
  switch (h.kind) {
    case LineFault::DataStuck:
      return "линия данных " + lineName(plan, false, h.line) + " не переключается" + at;
    case LineFault::DataShort:
      return "линии данных " + lineName(plan, false, h.line) + " и " + lineName(plan, false, h.other) +
             " замкнуты";
    case LineFault::AddressStuck:
      return "адресная линия " + lineName(plan, true, h.line) + " не переключается" + at;
    case LineFault::AddressShort:
      return "адресные линии " + lineName(plan, true, h.line) + " и " + lineName(plan, true, h.other) +
             " замкнуты";
  }
  return {};
}

std::string aggressorText(const algorithms::MemoryPlan& plan, const CellBitFinding& f) {
  auto hex = [&](uint32_t a) { return hexAddress(a, plan.addressWidth); };
  if (f.aggressorCount == 1) return "меняется при записи в ячейку " + hex(f.first);
  // March tests tell only on which side of the victim the aggressor lies: usually one range.
  if (f.last - f.first + 1 == f.aggressorCount)
    return "меняется при записи в одну из ячеек " + hex(f.first) + "-" + hex(f.last);
  return "меняется при записи в одну из " + std::to_string(f.aggressorCount) + " других ячеек";
}

std::string describe(const algorithms::MemoryPlan& plan, const CellBitFinding& f) {
  std::vector<std::string> ways;
  if (f.stuckLevel) ways.push_back("всегда " + std::to_string(*f.stuckLevel));
  if (f.cannotRise) ways.push_back("не переключается из 0 в 1");
  if (f.cannotFall) ways.push_back("не переключается из 1 в 0");
  if (f.aggressorCount > 0) ways.push_back(aggressorText(plan, f));
  std::string text;
  for (const auto& w : ways) text += (text.empty() ? "" : " или ") + w;
  return text;
}

std::vector<std::string> cellLines(const algorithms::MemoryPlan& plan,
                                   const std::vector<CellBitFinding>& findings) {
  // A cell with several failing bits that all hang is a stuck cell: the other ways one bit could
  // fail like that are not worth a line each.
  std::map<uint32_t, std::pair<int, int>> stuckBits;  // failing bits, of them stuck
  for (const CellBitFinding& f : findings) {
    ++stuckBits[f.address].first;
    if (f.stuckLevel) ++stuckBits[f.address].second;
  }
  // Bits of one cell that fail the same way share a line.
  std::map<std::pair<uint32_t, std::string>, std::vector<int>> grouped;
  std::vector<std::pair<uint32_t, std::string>> order;
  for (const CellBitFinding& f : findings) {
    const auto [bits, stuck] = stuckBits[f.address];
    const std::string how =
        bits > 1 && stuck == bits ? "всегда " + std::to_string(*f.stuckLevel) : describe(plan, f);
    const auto key = std::make_pair(f.address, how);
    if (!grouped.count(key)) order.push_back(key);
    grouped[key].push_back(f.bit);
  }
  std::vector<std::string> out;
  for (const auto& key : order) {
    const auto& bits = grouped[key];
    std::string list;
    for (int b : bits) list += (list.empty() ? "" : ", ") + std::to_string(b);
    out.push_back(std::string(kPrefix) + "неисправна ячейка " + hexAddress(key.first, plan.addressWidth) +
                  (bits.size() == 1 ? ", бит " : ", биты ") + list + ": " + key.second);
  }
  return out;
}

std::string summary(const algorithms::MemoryPlan& plan, const std::vector<Reading>& readings) {
  std::vector<uint32_t> addresses;
  uint32_t bits = 0;
  for (const Reading& r : readings)
    if (r.failed()) {
      if (std::find(addresses.begin(), addresses.end(), r.address) == addresses.end())
        addresses.push_back(r.address);
      bits |= ((r.expected ^ r.measured) & r.defined) | (r.checked & ~r.defined);
    }
  std::sort(addresses.begin(), addresses.end());
  std::string list;
  for (size_t i = 0; i < std::min(addresses.size(), kListedAddresses); ++i)
    list += (i ? ", " : "") + hexAddress(addresses[i], plan.addressWidth);
  if (addresses.size() > kListedAddresses) list += ", ...";
  std::string lines;
  for (int b = 0; b < 32; ++b)
    if ((bits >> b) & 1u) lines += (lines.empty() ? "" : ", ") + lineName(plan, false, b);
  return std::string(kPrefix) + "ошибки чтения по " + std::to_string(addresses.size()) +
         (addresses.size() == 1 ? " адресу (" : " адресам (") + list + "), линии данных " + lines;
}

// A ROM is read once per address: what it holds there, beside what the data file says.
std::vector<std::string> romLines(const algorithms::MemoryPlan& plan, const std::vector<Reading>& readings) {
  std::vector<std::string> out;
  for (const Reading& r : readings) {
    if (!r.failed()) continue;
    if (out.size() == kMaxDiagnosedCells) return {summary(plan, readings)};
    out.push_back(std::string(kPrefix) + "неверное содержимое ячейки " +
                  hexAddress(r.address, plan.addressWidth) + ": прочитано " +
                  hexWord(r.measured, r.defined, plan.dataWidth) + " вместо " +
                  hexWord(r.expected, r.checked, plan.dataWidth));
  }
  return out;
}

}  // namespace

std::vector<std::string> memoryDiagnosis(const TestDescription& test, int errorCount) {
  if (errorCount <= 0) return {};
  const auto plan = algorithms::memoryPlan(test);
  if (!plan) return {};
  const std::vector<Reading> readings = readingsOf(test, *plan);
  const size_t failing =
      size_t(std::count_if(readings.begin(), readings.end(), [](const Reading& r) { return r.failed(); }));
  if (failing == 0) return {std::string(kPrefix) + "данные читаются верно; ошибки - на других выводах"};

  const std::vector<LineHypothesis> lines = explainByLines(*plan, readings);
  if (!lines.empty()) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < lines.size(); ++i) {
      const LineHypothesis& h = lines[i];
      const bool stuck = h.kind == LineFault::DataStuck || h.kind == LineFault::AddressStuck;
      // A line stuck at 0 and the same line stuck at 1 explain the reads alike: say so once.
      const bool bothLevels =
          stuck && i + 1 < lines.size() && lines[i + 1].kind == h.kind && lines[i + 1].line == h.line;
      texts.push_back(describe(*plan, h, !stuck ? 0 : bothLevels ? -1 : h.level));
      if (bothLevels) ++i;
    }
    std::string text;
    for (size_t i = 0; i < std::min(texts.size(), kMaxAlternatives); ++i)
      text += (i ? " или " : "") + texts[i];
    return {std::string(kPrefix) + text};
  }
  if (failing == readings.size())
    return {
        std::string(kPrefix) +
        "ни одно чтение не верно: микросхема не отвечает (проверьте питание, выбор микросхемы и разрешение "
        "выхода)"};
  if (plan->kind == AlgorithmKind::Rom) return romLines(*plan, readings);
  if (const auto cells = explainByCells(*plan, readings)) return cellLines(*plan, *cells);
  return {summary(*plan, readings)};
}

void reportMemoryDiagnosis(const TestDescription& test, int errorCount, Operator& op) {
  for (const std::string& line : memoryDiagnosis(test, errorCount)) {
    op.log(line);
    op.progressLog(line);
  }
}

}  // namespace qel::diagnosis
