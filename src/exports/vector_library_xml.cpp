#include "exports/vector_library.h"

#include <algorithm>

#if defined(QEL_HAVE_PUGIXML)
#include <pugixml.hpp>
#endif

namespace qel::exports {

#if defined(QEL_HAVE_PUGIXML)

bool vectorLibraryReadable() {
  return true;
}

VectorLibrary readVectorLibrary(const std::string& xml) {
  VectorLibrary library;
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size(), pugi::parse_default);
  std::string broken;
  if (!parsed) {
    // The line of the offset, as an editor shows it.
    const auto offset = size_t(std::max<std::ptrdiff_t>(parsed.offset, 0));
    const auto line =
        1 + std::count(xml.begin(), xml.begin() + std::ptrdiff_t(std::min(offset, xml.size())), '\n');
    broken = "line " + std::to_string(line) + ": " + parsed.description();
  }
  const pugi::xml_node root = doc.child("logicic");
  if (!root) {
    library.problems.push_back(broken.empty() ? "no <logicic> element at the root" : broken);
    return library;
  }
  for (const pugi::xml_node ic : root.children("ic")) {
    LibraryChip chip;
    chip.name = ic.attribute("name").as_string();
    chip.pins = ic.attribute("pins").as_string();
    chip.voltage = ic.attribute("voltage").as_string();
    for (const pugi::xml_node v : ic.children("vector"))
      chip.vectors.push_back({v.attribute("id").as_string(), v.text().as_string()});
    library.chips.push_back(std::move(chip));
  }
  // The chips read before the error are whole; the one it stopped in may not be.
  if (!broken.empty()) {
    if (!library.chips.empty()) {
      broken += "; chip " + library.chips.back().name + " and any after it are not read";
      library.chips.pop_back();
    }
    library.problems.push_back(broken);
  }
  return library;
}

#else

bool vectorLibraryReadable() {
  return false;
}

VectorLibrary readVectorLibrary(const std::string&) {
  return {{}, {"this build reads no XML"}};
}

#endif

}  // namespace qel::exports
