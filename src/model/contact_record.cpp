#include "model/contact_record.h"

namespace qel {

ContactRecord freshContactRecord(const TestDescription& test, int pin) {
  ContactRecord r;
  if (pin < 1 || pin >= kPinRecords) return r;
  r.name = test.pins[size_t(pin)].name;
  const std::string& type = test.pins[size_t(pin)].typeText;
  r.typeText = type == "F" ? std::string("O") : type;
  return r;
}

void resetContactRecords(ContactRecords& records, const TestDescription& test) {
  for (int p = 1; p <= test.pinCount && p <= kContactRecords; ++p) {
    ContactRecord& r = records[size_t(p - 1)];
    const ContactRecord fresh = freshContactRecord(test, p);
    r.name = fresh.name;
    r.typeText = fresh.typeText;
    r.group = 0;
    r.level = 0;
    r.mark = fresh.mark;
  }
}

}  // namespace qel
