#pragma once
// The settings store over QSettings: on Windows the registry of the current user at the keys as
// named; elsewhere one INI file per key in the user's configuration folder. An INI file that is
// not a regular file of a sane size is neither read nor written, as a key that cannot be opened:
// QSettings would read all of it first.

#include <QString>

#include "app/settings_store.h"

class QSettings;

namespace qel::gui {

class QtSettingsStore : public app::SettingsStore {
 public:
  // folder: where the INI files go off Windows; empty for the user's configuration folder.
  explicit QtSettingsStore(QString folder = {});

  bool keyExists(const std::string& key) override;
  bool createKey(const std::string& key) override;
  std::optional<std::string> readString(const std::string& key, const std::string& name) override;
  std::optional<int> readInt(const std::string& key, const std::string& name) override;
  std::optional<double> readDouble(const std::string& key, const std::string& name) override;
  std::optional<bool> readBool(const std::string& key, const std::string& name) override;
  bool writeString(const std::string& key, const std::string& name, const std::string& value) override;
  bool writeInt(const std::string& key, const std::string& name, int value) override;
  bool writeDouble(const std::string& key, const std::string& name, double value) override;
  bool writeBool(const std::string& key, const std::string& name, bool value) override;

 private:
  std::unique_ptr<QSettings> open(const std::string& key) const;
  QString filePath(const std::string& key) const;
  bool usable(const std::string& key) const;
  bool write(const std::string& key, const std::string& name, const QVariant& value);
  QString folder_;
};

}  // namespace qel::gui
