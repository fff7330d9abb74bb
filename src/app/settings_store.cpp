#include "app/settings_store.h"

namespace qel::app {

bool MemorySettingsStore::createKey(const std::string& key) {
  if (keys.count(key)) return true;
  if (failWrites) return false;
  keys[key];
  return true;
}

bool MemorySettingsStore::write(const std::string& key, const std::string& name, Value value) {
  if (failWrites) return false;
  keys[key][name] = std::move(value);
  return true;
}

}  // namespace qel::app
