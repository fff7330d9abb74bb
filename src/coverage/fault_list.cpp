#include "coverage/fault_list.h"

#include <charconv>

namespace qel::coverage {

namespace {

constexpr int kAddressLines = 11;  // the 2716's and 6116's A0..A10
constexpr int kDataLines = 8;

bool signal(virt::PinRole r) {
  return r == virt::PinRole::Input || r == virt::PinRole::Output || r == virt::PinRole::InOut;
}

}  // namespace

const char* classCaption(FaultClass c) {
  switch (c) {
    case FaultClass::Input:
      return "входы (in0, in1)";
    case FaultClass::Output:
      return "выходы (out0, out1)";
    case FaultClass::Bridge:
      return "замыкания соседних выводов (bridge)";
    case FaultClass::Address:
      return "адресные линии (addr0, addr1, addrshort)";
    case FaultClass::Data:
      return "линии данных (datashort)";
    case FaultClass::Cell:
      return "ячейки (transition, coupling)";
  }
  return "";
}

FaultClass classOf(std::string_view fault) {
  const std::string_view kind = fault.substr(0, fault.find(':'));
  if (kind == "in0" || kind == "in1") return FaultClass::Input;
  if (kind == "out0" || kind == "out1") return FaultClass::Output;
  if (kind == "bridge") return FaultClass::Bridge;
  if (kind.substr(0, 4) == "addr") return FaultClass::Address;
  if (kind == "datashort") return FaultClass::Data;
  return FaultClass::Cell;
}

std::vector<int> faultNumbers(std::string_view fault) {
  std::vector<int> out;
  const size_t colon = fault.find(':');
  if (colon == std::string_view::npos) return out;
  std::string_view rest = fault.substr(colon + 1);
  while (!rest.empty()) {
    int v = 0;
    const auto r = std::from_chars(rest.data(), rest.data() + rest.size(), v);
    if (r.ec != std::errc()) break;
    out.push_back(v);
    rest.remove_prefix(size_t(r.ptr - rest.data()));
    if (rest.empty() || rest.front() != ',') break;
    rest.remove_prefix(1);
  }
  return out;
}

std::vector<std::string> faultList(const virt::Chip& chip) {
  std::vector<std::string> out;
  const int n = chip.pinCount();
  for (int p = 1; p <= n; ++p) {
    const virt::PinRole r = chip.role(p);
    if (r == virt::PinRole::Input || r == virt::PinRole::InOut)
      for (const char* kind : {"in0:", "in1:"}) out.push_back(kind + std::to_string(p));
  }
  for (int p = 1; p <= n; ++p) {
    const virt::PinRole r = chip.role(p);
    if (r == virt::PinRole::Output || r == virt::PinRole::InOut)
      for (const char* kind : {"out0:", "out1:"}) out.push_back(kind + std::to_string(p));
  }
  // Neighbours on the die are neighbours along a side of the package, not across its ends.
  for (int p = 1; p < n; ++p)
    if (p != n / 2 && signal(chip.role(p)) && signal(chip.role(p + 1)))
      out.push_back("bridge:" + std::to_string(p) + "," + std::to_string(p + 1));

  const std::string_view part = chip.part();
  if (part != "2716" && part != "6116") return out;
  for (int a = 0; a < kAddressLines; ++a)
    for (const char* kind : {"addr0:", "addr1:"}) out.push_back(kind + std::to_string(a));
  for (int a = 0; a + 1 < kAddressLines; ++a)
    out.push_back("addrshort:" + std::to_string(a) + "," + std::to_string(a + 1));
  for (int d = 0; d + 1 < kDataLines; ++d)
    out.push_back("datashort:" + std::to_string(d) + "," + std::to_string(d + 1));
  if (part == "6116") {
    // Cells cannot all be listed; the first and last cells, and two neighbours, stand for them.
    for (const char* cell : {"transition:0,0,up", "transition:0,0,down", "transition:2047,7,up",
                             "transition:2047,7,down", "coupling:0,1,0", "coupling:1,0,7"})
      out.push_back(cell);
  }
  return out;
}

}  // namespace qel::coverage
