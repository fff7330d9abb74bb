#include "app/settings.h"

#include <algorithm>
#include <cmath>

namespace qel::app {

namespace {

const char* const kHist[] = {"Hist1", "Hist2", "Hist3", "Hist4"};

void readHistoryKey(SettingsStore& s, Settings& st) {
  const std::string key = kHistoryKey;
  auto shortTest = s.readBool(key, "ShortTest");
  auto vccOff = s.readBool(key, "VCCOff");
  auto cont = s.readBool(key, "Continue");
  auto channels = s.readBool(key, "TestCanalOnStart");
  if (shortTest && vccOff && cont && channels) {
    st.shortTest = *shortTest;
    st.vccOff = *vccOff;
    st.continueOnFault = *cont;
    st.testChannelsOnStart = *channels;
  } else {
    st.shortTest = true, st.vccOff = true, st.continueOnFault = false, st.testChannelsOnStart = true;
  }
  st.referenceBook = s.readString(key, "FileSprav").value_or("");
  for (const char* name : kHist) st.recentFiles.push_back(s.readString(key, name).value_or(""));

  // From here a value that cannot be read ends this key's handling; what was read stays.
  auto sw = s.readInt(key, "SW");
  if (!sw) return;
  if (*sw >= 3 && *sw <= 46) st.cellWidth = *sw;  // a width out of range would break the zoom steps
  // A U0 no calibration could give (NaN, infinite, beyond the scale) counts as unreadable: the
  // level scale divides by U0 + 5 and the dialogs convert it to float.
  auto u0 = s.readDouble(key, "U0");
  if (!u0 || !usableU0(*u0)) return;
  st.levels.u0 = *u0;
  auto minPVCC = s.readInt(key, "MinPVCC");
  if (!minPVCC) return;
  st.levels.minSupply = *minPVCC;
  auto maxPGND = s.readInt(key, "MaxPGND");
  if (!maxPGND) return;
  st.levels.maxGround = *maxPGND;
  auto minPGND = s.readInt(key, "MinPGND");
  if (!minPGND) return;
  st.levels.minGround = *minPGND;
  if (s.createKey(key)) s.writeBool(key, "IsOpen", true);
}

void createHistoryKey(SettingsStore& s, Settings& st) {
  const std::string key = kHistoryKey;
  st.recentFiles.assign(kRecentFiles, "");
  if (!s.createKey(key)) return;
  for (const char* name : kHist)
    if (!s.writeString(key, name, "")) return;
  s.writeInt(key, "SH", st.rowHeight) && s.writeInt(key, "SW", st.cellWidth) &&
      s.writeInt(key, "MinPVCC", st.levels.minSupply) && s.writeInt(key, "MaxPGND", st.levels.maxGround) &&
      s.writeInt(key, "MinPGND", st.levels.minGround) &&
      s.writeDouble(key, "U0", LevelThresholds::kDefaultU0) && s.writeBool(key, "IsOpen", true) &&
      s.writeBool(key, "ShortTest", true) && s.writeBool(key, "VCCOff", true) &&
      s.writeBool(key, "Continue", false) && s.writeBool(key, "TestCanalOnStart", true);
}

}  // namespace

bool usableU0(double u0) {
  return std::isfinite(u0) && u0 > 0 && u0 <= kMaxU0;
}

void readSettings(SettingsStore& s, Settings& st) {
  st.recentFiles.clear();
  if (s.keyExists(kHistoryKey))
    readHistoryKey(s, st);
  else
    createHistoryKey(s, st);
  st.recentFiles.resize(kRecentFiles);

  const std::string main = kMainKey;
  if (!s.keyExists(main) && s.createKey(main)) {
    s.writeString(main, "Dir_QEL", "") && s.writeString(main, "Dir_Tests", "") &&
        s.writeString(main, "Dir_PDF", "");
  }
  st.dirQel = s.readString(main, "Dir_QEL").value_or("");
  st.dirTests = s.readString(main, "Dir_Tests").value_or("");
  st.dirPdf = s.readString(main, "Dir_PDF").value_or("");
}

void writeSettings(SettingsStore& s, const Settings& st) {
  const std::string key = kHistoryKey;
  if (!s.createKey(key)) return;
  for (size_t i = 0; i < st.recentFiles.size(); ++i)
    if (!s.writeString(key, "Hist" + std::to_string(i + 1), st.recentFiles[i])) return;
  s.writeInt(key, "SH", st.rowHeight) && s.writeInt(key, "SW", st.cellWidth) &&
      s.writeDouble(key, "U0", st.levels.u0) && s.writeInt(key, "MinPVCC", st.levels.minSupply) &&
      s.writeInt(key, "MaxPGND", st.levels.maxGround) && s.writeInt(key, "MinPGND", st.levels.minGround) &&
      s.writeBool(key, "IsOpen", false) && s.writeBool(key, "ShortTest", st.shortTest) &&
      s.writeBool(key, "VCCOff", st.vccOff) && s.writeBool(key, "Continue", st.continueOnFault) &&
      s.writeBool(key, "TestCanalOnStart", st.testChannelsOnStart) &&
      s.writeString(key, "FileSprav", st.referenceBook);
}

void rememberRecentFile(std::vector<std::string>& list, const std::string& path) {
  const auto before = list.size();
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  const bool removed = list.size() != before;
  list.insert(list.begin(), path);
  if (!removed || list.size() > kRecentFiles) list.pop_back();
  list.resize(kRecentFiles);
}

}  // namespace qel::app
