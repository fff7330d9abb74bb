#include "exports/html_report.h"

#include <algorithm>

#include "exports/chunk_buffer.h"
#include "exports/export_pins.h"
#include "views/cycle_comparison.h"
#include "views/package_view.h"

namespace qel::exports {

namespace {

std::string escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

constexpr std::string_view kStyle =
    "body{font-family:DejaVu Sans,Arial,sans-serif;margin:1.5em;color:#111}"
    "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:2px 6px;text-align:center}"
    ".facts th{text-align:left;background:#eee}.bad{color:#c00;font-weight:bold}"
    ".chip{background:#333;color:#fff;width:5em}.err{background:#fde}.pins td{font-family:monospace}"
    ".lane{text-align:left;font-family:monospace}td.cell{font-family:monospace;white-space:nowrap}";

void fact(ChunkBuffer& out, std::string_view name, std::string_view value) {
  out << "<tr><th>" << name << "</th><td style=\"text-align:left\">" << escape(value) << "</td></tr>\n";
}

// One side of the package: number, name, type, finding, voltage, jumper group.
void pinCells(ChunkBuffer& out, const TestDescription& t, const RunFacts& f, int pin, bool left) {
  const ContactRecord& r = (*f.contacts)[size_t(pin - 1)];
  const bool markBad = views::markIsFault(r, t.pinTypeCodeOf(pin));
  const bool voltBad = views::voltageIsFault(r, f.thresholds);
  std::string cells[] = {
      "<td>" + std::to_string(pin) + "</td>",
      "<td>" + escape(t.pins[size_t(pin)].name) + "</td>",
      "<td>" + escape(t.pins[size_t(pin)].typeText) + "</td>",
      std::string(markBad ? "<td class=\"bad\">" : "<td>") + escape(r.notConnected ? "!N" : r.mark) + "</td>",
      std::string(voltBad ? "<td class=\"bad\">" : "<td>") +
          escape(views::voltageText(r.level, f.thresholds.u0, ',')) + "</td>",
      "<td>" + (r.group > 0 ? std::to_string(r.group) : std::string()) + "</td>"};
  if (left)
    for (auto it = std::rbegin(cells); it != std::rend(cells); ++it) out << *it;
  else
    for (const auto& c : cells) out << c;
}

void contacts(ChunkBuffer& out, const TestDescription& t, const RunFacts& f) {
  out << "<h2>Контакты</h2>\n";
  if (f.contacts == nullptr || t.pinCount < 2 || t.pinCount > kContactRecords) {
    out << "<p>Тест контактов не проводился.</p>\n";
    return;
  }
  const int half = t.pinCount / 2;
  out << "<table class=\"pins\"><tr><th>Группа</th><th>U, "
         "В</th><th>Контакт</th><th>Тип</th><th>Имя</th><th>№</th>"
      << "<th class=\"chip\"></th><th>№</th><th>Имя</th><th>Тип</th><th>Контакт</th><th>U, "
         "В</th><th>Группа</th></tr>\n";
  for (int i = 1; i <= half; ++i) {
    out << "<tr>";
    pinCells(out, t, f, i, true);
    out << "<td class=\"chip\">" << (i == 1 ? (t.isSoic ? "SOIC" : "DIP") + std::to_string(t.pinCount) : "")
        << "</td>";
    pinCells(out, t, f, t.pinCount + 1 - i, false);
    out << "</tr>\n";
  }
  out << "</table>\n";
}

// Each lane's expected over measured level in the cycles around an error, disagreements in red.
void excerptTable(ChunkBuffer& out, const TestDescription& t, const std::vector<ExportPin>& pins,
                  const views::CycleComparison& compare, int error, int from, int to) {
  uint64_t shown = 0;
  for (const auto& p : pins) shown |= uint64_t(1) << (p.pin - 1);
  std::vector<CycleLevels> levels;
  std::vector<uint64_t> bad;
  for (int c = from; c <= to; ++c) {
    levels.push_back(cycleLevels(t, c, shown));
    bad.push_back(compare.compare(c).pins);
  }
  out << "<table><tr><th>Вывод</th>";
  for (int c = from; c <= to; ++c) out << (c == error ? "<th class=\"err\">" : "<th>") << c << "</th>";
  out << "</tr>\n";
  for (const auto& p : pins) {
    const uint64_t bit = uint64_t(1) << (p.pin - 1);
    out << "<tr><td class=\"lane\">" << escape(p.label) << "</td>";
    for (int c = from; c <= to; ++c) {
      const size_t i = size_t(c - from);
      out << "<td class=\"cell" << ((bad[i] & bit) ? " bad" : "") << (c == error ? " err" : "") << "\">"
          << expectedChar(levels[i], bit) << " / " << measuredChar(levels[i], bit) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</table>\n";
}

}  // namespace

std::string writeHtmlReport(const TestDescription& t, const RunFacts& f, const DiagramPicture& picture,
                            const fileio::ChunkWriter& write) {
  ChunkBuffer out(write);
  const std::string chip = !t.chipName.empty() ? t.chipName : t.testNames[1];
  out << "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Тестер QEL: "
      << escape(chip) << "</title><style>" << kStyle << "</style></head><body>\n";
  out << "<h1>" << escape(chip.empty() ? "Тестер QEL" : chip) << "</h1>\n<table class=\"facts\">\n";
  fact(out, "Тест", f.header.source);
  if (!f.header.result.empty()) fact(out, "Результат", f.header.result);
  fact(out, "Дата", f.header.date);
  fact(out, "Тестер", f.tester);
  fact(out, "Программа", f.header.tool);
  fact(out, "Итог", f.outcome);
  fact(out, "Тактов", std::to_string(t.cycleCount) + " по " + std::to_string(t.cycleTime) + " мкс");
  if (f.compared) {
    fact(out, "Ошибок", std::to_string(f.errorCount));
    fact(out, "Несовпадений", std::to_string(f.mismatchCount));
  }
  out << "</table>\n";
  contacts(out, t, f);

  out << "<h2>Такты с ошибками</h2>\n";
  if (!f.compared) {
    out << "<p>Сравнение не проводилось: тест не завершён.</p>\n";
  } else if (f.errorCycles.empty()) {
    out << "<p>Ошибок нет.</p>\n";
  } else {
    out << "<p>";
    for (size_t i = 0; i < f.errorCycles.size(); ++i) {
      const int32_t c = f.errorCycles[i];
      if (i < kExcerptErrors)
        out << "<a href=\"#c" << c << "\">" << c << "</a> ";
      else
        out << c << ' ';
    }
    out << "</p>\n";
    if (f.errorCycles.size() > kExcerptErrors)
      out << "<p>Фрагменты диаграммы - для первых " << kExcerptErrors << " тактов.</p>\n";
    out << "<p>В ячейке: эталон / результат (x - безразлично или ни 0 ни 1, z - не измерено).</p>\n";
  }
  const std::vector<ExportPin> pins = exportPins(t);
  const views::CycleComparison compare(t);
  for (size_t i = 0; i < f.errorCycles.size() && i < kExcerptErrors && !out.failed(); ++i) {
    const int c = f.errorCycles[i];
    const int from = std::max(1, c - kExcerptCycles), to = std::min(t.cycleCount, c + kExcerptCycles);
    out << "<h3 id=\"c" << c << "\">Такт " << c << "</h3>\n";
    if (picture) out << picture(from, to) << '\n';
    excerptTable(out, t, pins, compare, c, from, to);
  }
  out << "</body></html>\n";
  return out.flush() ? std::string() : std::string("write failed");
}

}  // namespace qel::exports
