#include "model/reference_backup.h"

#include <algorithm>
#include <cstring>

namespace qel {

void ReferenceBackup::take(int cycles) {
  drop();
  cycles_ = std::max(cycles, 0);
}

void ReferenceBackup::drop() {
  cycles_ = 0;
  tileBytes_ = 0;
  tiles_.clear();
  pool_.clear();
}

void ReferenceBackup::save(const PlaneRows& live, size_t from, size_t to) {
  const size_t levelBytes = 2 * size_t(live.planeBytes());
  if (tiles_.empty()) {
    tiles_.assign(size_t(cycles_) / kTileRows + 1, 0);
    tileBytes_ = levelBytes * kTileRows;
  }
  to = std::min(to, size_t(cycles_) + 1);
  for (size_t t = from / kTileRows; t * kTileRows < to; ++t) {
    if (tiles_[t] != 0) continue;
    const size_t at = pool_.size();
    pool_.resize(at + tileBytes_);
    for (size_t i = 0; i < kTileRows; ++i) {
      const size_t r = t * kTileRows + i;
      if (r < live.rows()) std::memcpy(pool_.data() + at + i * levelBytes, live.row(r), levelBytes);
    }
    tiles_[t] = uint32_t(at / tileBytes_ + 1);
  }
}

const uint8_t* ReferenceBackup::levelPlanes(const PlaneRows& live, size_t row) const {
  const size_t t = row / kTileRows;
  if (t < tiles_.size() && tiles_[t] != 0)
    return pool_.data() + (tiles_[t] - 1) * tileBytes_ + (row % kTileRows) * (tileBytes_ / kTileRows);
  return live.row(row);
}

void ReferenceBackup::widen(int oldPlaneBytes, int newPlaneBytes) {
  if (pool_.empty() || newPlaneBytes <= oldPlaneBytes) {
    tileBytes_ = 2 * size_t(newPlaneBytes) * kTileRows;
    return;
  }
  const size_t oldRow = 2 * size_t(oldPlaneBytes), newRow = 2 * size_t(newPlaneBytes);
  const size_t rows = pool_.size() / oldRow;
  std::vector<uint8_t> wider(rows * newRow, 0);
  for (size_t r = 0; r < rows; ++r)
    for (size_t p = 0; p < 2; ++p)
      std::memcpy(wider.data() + r * newRow + p * size_t(newPlaneBytes),
                  pool_.data() + r * oldRow + p * size_t(oldPlaneBytes), size_t(oldPlaneBytes));
  pool_ = std::move(wider);
  tileBytes_ = newRow * kTileRows;
}

}  // namespace qel
