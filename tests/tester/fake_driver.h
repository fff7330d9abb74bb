#pragma once
// A driver whose answers are scripted: each queue query lets the next chunk of bytes arrive.

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

#include "tester/driver.h"

namespace qel::testing {

class FakeDriver : public tester::Driver {
 public:
  std::deque<std::vector<uint8_t>> arrivals;  // one chunk arrives per queue query
  std::vector<uint8_t> rx;                    // bytes waiting
  std::vector<std::vector<uint8_t>> writes;   // every write, as sent
  std::function<void(const std::vector<uint8_t>&)> onWrite;
  d2xx::Status openStatus = 0, queueResult = 0, readResult = 0, writeResult = 0;
  int opens = 0, closes = 0, queries = 0, reads = 0, purges = 0;
  uint32_t readLimit = UINT32_MAX;  // a driver that delivers fewer bytes than asked

  void arrive(std::vector<uint8_t> bytes) { rx.insert(rx.end(), bytes.begin(), bytes.end()); }
  std::vector<uint8_t> written() const {
    std::vector<uint8_t> all;
    for (const auto& w : writes) all.insert(all.end(), w.begin(), w.end());
    return all;
  }

  d2xx::Status openByDescription(const char*, d2xx::Handle& handle) override {
    ++opens;
    if (openStatus == 0) handle = this;
    return openStatus;
  }
  d2xx::Status close(d2xx::Handle) override {
    ++closes;
    return 0;
  }
  d2xx::Status queueStatus(d2xx::Handle, uint32_t& count) override {
    ++queries;
    if (!arrivals.empty()) {
      arrive(arrivals.front());
      arrivals.pop_front();
    }
    count = uint32_t(rx.size());
    return queueResult;
  }
  d2xx::Status read(d2xx::Handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) override {
    ++reads;
    if (readResult != 0) {
      countRead = 0;
      return readResult;
    }
    countRead = uint32_t(std::min<size_t>(std::min(count, readLimit), rx.size()));
    std::memcpy(buffer, rx.data(), countRead);
    rx.erase(rx.begin(), rx.begin() + countRead);
    return 0;
  }
  d2xx::Status write(d2xx::Handle, const uint8_t* buffer, uint32_t count, uint32_t& countWritten) override {
    writes.emplace_back(buffer, buffer + count);
    countWritten = writeResult == 0 ? count : 0;
    if (onWrite) onWrite(writes.back());
    return writeResult;
  }
  d2xx::Status purge(d2xx::Handle, uint32_t mask) override {
    ++purges;
    if (mask & d2xx::kPurgeRx) rx.clear();
    return 0;
  }
};

}  // namespace qel::testing
