#pragma once
// MainWindow TBF: tool bars, the pages "Диаграмма", "Таблица", "Корпус", the log, the status bar
// with the error navigation and the diagram switch, and every command of the menus.

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <vector>

#include "app/settings.h"
#include "app/startup.h"
#include "app/test_loader.h"
#include "engine/bench.h"
#include "operator/operator.h"
#include "views/diagram_view.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace qel::gui {

class DiagramPanel;
class GuiOperator;
class PackageWidget;
class RawReadoutWindow;
class SearchWindow;
class UsbConsoleWindow;
class CoverageWindow;
class ProgressWindow;
class ReferenceBookDialog;
class TestInfoDialog;
class RunControl;
class TablePage;
class WaitWindow;
class WordPanelsWidget;

struct MainWindowParts {
  engine::Bench& bench;
  app::Settings& settings;
  app::SettingsStore& store;
  GuiOperator& op;
  ProgressWindow& progress;
  WaitWindow& wait;
  RunControl* runs = nullptr;  // null: no tester library, nothing runs
  QString programPath;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(const MainWindowParts& parts);
  ~MainWindow() override;

  // The file dialogs; tests replace them. Empty for cancelled.
  std::function<QString(bool save)> chooseTestFile;
  // The export file dialog for a filter, and the cycle range of a picture; tests replace them.
  std::function<QString(const QString& filter)> chooseExportFile;
  std::function<QString(const QString& preset)> chooseCycleRange;
  // Opens a help document; tests replace it. False when nothing could open it.
  std::function<bool(const QString& path)> openDocument;
  // Closing ends the program (FormCloseQuery); tests keep the process.
  bool quitOnClose = true;

  // Commands.
  void openTest();                     // acOpen
  void loadFile(const QString& path);  // every way a test is opened
  void saveTestAs();                   // acSaveExecute
  void openRecent(int index);          // FileClick
  void refreshRecentItems();           // N1Click
  void startFullTest();                // acStartExecute
  void startContactTest();             // Button1Click
  void continueRun();                  // BContinueeClick
  void cancelRun();                    // "Отмена" of the progress window
  void startRealtimeCheck();           // BitBtn1Click
  void stopRealtimeCheck();            // Button3Click
  void navigate(int step);             // 0 first, 1 previous, 2 next, 3 last
  void showReference();                // "&Эталон"
  void showResultDiagram();            // "&Результат"
  void toggleGrid();                   // NWebClick
  void showWordsDialog();              // SpeedButton2Click
  void openHelpFile();                 // F1: "ZIREDOVOZI.HLP" in the program's folder
  void saveDataFile();                 // "Сохранить файл данных..."
  void exportVcd();                    // "Экспорт в VCD..."
  void saveDiagramPicture();           // "Сохранить изображение..."
  void saveRunReport();                // "Отчёт о прогоне (HTML)..."
  void exportTableCsv();               // "Сохранить CSV..." of the table page
  void showProgramOptions();           // "Настройки программы..."
  void showTestParameters();           // "Параметры тестирования..." (acSettingsExecute)
  void showReferenceBook();            // N69Click, "Открыть тест по названию..."
  void openChipFromBook();             // the book's "Открыть": the selected chip's test
  void namesChange();                  // the chip-name box's text changed, or Enter
  void namesExit();                    // the chip-name box lost the focus
  void showTestInfo();                 // acTestInfoExecute, "Описание теста..."
  void receiveHandOff();               // another program handed a file over
  bool openInEditor();  // N12Click, "Открыть в редакторе"; false when not handed
  void openHelp(app::HelpCommand command);  // F1 and "Справка", the user guide where those are not
  void showAlgorithmDialog();  // N57Click: "Алгоритм тестирования..." and "Алг."
  void startAnalyser();        // SpeedButton17Click: "Режим Анализатора..."
  void showDiagnostics();      // "Диагностика тестера..."
  void showRawReadout();       // bbrkdkClick, offered in "Сервис"
  void showUsbConsole();       // "Консоль USB..."
  void showCoverage();         // "Покрытие неисправностей..."
  void showSearch();           // acSearchExecute
  // The operator's file dialog: "Dat|*.dat" filters, the proposed name, the default extension.
  std::optional<std::string> chooseFile(const FileChoice& choice);
  // Everything shown again from the bench (the operator's throttled redraw lands here).
  void redrawFromModel();

  // Read access for tests and screenshots.
  engine::Bench& bench() { return bench_; }
  views::DiagramView& view() { return view_; }
  DiagramPanel* diagramPanel() const { return diagram_; }
  PackageWidget* packageWidget() const { return package_; }
  WordPanelsWidget* wordPanels() const { return words_; }
  TablePage* tablePage() const { return table_; }
  QTabWidget* pages() const { return pages_; }
  QString errText() const;
  QString statusPanel(int index) const;
  QString logText() const;
  QAction* recentItem(int index) const { return recent_[size_t(index)]; }
  QComboBox* diagramSwitch() const { return switch_; }
  QAction* action(const QString& objectName) const;
  ReferenceBookDialog* referenceBook() const { return book_; }
  QComboBox* namesBox() const { return names_; }
  // The test description dialog just made, before it is shown; tests fill and close it.
  std::function<void(TestInfoDialog&)> onTestInfo;
  UsbConsoleWindow* usbConsole() const;
  CoverageWindow* coverageWindow() const { return coverage_; }
  SearchWindow* searchWindow() const { return search_; }
  RawReadoutWindow* rawReadout() const;

 Q_SIGNALS:
  // A run's end has been shown (its pages, the table, the counters).
  void runShown();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // The chosen export file with its suffix added when none was typed; empty when cancelled.
  QString exportFile(const QString& filter, const QString& suffix);
  void reportExportFailure(const QString& path, const std::string& error);
  void buildMenus();
  void buildToolBars();
  void buildPages();
  void buildStatusBar();
  void setUpChipNames();
  // The chip-name box shows text without reacting to it.
  void setNamesText(const QString& text);
  QAction* addAction(QMenu* menu, const QString& text, const QString& name, void (MainWindow::*slot)());
  void appendLog(const QString& line);
  void setErrText(const QString& text);
  void afterLoad();
  void updateStatus();
  void updateModeControls();
  void writeSettingsAndShutdown();
  // The diagram, table and package pages are shown while the bench holds a test to show.
  void syncPages();
  void showPage(int page);
  app::LoadOptions loadOptions() const;
  // The run events, in order on the GUI thread.
  void runStarted(RunKind kind);
  void blockDone(int done, int blocks);
  void runFinished(const RunEnd& end);

  engine::Bench& bench_;
  app::Settings& settings_;
  app::SettingsStore& store_;
  GuiOperator& op_;
  ProgressWindow& progress_;
  WaitWindow& wait_;
  RunControl* runs_;
  QString programPath_;

  views::DiagramView view_;

  QTabWidget* pages_ = nullptr;
  DiagramPanel* diagram_ = nullptr;
  WordPanelsWidget* words_ = nullptr;
  TablePage* table_ = nullptr;
  PackageWidget* package_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QLabel* errText_ = nullptr;
  QComboBox* switch_ = nullptr;
  std::array<QLabel*, 4> panels_{};
  std::array<QAction*, 4> recent_{};
  QAction* reference_ = nullptr;  // N33 / N63
  QAction* result_ = nullptr;     // N34 / N64
  QAction* grid_ = nullptr;       // NWeb / N66
  QToolButton* continue_ = nullptr;
  QToolButton* power_ = nullptr;
  QToolBar* fileBar_ = nullptr;
  QToolBar* zoomBar_ = nullptr;
  QToolBar* settingsBar_ = nullptr;
  QToolBar* startBar_ = nullptr;
  QWidget* navigation_ = nullptr;
  QMenu* barsMenu_ = nullptr;
  RawReadoutWindow* raw_ = nullptr;
  UsbConsoleWindow* console_ = nullptr;
  CoverageWindow* coverage_ = nullptr;
  SearchWindow* search_ = nullptr;
  QTimer realtimeTimer_;
  ReferenceBookDialog* book_ = nullptr;
  QComboBox* names_ = nullptr;
  bool nameBoxActive_ = true;
  bool activated_ = false;
  bool closing_ = false;
};

}  // namespace qel::gui
