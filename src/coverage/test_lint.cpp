#include "coverage/test_lint.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "coverage/pin_activity.h"

namespace qel::coverage {

namespace {

// Pins past 64 are not looked at by the pair rule; no package the tester takes has them.
constexpr int kVectorPins = 64;

// One distinct vector of the test: the levels driven and the levels expected.
struct Vector {
  uint64_t inDefined = 0, inHigh = 0, outDefined = 0, outHigh = 0;
  auto tie() const { return std::tie(inDefined, inHigh, outDefined, outHigh); }
  bool operator<(const Vector& o) const { return tie() < o.tie(); }
};

std::set<Vector> vectorsOf(const TestDescription& t) {
  std::set<Vector> out;
  const int pins = std::min(t.pinCount, kVectorPins);
  for (int c = 1; c <= t.cycleCount; ++c) {
    Vector v;
    for (int p = 1; p <= pins; ++p) {
      const int32_t type = t.pinTypeCodeOf(p);
      if (type != kInput && type != kOutput && type != kInOut) continue;
      const uint8_t l = t.level(p, c);
      if (l > 1) continue;
      const uint64_t bit = uint64_t(1) << (p - 1);
      const bool read = type == kOutput || (type == kInOut && t.isRead(p, c));
      (read ? v.outDefined : v.inDefined) |= bit;
      if (l == 1) (read ? v.outHigh : v.inHigh) |= bit;
    }
    out.insert(v);
  }
  return out;
}

// Whether two vectors that differ only in the pin's driven level expect different levels of an
// output somewhere.
bool influenceProven(const std::set<Vector>& vectors, int pin) {
  const uint64_t bit = uint64_t(1) << (pin - 1);
  struct Entry {
    uint64_t defined, others;  // what the rest of the inputs do
    bool high;
    uint64_t outDefined, outHigh;
  };
  std::vector<Entry> entries;
  for (const Vector& v : vectors)
    if (v.inDefined & bit)
      entries.push_back({v.inDefined, v.inHigh & ~bit, (v.inHigh & bit) != 0, v.outDefined, v.outHigh});
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::tie(a.defined, a.others, a.high) < std::tie(b.defined, b.others, b.high);
  });
  for (size_t i = 0; i < entries.size();) {
    size_t end = i, split = i;
    while (end < entries.size() && entries[end].defined == entries[i].defined &&
           entries[end].others == entries[i].others) {
      if (!entries[end].high) split = end + 1;
      ++end;
    }
    for (size_t a = i; a < split; ++a)
      for (size_t b = split; b < end; ++b) {
        const Entry &low = entries[a], &high = entries[b];
        if (low.outDefined & high.outDefined & (low.outHigh ^ high.outHigh)) return true;
      }
    i = end;
  }
  return false;
}

}  // namespace

std::vector<LintFinding> lintTest(const TestDescription& t) {
  std::vector<LintFinding> out;
  const std::vector<PinActivity> activity = pinActivity(t);
  std::set<Vector> vectors;
  bool vectorsMade = false;
  for (int p = 1; p <= t.pinCount; ++p) {
    const PinActivity& a = activity[size_t(p)];
    const std::string pin = pinCaption(t, p);
    auto add = [&](const std::string& text) { out.push_back({p, pin + text}); };
    const bool drives = a.type == kInput || a.type == kInOut;
    const bool reads = a.type == kOutput || a.type == kInOut;
    const bool driven = a.driven[0] || a.driven[1];
    const bool expected = a.expected[0] || a.expected[1];
    if (a.type == kInOut && !driven) add(" ни разу не задаётся: как вход он не проверен");
    if (a.type == kInOut && !expected) add(" ни разу не читается: как выход он не проверен");
    if (a.type == kInput && !driven) add(" ни разу не задан: его неисправности тест не обнаружит");
    if (a.type == kOutput && !expected) add(" ни разу не проверяется: его неисправности тест не обнаружит");
    if (reads && expected)
      for (int level : {0, 1})
        if (!a.expected[size_t(level)])
          add(" ни разу не ожидается в " + std::to_string(level) + ": его залипание в " +
              std::to_string(1 - level) + " тест не обнаружит");
    if (!drives || !driven) continue;
    if (!a.driven[0] || !a.driven[1]) {
      const int level = a.driven[1] ? 1 : 0;
      add(" ни разу не переключается (всегда " + std::to_string(level) + "): его залипание в " +
          std::to_string(level) + " тест не обнаружит");
      continue;
    }
    if (p > kVectorPins) continue;
    if (!vectorsMade) vectors = vectorsOf(t), vectorsMade = true;
    if (!influenceProven(vectors, p))
      add(": влияние на выходы не доказано, ни одна пара векторов, различающихся только на этом выводе, "
          "не меняет ожидаемый выход");
  }
  return out;
}

}  // namespace qel::coverage
