#include "cli/test_json.h"

#include <algorithm>
#include <string>
#include <utility>

#include "cli/output.h"

namespace qel::cli {

namespace {

nlohmann::ordered_json memoryJson(const MemoryTestParams& m, bool selected) {
  return {{"selected", selected},
          {"startAddress", m.startAddress},
          {"finalAddress", m.finalAddress},
          {"readStartCycle", m.readStartCycle},
          {"writeStartCycle", m.writeStartCycle},
          {"readAddressWord", m.readAddressWord},
          {"writeAddressWord", m.writeAddressWord},
          {"readAddressCycle", m.readAddressCycle},
          {"readAddressCycles", m.readAddressCycles},
          {"writeAddressCycle", m.writeAddressCycle},
          {"writeAddressCycles", m.writeAddressCycles},
          {"readDataWord", m.readDataWord},
          {"writeDataWord", m.writeDataWord},
          {"readDataCycle", m.readDataCycle},
          {"writeDataCycle", m.writeDataCycle},
          {"readDataCycles", m.readDataCycles},
          {"writeDataCycles", m.writeDataCycles}};
}

nlohmann::ordered_json algorithmJson(const AlgorithmSettings& a) {
  const auto& c = a.cyclic;
  const auto& r = a.rom;
  nlohmann::ordered_json march = memoryJson(a.march, a.march.selected);
  march["background"] = a.march.background == MarchBackground::Checkerboard ? "checkerboard" : "solid";
  return {
      {"cyclic",
       {{"selected", c.selected},
        {"repeatCount", c.repeatCount},
        {"repeatFirst", c.repeatFirst},
        {"repeatLast", c.repeatLast}}},
      {"rom",
       {{"selected", r.selected},
        {"addressWord", r.addressWord},
        {"addressCycle", r.addressCycle},
        {"addressCycles", r.addressCycles},
        {"startAddress", r.startAddress},
        {"finalAddress", r.finalAddress},
        {"dataWord", r.dataWord},
        {"dataCycle", r.dataCycle},
        {"dataFileName", r.dataFileName}}},
      {"ram", memoryJson(a.ram, a.ram.selected)},
      {"march", march},
  };
}

}  // namespace

nlohmann::ordered_json testToJson(const TestDescription& t,
                                  const std::vector<ConsoleOperator::Message>& messages) {
  using json = nlohmann::ordered_json;
  json j;
  j["fileName"] = t.fileName;
  j["loaded"] = t.loaded;
  j["messages"] = json::array();
  for (const auto& m : messages) j["messages"].push_back({{"icon", int(m.icon)}, {"text", m.text}});
  j["isSoic"] = t.isSoic;
  j["pinCount"] = t.pinCount;
  j["pins"] = json::array();
  for (int p = 1; p <= t.pinCount; ++p)
    j["pins"].push_back({{"pin", p},
                         {"typeText", t.pins[size_t(p)].typeText},
                         {"typeCode", t.pinTypeCodeOf(p)},
                         {"name", t.pins[size_t(p)].name}});
  j["rows"] = json::array();
  for (int r = 1; r <= t.pinCount; ++r) j["rows"].push_back(t.rowSignal(r));
  j["testName"] = t.testNames[1];
  j["dataWords"] = json::array();
  for (int w = 0; w < t.dataWordCount; ++w) {
    const auto& word = t.words[size_t(w)];
    json pins = json::array();
    for (int s = 1; s <= kWordSlots; ++s)
      if (word.pins[size_t(s)] > 0) pins.push_back(word.pins[size_t(s)]);
    j["dataWords"].push_back(
        {{"name", word.name}, {"pins", pins}, {"radix", word.radix}, {"ioKind", word.ioKind}});
  }
  j["cycleCount"] = t.cycleCount;
  j["templateCycles"] = t.templateCycles;
  j["algorithmNumber"] = t.algorithmNumber;
  j["algorithm"] = algorithmJson(t.algorithms);
  j["levels"] = t.levels;
  j["cycleTime"] = t.cycleTime;
  j["descriptionFile"] = t.descriptionFile;
  j["formula"] = json::object();
  for (int s = 1; s <= kMaxSignal; ++s)
    if (!t.formula[size_t(s)].empty()) j["formula"][std::to_string(s)] = t.formula[size_t(s)];
  return j;
}

bool writeTestJson(std::FILE* out, const TestDescription& t,
                   const std::vector<ConsoleOperator::Message>& messages, int from, int to) {
  std::string head = stampedReport(testToJson(t, messages)).dump(2);
  head.resize(head.size() - 2);  // the closing "\n}": the diagrams follow
  std::fputs(head.c_str(), out);

  // One key per slot, in the order of the rows that first show it.
  std::vector<int> slots;
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    if (std::find(slots.begin(), slots.end(), slot) == slots.end()) slots.push_back(slot);
  }
  enum class Diagram { Reference, Direction, Result };
  auto cell = [&t](Diagram d, int slot, int c) -> char {
    const int pin = slot > 50 ? slot - 50 : slot;
    switch (d) {
      case Diagram::Reference: {
        const auto l = t.level(slot, c);
        return l == kLow ? '0' : l == kHigh ? '1' : 'x';
      }
      case Diagram::Direction:
        return t.isRead(pin, c) ? '1' : '0';
      case Diagram::Result:
        return char('0' + std::min<int>(t.resultCode(pin, c), 9));
    }
    return 'x';
  };
  constexpr int kChunk = 1 << 16;
  std::string text;
  text.reserve(kChunk);
  for (const auto& [name, d] :
       {std::pair{"reference", Diagram::Reference}, std::pair{"direction", Diagram::Direction},
        std::pair{"result", Diagram::Result}}) {
    std::fprintf(out, ",\n  \"%s\": %s", name, slots.empty() ? "{}" : "{");
    for (size_t i = 0; i < slots.size(); ++i) {
      std::fprintf(out, "%s\n    \"%d\": \"", i == 0 ? "" : ",", slots[i]);
      for (int c0 = from; c0 <= to; c0 += kChunk) {
        text.clear();
        for (int c = c0; c <= to && c < c0 + kChunk; ++c) text.push_back(cell(d, slots[i], c));
        std::fwrite(text.data(), 1, text.size(), out);
      }
      std::fputc('"', out);
    }
    if (!slots.empty()) std::fputs("\n  }", out);
  }
  std::fputs("\n}\n", out);
  return std::fflush(out) == 0 && !std::ferror(out);
}

}  // namespace qel::cli
