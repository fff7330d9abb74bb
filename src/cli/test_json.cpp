#include "cli/test_json.h"

#include <string>

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
                                  const std::vector<ConsoleOperator::Message>& messages, int from, int to) {
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
  json reference = json::object(), direction = json::object(), result = json::object();
  for (int r = 1; r <= t.pinCount; ++r) {
    const int slot = t.rowSignal(r);
    const int pin = slot > 50 ? slot - 50 : slot;
    std::string ref, dir, res;
    for (int c = from; c <= to; ++c) {
      const auto l = t.level(slot, c);
      ref.push_back(l == kLow ? '0' : l == kHigh ? '1' : 'x');
      dir.push_back(t.isRead(pin, c) ? '1' : '0');
      res.push_back(char('0' + std::min<int>(t.resultCode(pin, c), 9)));
    }
    reference[std::to_string(slot)] = ref;
    direction[std::to_string(slot)] = dir;
    result[std::to_string(slot)] = res;
  }
  j["reference"] = reference;
  j["direction"] = direction;
  j["result"] = result;
  return j;
}

}  // namespace qel::cli
