#pragma once
// What a parsed chip model holds: expressions compiled to postfix over numbered signals, in the
// order they must be evaluated.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "virtual/chip_model.h"
#include "virtual/logic.h"

namespace qel::virt {

// Signals 1..kMaxChipPins are the pins as the chip sees them; the model's own values follow.
inline constexpr int kMaxModelSignals = 1024;
inline constexpr int kMaxExpressionDepth = 64;

enum class Op : uint8_t { Load, Zero, One, Not, And, Or, Xor };
struct Step {
  Op op;
  uint16_t signal;  // for Load
};
using Program = std::vector<Step>;

using SignalValues = std::array<uint8_t, kMaxModelSignals>;

inline uint8_t run(const Program& program, const SignalValues& v) {
  std::array<uint8_t, kMaxExpressionDepth> stack;
  size_t top = 0;
  for (const Step& s : program) switch (s.op) {
      case Op::Load:
        stack[top++] = v[s.signal];
        break;
      case Op::Zero:
        stack[top++] = 0;
        break;
      case Op::One:
        stack[top++] = 1;
        break;
      case Op::Not:
        stack[top - 1] ^= 1u;
        break;
      case Op::And: {
        const uint8_t b = stack[--top];
        stack[top - 1] &= b;
        break;
      }
      case Op::Or: {
        const uint8_t b = stack[--top];
        stack[top - 1] |= b;
        break;
      }
      case Op::Xor: {
        const uint8_t b = stack[--top];
        stack[top - 1] ^= b;
        break;
      }
    }
  return stack[0];
}

// An equation (value, and enable for a tri-state output) or a flip-flop (value = set ? 1 : clear ?
// 0 : state).
struct ModelNode {
  bool flipFlop = false;
  uint16_t signal = 0;  // where its value goes
  int pin = 0;          // the pin it drives, 0 none
  Program value, enable;
  Program d, clock, set, clear;  // flip-flop
  bool rising = true;
  int state = 0;  // index of the flip-flop's state
};

struct ChipModel {
  std::string part;
  int pins = 0;
  std::array<PinRole, kMaxChipPins + 1> roles{};
  std::vector<ModelNode> nodes;  // in evaluation order
  int flipFlops = 0;
};

}  // namespace qel::virt
