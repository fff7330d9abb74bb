#include "gui/qt_settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "fileio/input_file.h"

namespace qel::gui {

QtSettingsStore::QtSettingsStore(QString folder) : folder_(std::move(folder)) {
  if (folder_.isEmpty()) folder_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

namespace {
// Far more than the few values a key holds.
constexpr std::uintmax_t kMaxSettingsFileBytes = 1 << 20;
}  // namespace

QString QtSettingsStore::filePath(const std::string& key) const {
  // "Software\QEL_Tester\historylist" -> <folder>/QEL_Tester/historylist.ini
  QString path = QString::fromStdString(key);
  path.replace('\\', '/');
  if (path.startsWith("Software/")) path = path.mid(9);
  return folder_ + "/" + path + ".ini";
}

std::unique_ptr<QSettings> QtSettingsStore::open(const std::string& key) const {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>("HKEY_CURRENT_USER\\" + QString::fromStdString(key),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(filePath(key), QSettings::IniFormat);
#endif
}

bool QtSettingsStore::usable(const std::string& key) const {
#ifdef Q_OS_WIN
  (void)key;
  return true;
#else
  const auto check = fileio::checkInputFile(filePath(key).toStdString(), kMaxSettingsFileBytes);
  return check.ok() || check.status == fileio::InputStatus::Missing;
#endif
}

bool QtSettingsStore::keyExists(const std::string& key) {
#ifdef Q_OS_WIN
  return !open(key)->allKeys().isEmpty();
#else
  return QFileInfo::exists(filePath(key));
#endif
}

bool QtSettingsStore::createKey(const std::string& key) {
  if (!usable(key)) return false;
  auto s = open(key);
#ifndef Q_OS_WIN
  if (!QFileInfo::exists(s->fileName())) {
    QDir().mkpath(QFileInfo(s->fileName()).absolutePath());
    s->setValue("_created", true);
    s->remove("_created");
    s->sync();
    QFile f(s->fileName());
    if (!f.exists() && !f.open(QIODevice::WriteOnly)) return false;
  }
#endif
  return s->status() == QSettings::NoError;
}

namespace {
// Values keep their type in the registry; in an INI file everything is text, so the type is
// checked by conversion.
std::optional<QVariant> value(QSettings& s, const std::string& name) {
  const QString n = QString::fromStdString(name);
  if (!s.contains(n)) return std::nullopt;
  return s.value(n);
}
}  // namespace

std::optional<std::string> QtSettingsStore::readString(const std::string& key, const std::string& name) {
  if (!usable(key)) return std::nullopt;
  auto s = open(key);
  auto v = value(*s, name);
  if (!v) return std::nullopt;
  return v->toString().toStdString();
}

std::optional<int> QtSettingsStore::readInt(const std::string& key, const std::string& name) {
  if (!usable(key)) return std::nullopt;
  auto s = open(key);
  auto v = value(*s, name);
  bool ok = false;
  const int i = v ? v->toInt(&ok) : 0;
  return ok ? std::optional<int>(i) : std::nullopt;
}

std::optional<double> QtSettingsStore::readDouble(const std::string& key, const std::string& name) {
  if (!usable(key)) return std::nullopt;
  auto s = open(key);
  auto v = value(*s, name);
  bool ok = false;
  const double d = v ? v->toDouble(&ok) : 0;
  return ok ? std::optional<double>(d) : std::nullopt;
}

std::optional<bool> QtSettingsStore::readBool(const std::string& key, const std::string& name) {
  if (!usable(key)) return std::nullopt;
  auto s = open(key);
  auto v = value(*s, name);
  if (!v) return std::nullopt;
  const QString t = v->toString().toLower();
  if (t == "true" || t == "1") return true;
  if (t == "false" || t == "0") return false;
  return std::nullopt;
}

bool QtSettingsStore::write(const std::string& key, const std::string& name, const QVariant& v) {
  if (!usable(key)) return false;
  auto s = open(key);
  s->setValue(QString::fromStdString(name), v);
  s->sync();
  return s->status() == QSettings::NoError;
}

bool QtSettingsStore::writeString(const std::string& key, const std::string& name, const std::string& value) {
  return write(key, name, QString::fromStdString(value));
}
bool QtSettingsStore::writeInt(const std::string& key, const std::string& name, int value) {
  return write(key, name, value);
}
bool QtSettingsStore::writeDouble(const std::string& key, const std::string& name, double value) {
  return write(key, name, value);
}
bool QtSettingsStore::writeBool(const std::string& key, const std::string& name, bool value) {
  return write(key, name, value);
}

}  // namespace qel::gui
