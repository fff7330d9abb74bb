#pragma once
// What the main window owns, without the window: the test, its error list, the flags the tester
// side shares, and the recent files.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "algorithms/expansion.h"
#include "engine/contact_record.h"
#include "model/test_description.h"
#include "views/comparison.h"

namespace qel::app {

inline constexpr size_t kRecentFiles = 4;

struct Workspace {
  TestDescription test;
  views::ErrorList errors;

  // Flags shared with the tester side.
  std::atomic<bool> busy{false};
  std::atomic<bool> testerNotInitialised{true};
  std::atomic<bool> analyserMode{false};
  std::atomic<bool> analyserView{false};
  std::atomic<bool> channelFault{false};

  // What the contact test found per pin (entry k = pin k+1).
  engine::ContactRecords contacts;
  // Guards test's result diagram, errors and contacts: a run's worker writes them only while
  // holding it, and whoever reads them while busy is set takes it too.
  mutable std::mutex dataMutex;
  // Page of the main page control in front: 0 diagram, 1 table, 2 package.
  std::atomic<int> mainPage{0};
  // The diagram shows the result ("&Результат") rather than the reference ("&Эталон").
  std::atomic<bool> showResult{false};

  // The diagram, table and package pages are shown.
  bool pagesVisible = false;
  // Messages about data words with contacts of mixed kinds are shown.
  bool showMessages = true;
  std::string caption = "Внутрисхемный тестер цифровых микросхем";
  std::vector<std::string> recentFiles = std::vector<std::string>(kRecentFiles);
  algorithms::ExpansionOptions expansion;
  // Width of the ruler in pixels, for fitting the cycle width after a load.
  int rulerWidth = 800;
  int cellWidth = 15;

  Workspace() { test.resetForStartup(); }
};

// Moves path to the front of the four recent files.
void rememberRecentFile(Workspace& ws, const std::string& path);

}  // namespace qel::app
