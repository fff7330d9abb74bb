#pragma once
// Where the settings live: the registry of the current user on Windows, files elsewhere, a map in
// tests. A key is a path such as "Software\\QEL_Tester\\historylist"; every failure is a plain
// false or nothing, because settings failures are never shown to the user.

#include <map>
#include <optional>
#include <string>
#include <variant>

namespace qel::app {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual bool keyExists(const std::string& key) = 0;
  // Opens the key, creating it when missing; false when it cannot be created.
  virtual bool createKey(const std::string& key) = 0;
  virtual std::optional<std::string> readString(const std::string& key, const std::string& name) = 0;
  virtual std::optional<int> readInt(const std::string& key, const std::string& name) = 0;
  virtual std::optional<double> readDouble(const std::string& key, const std::string& name) = 0;
  virtual std::optional<bool> readBool(const std::string& key, const std::string& name) = 0;
  virtual bool writeString(const std::string& key, const std::string& name, const std::string& value) = 0;
  virtual bool writeInt(const std::string& key, const std::string& name, int value) = 0;
  virtual bool writeDouble(const std::string& key, const std::string& name, double value) = 0;
  virtual bool writeBool(const std::string& key, const std::string& name, bool value) = 0;
};

// Values held in memory with their types; a read of the wrong type fails as the registry's does.
class MemorySettingsStore : public SettingsStore {
 public:
  using Value = std::variant<std::string, int, double, bool>;
  std::map<std::string, std::map<std::string, Value>> keys;
  bool failWrites = false;  // every write and create fails, as a read-only registry would

  bool keyExists(const std::string& key) override { return keys.count(key) > 0; }
  bool createKey(const std::string& key) override;
  std::optional<std::string> readString(const std::string& key, const std::string& name) override {
    return read<std::string>(key, name);
  }
  std::optional<int> readInt(const std::string& key, const std::string& name) override {
    return read<int>(key, name);
  }
  std::optional<double> readDouble(const std::string& key, const std::string& name) override {
    return read<double>(key, name);
  }
  std::optional<bool> readBool(const std::string& key, const std::string& name) override {
    return read<bool>(key, name);
  }
  bool writeString(const std::string& key, const std::string& name, const std::string& value) override {
    return write(key, name, value);
  }
  bool writeInt(const std::string& key, const std::string& name, int value) override {
    return write(key, name, value);
  }
  bool writeDouble(const std::string& key, const std::string& name, double value) override {
    return write(key, name, value);
  }
  bool writeBool(const std::string& key, const std::string& name, bool value) override {
    return write(key, name, value);
  }

 private:
  template <typename T>
  std::optional<T> read(const std::string& key, const std::string& name) const {
    auto k = keys.find(key);
    if (k == keys.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end() || !std::holds_alternative<T>(v->second)) return std::nullopt;
    return std::get<T>(v->second);
  }
  bool write(const std::string& key, const std::string& name, Value value);
};

}  // namespace qel::app
