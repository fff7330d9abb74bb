#pragma once
// What the main window owns, without the window: the test, its error list, the flags the tester
// side shares, and the recent files.

#include <atomic>
#include <string>
#include <vector>

#include "algorithms/expansion.h"
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
