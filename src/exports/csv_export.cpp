#include "exports/csv_export.h"

#include <bit>

#include "exports/chunk_buffer.h"
#include "exports/export_pins.h"
#include "views/cycle_comparison.h"
#include "views/table_layout.h"
#include "views/word_value.h"

namespace qel::exports {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kEol = "\r\n";

// A field quoted when it holds a separator, a quote or a line break.
std::string field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string finish(ChunkBuffer& out) {
  return out.flush() ? std::string() : std::string("write failed");
}

}  // namespace

std::string writeTableCsv(const TestDescription& t, const fileio::ChunkWriter& write) {
  ChunkBuffer out(write);
  out << kByteOrderMark << "Такт,Слово Данных,Данные (Эталон),Данные (Результат),Несовпадение" << kEol;
  const views::TableLayout layout = views::TableLayout::of(t);
  const int radix = t.words[0].radix;
  std::string names[kMaxDataWords];
  for (int w = 0; w < kMaxDataWords; ++w) names[w] = field(t.words[size_t(w)].name);
  for (int64_t a = 0; a < layout.rowCount() && !out.failed(); ++a) {
    const views::TableCell cell = layout.cellOf(a);
    if (cell.cycle < 1 || cell.word < 0 || cell.word >= kMaxDataWords) continue;
    const views::WordBits ref = views::readWordBits(t, cell.cycle, cell.word, views::Source::Reference);
    const views::WordBits res = views::readWordBits(t, cell.cycle, cell.word, views::Source::Result);
    const bool mismatch = !ref.undefined && (res.undefined || res.value != ref.value);
    out << cell.cycle << ',' << names[cell.word] << ',' << views::formatWordBits(ref, radix) << ','
        << views::formatWordBits(res, radix) << ',' << (mismatch ? '1' : '0') << kEol;
  }
  return finish(out);
}

std::string writeLevelsCsv(const TestDescription& t, const fileio::ChunkWriter& write) {
  const std::vector<ExportPin> pins = exportPins(t);
  uint64_t shown = 0;
  for (const auto& p : pins) shown |= uint64_t(1) << (p.pin - 1);
  ChunkBuffer out(write);
  out << kByteOrderMark << "Такт";
  for (const auto& p : pins) out << ',' << field(p.label + " Эталон") << ',' << field(p.label + " Результат");
  out << ",Ошибка,Несовпадения" << kEol;
  const views::CycleComparison compare(t);
  for (int c = 1; c <= t.cycleCount && !out.failed(); ++c) {
    const CycleLevels l = cycleLevels(t, c, shown);
    out << c;
    for (const auto& p : pins) {
      const uint64_t bit = uint64_t(1) << (p.pin - 1);
      out << ',' << expectedChar(l, bit) << ',' << measuredChar(l, bit);
    }
    const views::CycleMismatch m = compare.compare(c);
    out << ',' << (m.any() ? '1' : '0') << ',';
    bool first = true;
    for (uint64_t rest = m.pins; rest != 0; rest &= rest - 1) {
      if (!first) out << ' ';
      out << std::countr_zero(rest) + 1;
      first = false;
    }
    out << kEol;
  }
  return finish(out);
}

}  // namespace qel::exports
