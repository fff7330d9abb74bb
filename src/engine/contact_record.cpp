#include "engine/contact_record.h"

namespace qel::engine {

void resetContactRecords(ContactRecords& records, const TestDescription& test) {
  for (int p = 1; p <= test.pinCount && p <= kContactRecords; ++p) {
    ContactRecord& r = records[size_t(p - 1)];
    r.name = test.pins[size_t(p)].name;
    const std::string& type = test.pins[size_t(p)].typeText;
    if (type == "F")
      r.typeText.assign(1, 'O');
    else
      r.typeText = type;
    r.group = 0;
    r.level = 0;
    r.mark = std::string(1, '-');
  }
}

const char* logicLetter(int32_t code) {
  switch (code) {
    case 1:
      return "L";
    case 2:
      return "H";
    case 3:
      return "G";
    case 4:
      return "Z";
    default:
      return "-";
  }
}

}  // namespace qel::engine
