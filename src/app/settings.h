#pragma once
// The program's settings and the four recent files, read once at start and written at close.

#include <string>
#include <vector>

#include "app/settings_store.h"
#include "model/level_thresholds.h"

namespace qel::app {

inline constexpr const char* kHistoryKey = "Software\\QEL_Tester\\historylist";
inline constexpr const char* kMainKey = "Software\\QEL_Main";
inline constexpr size_t kRecentFiles = 4;

struct Settings {
  std::vector<std::string> recentFiles;  // most recent first, always 4 entries once read
  int rowHeight = 16;                    // written as "SH", never read back
  int cellWidth = 15;                    // "SW"
  LevelThresholds levels;                // "U0", "MinPVCC", "MaxPGND", "MinPGND"
  bool shortTest = true;
  bool vccOff = true;
  bool continueOnFault = false;
  bool testChannelsOnStart = true;
  std::string referenceBook;  // "FileSprav"
  std::string dirQel, dirTests, dirPdf;
};

// The largest U0 the autocalibration can give (a ground pin reading 254).
inline constexpr double kMaxU0 = 254 * 5.0 / (255 - 254);
bool usableU0(double u0);

// Reads into settings over its built-in defaults; failures fall back silently.
void readSettings(SettingsStore& store, Settings& settings);
// Writes everything back, with "IsOpen" false; stops silently at the first failure.
void writeSettings(SettingsStore& store, const Settings& settings);

// Moves path to the front of the four recent files.
void rememberRecentFile(std::vector<std::string>& recentFiles, const std::string& path);

}  // namespace qel::app
