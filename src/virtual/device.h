#pragma once
// The tester's side of the protocol: takes the bytes the program writes, answers from the board.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tester/protocol.h"
#include "virtual/board.h"

namespace qel::virt {

struct DeviceParameters {
  uint16_t levels = 0;
  uint8_t cycleTime = 0;
  uint16_t cycleCount = 0;
  uint16_t tail = 0;
};

class VirtualTester {
 public:
  VirtualTester(Board& board, int strayBytes, bool ramFault);

  // Bytes from the program, in any split.
  void receive(const uint8_t* data, size_t n);

  size_t pending() const { return out_.size() - outStart_; }
  // Moves up to n waiting answer bytes to the buffer; returns how many.
  size_t take(uint8_t* buffer, size_t n);
  void clearOutput();

  const DeviceParameters& parameters() const { return parameters_; }
  int blockCycles() const {
    return parameters_.cycleCount < tester::kMaxBlockCycles ? parameters_.cycleCount
                                                            : tester::kMaxBlockCycles;
  }
  Board& board() { return board_; }
  // Command codes taken, in order (parameter and image bytes excluded).
  const std::vector<uint8_t>& commands() const { return commands_; }

 private:
  void command(uint8_t code);
  void ack(bool done);
  void emit(uint8_t b) { out_.push_back(b); }
  void emitPair(uint16_t first, uint16_t second);
  void runBlock();
  void scanJumpers();
  void samplePair(const ChannelNets& nets, int bank, uint16_t& first, uint16_t& second) const;

  enum class Expect { Code, Parameters, Image };
  Board& board_;
  int strayBytes_;
  bool ramFault_;
  Expect expect_ = Expect::Code;
  std::vector<uint8_t> collected_;
  std::vector<uint8_t> out_;
  size_t outStart_ = 0;
  DeviceParameters parameters_;
  std::vector<uint8_t> commands_;
};

}  // namespace qel::virt
