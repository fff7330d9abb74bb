#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/startup.h"
#include "gui/coverage_window.h"
#include "gui/diagram_panel.h"
#include "gui/diagram_widget.h"
#include "gui/gui_operator.h"
#include "gui/message_box.h"
#include "gui/package_widget.h"
#include "gui/progress_window.h"
#include "gui/run_control.h"
#include "gui/table_page.h"
#include "gui/wait_window.h"
#include "gui/word_panels_widget.h"
#include "views/comparison.h"

namespace qel::gui {

namespace {
const char* const kCancelledLine = "Тестирование прервано пользователем";
constexpr const char* kPlacementKey = "Software\\QEL_Tester\\placement";
constexpr int kRealtimeIntervalMs = 1000;  // one level snapshot a second while the clip is adjusted
constexpr int kDiagramPage = 0;
constexpr int kPackagePage = 2;
}  // namespace

MainWindow::MainWindow(const MainWindowParts& parts)
    : bench_(parts.bench),
      settings_(parts.settings),
      store_(parts.store),
      op_(parts.op),
      progress_(parts.progress),
      wait_(parts.wait),
      runs_(parts.runs),
      programPath_(parts.programPath) {
  setObjectName("BF");
  setWindowTitle(qs(app::kMainCaption));
  setMinimumWidth(640);
  resize(725, 520);
  setAcceptDrops(true);

  buildPages();
  buildStatusBar();
  buildMenus();
  buildToolBars();

  // FormCreate: the bench holds the initial 32-pin test; the view state, then the settings.
  app::readSettings(store_, settings_);
  settings_.recentFiles.resize(app::kRecentFiles);
  view_.rowHeight = 16;
  view_.cellWidth = settings_.cellWidth;
  if (auto placement = store_.readString(kPlacementKey, "BF"))
    restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*placement)));
  syncPages();

  op_.setDialogParent(this);
  OperatorSinks sinks;
  sinks.log = [this](const std::string& l) { appendLog(qs(l)); };
  sinks.errorCounter = [this](const std::string& t) { setErrText(qs(t)); };
  sinks.redraw = [this] { redrawFromModel(); };
  sinks.chooseFile = [this](const FileChoice& c) { return chooseFile(c); };
  sinks.runStarted = [this](RunKind kind) { runStarted(kind); };
  sinks.contactsUpdated = [this] {
    package_->update();
    diagram_->diagram()->update();
  };
  sinks.blockDone = [this](int done, int blocks) { blockDone(done, blocks); };
  sinks.runFinished = [this](const RunEnd& end) { runFinished(end); };
  op_.setSinks(std::move(sinks));
  connect(&progress_, &ProgressWindow::cancelRequested, this, &MainWindow::cancelRun);
  setUpChipNames();

  realtimeTimer_.setInterval(kRealtimeIntervalMs);
  connect(&realtimeTimer_, &QTimer::timeout, this, [this] {
    if (!runs_) return;
    runs_->realtimeTick();
    if (!runs_->realtimeOn()) realtimeTimer_.stop();
  });
  // F1 anywhere in the window, whichever control has the focus.
  auto* help = new QAction(this);
  help->setObjectName("helpKey");
  help->setShortcut(Qt::Key_F1);
  help->setShortcutContext(Qt::WindowShortcut);
  QWidget::addAction(help);
  connect(help, &QAction::triggered, this, &MainWindow::openHelpFile);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildPages() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* splitter = new QSplitter(Qt::Vertical, central);

  pages_ = new QTabWidget(splitter);
  pages_->setObjectName("PageControl1");
  auto* diagramPage = new QWidget(pages_);
  auto* dl = new QVBoxLayout(diagramPage);
  dl->setContentsMargins(0, 0, 0, 0);
  dl->setSpacing(0);
  diagram_ = new DiagramPanel(bench_, view_, diagramPage);
  words_ = new WordPanelsWidget(bench_.test, diagramPage);
  dl->addWidget(diagram_, 1);
  dl->addWidget(words_);
  pages_->addTab(diagramPage, "Диаграмма");

  table_ = new TablePage(bench_, pages_);
  pages_->addTab(table_, "Таблица");
  connect(words_, &WordPanelsWidget::searchRequested, this, &MainWindow::showSearch);
  connect(table_, &TablePage::searchRequested, this, &MainWindow::showSearch);
  connect(table_, &TablePage::csvRequested, this, &MainWindow::exportTableCsv);

  auto* packagePage = new QWidget(pages_);
  auto* pl = new QVBoxLayout(packagePage);
  pl->setContentsMargins(0, 0, 0, 0);
  pl->setSpacing(0);
  auto* bar = new QToolBar(packagePage);
  bar->setObjectName("packageBar");
  QAction* update = bar->addAction("Обновить");
  update->setObjectName("Button1");
  QAction* retry = bar->addAction("Проверка в реальном времени");
  retry->setObjectName("BitBtn2");
  QAction* stop = bar->addAction("Остановить проверку");
  stop->setObjectName("BitBtn3");
  connect(update, &QAction::triggered, this, &MainWindow::startContactTest);
  connect(retry, &QAction::triggered, this, &MainWindow::startRealtimeCheck);
  connect(stop, &QAction::triggered, this, &MainWindow::stopRealtimeCheck);
  package_ = new PackageWidget(bench_, settings_.levels, packagePage);
  pl->addWidget(bar);
  pl->addWidget(package_, 1);
  pages_->addTab(packagePage, "Корпус");

  memo_ = new QPlainTextEdit(splitter);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setPlainText("Старт программы.");
  splitter->addWidget(pages_);
  splitter->addWidget(memo_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);
  splitter->setSizes({400, 70});
  layout->addWidget(splitter);
  setCentralWidget(central);

  connect(diagram_, &DiagramPanel::cursorMoved, this, [this] {
    words_->refresh(view_.cursorCycle());
    updateStatus();
  });
  connect(diagram_, &DiagramPanel::modeChanged, this, &MainWindow::updateModeControls);
  connect(words_, &WordPanelsWidget::selectionChanged, this,
          [this] { diagram_->clickAt(diagram_->diagram()->lastPress()); });
  connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    if (bench_.busy() && page != 0 && page != 2) {
      pages_->setCurrentIndex(0);
      return;
    }
    if (page == 1)
      table_->selectCycle(std::clamp(view_.cursorCycle(), 1, std::max(1, bench_.test.cycleCount)));
    else if (page == 0 && table_->selectedCycle() > 0)
      diagram_->moveCursorToCycle(table_->selectedCycle());
  });
}

void MainWindow::buildStatusBar() {
  auto* bar = statusBar();
  bar->setObjectName("StatusBar1");
  navigation_ = new QWidget(bar);
  navigation_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  navigation_->setObjectName("PanelErrors");
  auto* nl = new QHBoxLayout(navigation_);
  nl->setContentsMargins(0, 0, 0, 0);
  nl->setSpacing(1);
  struct Button {
    const char* text;
    const char* hint;
    const char* name;
    int step;
  };
  static const Button kButtons[] = {{"<<", "Первая ошибка", "SpeedButton8", 0},
                                    {"<", "Предыдущая ошибка", "SpeedButton9", 1},
                                    {">", "Cледующая ошибка", "SpeedButton10", 2},
                                    {">>", "Последняя ошибка", "SpeedButton11", 3}};
  for (const auto& b : kButtons) {
    auto* button = new QToolButton(navigation_);
    button->setText(b.text);
    button->setToolTip(b.hint);
    button->setObjectName(b.name);
    button->setAutoRaise(true);
    button->setFixedSize(26, 20);
    const int step = b.step;
    connect(button, &QToolButton::clicked, this, [this, step] { navigate(step); });
    nl->addWidget(button);
    if (b.step == 1) {
      errText_ = new QLabel("00/00", navigation_);
      errText_->setObjectName("ErrText");
      errText_->setToolTip("Ошибки");
      errText_->setFixedWidth(64);
      errText_->setAlignment(Qt::AlignCenter);
      errText_->setFrameShape(QFrame::StyledPanel);
      nl->addWidget(errText_);
    }
  }
  navigation_->setFixedWidth(4 * 26 + 64 + 8);
  switch_ = new QComboBox(bar);
  switch_->setObjectName("ComboBox2");
  switch_->addItems({"Эталон", "Результат"});
  switch_->setToolTip("Переключатель диаграммы");
  connect(switch_, &QComboBox::activated, this, [this](int index) {
    if (index == 0)
      showReference();
    else
      showResultDiagram();
  });
  bar->addWidget(navigation_);
  bar->addWidget(switch_);
  // Panel 0 holds the navigation and the switch; 1 the cursor cycle, 2 a hint, 3 the description.
  const int widths[] = {0, 150, 195, 50};
  for (int i = 0; i < 4; ++i) {
    panels_[size_t(i)] = new QLabel(bar);
    panels_[size_t(i)]->setObjectName(QString("panel%1").arg(i));
    if (i == 0) {
      panels_[0]->hide();
      continue;
    }
    panels_[size_t(i)]->setMinimumWidth(widths[i]);
    bar->addWidget(panels_[size_t(i)], i == 3 ? 1 : 0);
  }
}

void MainWindow::appendLog(const QString& line) {
  memo_->appendPlainText(line);
}
void MainWindow::setErrText(const QString& text) {
  errText_->setText(text);
}
QString MainWindow::errText() const {
  return errText_->text();
}
QString MainWindow::statusPanel(int index) const {
  return panels_[size_t(index)]->text();
}
QString MainWindow::logText() const {
  return memo_->toPlainText();
}

QAction* MainWindow::action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

void MainWindow::updateStatus() {
  if (!bench_.testReady()) return;
  panels_[1]->setText(qs(views::cycleStatusText(view_, bench_.test.cycleCount)));
  panels_[3]->setText(qs(bench_.test.descriptionFile));
}

void MainWindow::updateModeControls() {
  const bool result = view_.showResult;
  const QSignalBlocker b1(switch_);
  switch_->setCurrentIndex(result ? 1 : 0);
  reference_->setChecked(!result);
  result_->setChecked(result);
}

void MainWindow::syncPages() {
  pages_->setVisible(bench_.testReady());
}

void MainWindow::showPage(int page) {
  const QSignalBlocker block(pages_);
  pages_->setCurrentIndex(page);
}

void MainWindow::redrawFromModel() {
  syncPages();
  if (runs_ && continue_) continue_->setEnabled(runs_->continueEnabled());
  if (runs_ && power_) power_->setChecked(runs_->powerIsOn());
  diagram_->refresh();
  package_->update();
  table_->update();
  updateStatus();
}

void MainWindow::runStarted(RunKind kind) {
  // The run writes the test the fill reads.
  table_->stopFill();
  // The contacts come first: the package page is in front while they are checked.
  if (kind == RunKind::Full || kind == RunKind::Contact) showPage(kPackagePage);
  if (kind == RunKind::ChannelTest) syncPages();
}

void MainWindow::blockDone(int done, int) {
  if (done == 0) {
    // The blocks start: the diagram shows the reference while the result fills in.
    showPage(kDiagramPage);
    diagram_->setMode(views::Mode::Reference);
  }
  op_.redraw();
}

void MainWindow::runFinished(const RunEnd& end) {
  const bool compared = (end.kind == RunKind::Full || end.kind == RunKind::Continue) &&
                        end.outcome == RunOutcome::Finished && !bench_.analyserMode();
  if (compared) diagram_->setMode(views::Mode::Result);
  // A run the user stopped says so in the log, as every other ending does.
  if (end.outcome == RunOutcome::Cancelled) appendLog(kCancelledLine);
  if (end.kind == RunKind::ChannelTest && end.outcome == RunOutcome::ChannelFault) {
    // The picture of the self-test: what was driven, and what came back.
    syncPages();
    showPage(kDiagramPage);
    diagram_->setMode(views::Mode::Result);
  }
  redrawFromModel();
  table_->reload();
  Q_EMIT runShown();
}

void MainWindow::afterLoad() {
  views::fitCellWidth(view_, diagram_->rulerWidth(), bench_.test.cycleCount);
  view_.showReference = true;
  view_.showResult = false;
  updateModeControls();
  pages_->setCurrentIndex(kDiagramPage);
  words_->reloadWords();
  table_->reload();
  // Coverage found for the last test says nothing of this one.
  package_->setPinCoverage({});
  if (coverage_) coverage_->testReplaced();
  diagram_->refresh();
  // The cycle width that fits, now that the page has its size.
  diagram_->resetAfterLoad();
  redrawFromModel();
}

void MainWindow::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (activated_) return;
  // FormActivate, once.
  activated_ = true;
  diagram_->refresh();
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  QMainWindow::keyPressEvent(e);
}

void MainWindow::openHelpFile() {
  openHelp(app::HelpCommand::F1);
}

void MainWindow::openHelp(app::HelpCommand command) {
  const std::string program = us(programPath_);
  const std::string path =
      app::helpToOpen(command, program, [](const std::string& p) { return QFileInfo(qs(p)).isFile(); });
  if (path.empty()) {
    op_.message(app::kHelpMissing + app::userGuidePaths(program).front(), Icon::Error);
    return;
  }
  const QString file = QFileInfo(qs(path)).absoluteFilePath();
  const bool opened =
      openDocument ? openDocument(file) : QDesktopServices::openUrl(QUrl::fromLocalFile(file));
  if (!opened) op_.message("Не удалось открыть файл справки: " + us(file), Icon::Error);
}

void MainWindow::writeSettingsAndShutdown() {
  settings_.cellWidth = view_.cellWidth;
  settings_.rowHeight = view_.rowHeight;
  app::writeSettings(store_, settings_);
  view_.firstCycle = view_.firstRow = 0;
  // The window placement, in a key of its own.
  if (store_.createKey(kPlacementKey))
    store_.writeString(kPlacementKey, "BF", saveGeometry().toBase64().toStdString());
  realtimeTimer_.stop();
  if (runs_) runs_->shutdown();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  // FormCloseQuery: closing is never refused.
  if (!closing_) {
    closing_ = true;
    op_.abandonQuestions();
    writeSettingsAndShutdown();
  }
  e->accept();
  progress_.close();
  wait_.close();
  if (quitOnClose) QApplication::exit(0);
}

}  // namespace qel::gui
