#pragma once
// The reference as a load left it, for the expansions that start again from the template. Rows are
// copied in tiles just before they are first changed; until then the live rows are the backup, so
// a test that is not changed after its load costs nothing.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/plane_rows.h"

namespace qel {

class ReferenceBackup {
 public:
  // Covers rows 1..cycles of live, from now on.
  void take(int cycles);
  void drop();
  int cycles() const { return cycles_; }

  // Saves the tiles of rows [from, to) within the backup that are still live. Call before a write.
  void beforeWrite(const PlaneRows& live, size_t from, size_t to) {
    if (from <= size_t(cycles_) && from < to) save(live, from, to);
  }
  // The level planes (don't care, high) of a backed-up row: the saved copy, or the live row.
  const uint8_t* levelPlanes(const PlaneRows& live, size_t row) const;
  // The saved copies follow a widening of the live rows.
  void widen(int oldPlaneBytes, int newPlaneBytes);
  size_t bytes() const { return pool_.capacity() + tiles_.capacity() * sizeof(uint32_t); }

 private:
  static constexpr size_t kTileRows = 64;
  void save(const PlaneRows& live, size_t from, size_t to);

  int cycles_ = 0;
  size_t tileBytes_ = 0;         // level planes of kTileRows rows
  std::vector<uint32_t> tiles_;  // per tile: 0 live, k saved at pool tile k - 1
  std::vector<uint8_t> pool_;
};

}  // namespace qel
