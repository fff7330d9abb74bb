#include "gui/qt_settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace qel::gui {

QtSettingsStore::QtSettingsStore(QString folder) : folder_(std::move(folder)) {
  if (folder_.isEmpty()) folder_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

std::unique_ptr<QSettings> QtSettingsStore::open(const std::string& key) const {
  const QString k = QString::fromStdString(key);
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>("HKEY_CURRENT_USER\\" + k, QSettings::NativeFormat);
#else
  // "Software\QEL_Tester\historylist" -> <folder>/QEL_Tester/historylist.ini
  QString path = k;
  path.replace('\\', '/');
  if (path.startsWith("Software/")) path = path.mid(9);
  return std::make_unique<QSettings>(folder_ + "/" + path + ".ini", QSettings::IniFormat);
#endif
}

bool QtSettingsStore::keyExists(const std::string& key) {
#ifdef Q_OS_WIN
  return !open(key)->allKeys().isEmpty();
#else
  return QFileInfo::exists(open(key)->fileName());
#endif
}

bool QtSettingsStore::createKey(const std::string& key) {
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
  auto s = open(key);
  auto v = value(*s, name);
  if (!v) return std::nullopt;
  return v->toString().toStdString();
}

std::optional<int> QtSettingsStore::readInt(const std::string& key, const std::string& name) {
  auto s = open(key);
  auto v = value(*s, name);
  bool ok = false;
  const int i = v ? v->toInt(&ok) : 0;
  return ok ? std::optional<int>(i) : std::nullopt;
}

std::optional<double> QtSettingsStore::readDouble(const std::string& key, const std::string& name) {
  auto s = open(key);
  auto v = value(*s, name);
  bool ok = false;
  const double d = v ? v->toDouble(&ok) : 0;
  return ok ? std::optional<double>(d) : std::nullopt;
}

std::optional<bool> QtSettingsStore::readBool(const std::string& key, const std::string& name) {
  auto s = open(key);
  auto v = value(*s, name);
  if (!v) return std::nullopt;
  const QString t = v->toString().toLower();
  if (t == "true" || t == "1") return true;
  if (t == "false" || t == "0") return false;
  return std::nullopt;
}

bool QtSettingsStore::write(const std::string& key, const std::string& name, const QVariant& v) {
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
