// The main menu and the tool bars of the main window.

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QLayout>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/startup.h"
#include "gui/about_box.h"
#include "gui/diagram_panel.h"
#include "gui/diagram_widget.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/progress_window.h"
#include "gui/run_control.h"

namespace qel::gui {

QAction* MainWindow::addAction(QMenu* menu, const QString& text, const QString& name,
                               void (MainWindow::*slot)()) {
  QAction* a = menu->addAction(text);
  a->setObjectName(name);
  if (slot)
    connect(a, &QAction::triggered, this, slot);
  else
    a->setEnabled(false);  // a command of a dialog this program does not have yet
  return a;
}

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu("Файл");
  file->setObjectName("N1");
  QAction* open = addAction(file, "&Открыть...", "acOpen", &MainWindow::openTest);
  open->setShortcut(QKeySequence::Open);
  addAction(file, "Открыть тест по названию...", "N69", &MainWindow::showReferenceBook);
  QAction* editor = addAction(file, "Открыть в редакторе", "N12", nullptr);
  editor->setEnabled(true);
  connect(editor, &QAction::triggered, this, &MainWindow::openInEditor);
  addAction(file, "&Сохранить как...", "acSave", &MainWindow::saveTestAs);
  addAction(file, "Сохранить файл данных...", "acSaveData", &MainWindow::saveDataFile);
  addAction(file, "Экспорт в VCD...", "acExportVcd", &MainWindow::exportVcd);
  addAction(file, "Сохранить изображение...", "acSavePicture", &MainWindow::saveDiagramPicture);
  addAction(file, "Отчёт о прогоне (HTML)...", "acRunReport", &MainWindow::saveRunReport);
  file->addSeparator();
  for (int i = 0; i < 4; ++i) {
    recent_[size_t(i)] = file->addAction(QString());
    recent_[size_t(i)]->setObjectName(QString("File%1").arg(i));
    recent_[size_t(i)]->setVisible(false);
    connect(recent_[size_t(i)], &QAction::triggered, this, [this, i] { openRecent(i); });
  }
  file->addSeparator();
  QAction* exit = file->addAction("&Выход");
  exit->setObjectName("acExit");
  connect(exit, &QAction::triggered, this, &QWidget::close);
  connect(file, &QMenu::aboutToShow, this, &MainWindow::refreshRecentItems);

  QMenu* testing = menuBar()->addMenu("Тестирование");
  addAction(testing, "Полный тест", "acStart", &MainWindow::startFullTest);
  addAction(testing, "Тест Контактов", "acChip", &MainWindow::startContactTest);
  addAction(testing, "Режим Анализатора...", "acAnalyser", &MainWindow::startAnalyser);
  QAction* on = testing->addAction("Включить питание");
  on->setObjectName("acPowerOn");
  connect(on, &QAction::triggered, this, [this] {
    if (runs_) runs_->powerOnCommand();
    redrawFromModel();
  });
  QAction* off = testing->addAction("Выключить питание");
  off->setObjectName("acPowerOff");
  connect(off, &QAction::triggered, this, [this] {
    if (runs_) runs_->powerOffCommand();
    redrawFromModel();
  });

  QMenu* diagram = menuBar()->addMenu("Диаграмма");
  QMenu* scale = diagram->addMenu("&Масштаб");
  QAction* out = scale->addAction("Уменьшить");
  out->setObjectName("acDown");
  QAction* in = scale->addAction("Увеличить");
  in->setObjectName("acUp");
  QAction* normal = scale->addAction("Нормально");
  normal->setObjectName("acNormal");
  scale->addAction("Настройка цветов")->setEnabled(false);
  connect(in, &QAction::triggered, this, [this] { diagram_->zoom(views::Zoom::In); });
  connect(out, &QAction::triggered, this, [this] { diagram_->zoom(views::Zoom::Out); });
  connect(normal, &QAction::triggered, this, [this] { diagram_->zoom(views::Zoom::Normal); });
  reference_ = addAction(diagram, "&Эталон", "N33", &MainWindow::showReference);
  reference_->setCheckable(true);
  reference_->setChecked(true);
  result_ = addAction(diagram, "&Результат", "N34", &MainWindow::showResultDiagram);
  result_->setCheckable(true);
  grid_ = addAction(diagram, "&Сетка", "NWeb", &MainWindow::toggleGrid);
  grid_->setCheckable(true);

  // PopupMenuD of the diagram.
  auto* popup = new QMenu(this);
  popup->setObjectName("PopupMenuD");
  QMenu* pd = popup->addMenu("Диаграмма");
  pd->addAction("Эталон", this, &MainWindow::showReference);
  pd->addAction("Результат", this, &MainWindow::showResultDiagram);
  pd->addAction("Сетка", this, &MainWindow::toggleGrid);
  QMenu* pz = popup->addMenu("Масштаб");
  pz->addAction("Увеличить", this, [this] { diagram_->zoom(views::Zoom::In); });
  pz->addAction("Уменьшить", this, [this] { diagram_->zoom(views::Zoom::Out); });
  pz->addAction("По умолчанию", this, [this] { diagram_->zoom(views::Zoom::Normal); });
  diagram_->diagram()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(diagram_->diagram(), &QWidget::customContextMenuRequested, this,
          [this, popup](const QPoint& at) { popup->exec(diagram_->diagram()->mapToGlobal(at)); });

  QMenu* service = menuBar()->addMenu("Сервис");
  addAction(service, "Алгоритм тестирования...", "acAlg", &MainWindow::showAlgorithmDialog);
  addAction(service, "Cловa данных...", "acWord", &MainWindow::showWordsDialog);
  QAction* info = addAction(service, "Описание теста...", "acTestInfo", &MainWindow::showTestInfo);
  info->setShortcut(QKeySequence("Ctrl+I"));
  addAction(service, "Настройки программы...", "acParam", &MainWindow::showProgramOptions);
  addAction(service, "Параметры тестирования...", "acSettings", &MainWindow::showTestParameters);
  barsMenu_ = service->addMenu("Панели инструментов");
  addAction(service, "Показать окно тестирования", "N68", nullptr);
  action("N68")->setEnabled(true);
  connect(action("N68"), &QAction::triggered, &progress_, &ProgressWindow::showWindow);
  addAction(service, "Диагностика тестера...", "N26", &MainWindow::showDiagnostics);
  service->addSeparator();
  addAction(service, "Сырые данные тестера...", "bbrkdk", &MainWindow::showRawReadout);
  addAction(service, "Консоль USB...", "acUsbConsole", &MainWindow::showUsbConsole);
  addAction(service, "Покрытие неисправностей...", "acCoverage", &MainWindow::showCoverage);

  QMenu* help = menuBar()->addMenu("Помощь");
  QAction* chm = help->addAction("Справка");
  chm->setObjectName("N13");
  connect(chm, &QAction::triggered, this, [this] { openHelp(app::HelpCommand::Contents); });
  // F1 anywhere in the window.
  QAction* f1 = new QAction(this);
  f1->setObjectName("acHelpF1");
  f1->setShortcut(Qt::Key_F1);
  f1->setShortcutContext(Qt::WindowShortcut);
  QWidget::addAction(f1);
  connect(f1, &QAction::triggered, this, &MainWindow::openHelpFile);
  QAction* about = help->addAction("О программе");
  about->setObjectName("N10");
  connect(about, &QAction::triggered, this, [this] {
    AboutBox box(this);
    box.exec();
  });
}

void MainWindow::buildToolBars() {
  fileBar_ = addToolBar("Меню Файл");
  fileBar_->setObjectName("ToolBar2");
  QAction* open = fileBar_->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton), "Открыть");
  open->setToolTip("Открыть");
  connect(open, &QAction::triggered, this, &MainWindow::openTest);
  QAction* save = fileBar_->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "Сохранить");
  save->setToolTip("Сохранить файл теста как стандартый алгоритм");
  connect(save, &QAction::triggered, this, &MainWindow::saveTestAs);
  names_ = new QComboBox(fileBar_);
  names_->setObjectName("Names");
  names_->setEditable(true);
  names_->setToolTip("Открыть тест по названию");
  names_->setMinimumWidth(80);
  fileBar_->addWidget(names_);

  startBar_ = addToolBar("Тестирование");
  startBar_->setObjectName("Panelbstart");
  auto button = [this](const QString& text, const QString& hint, const QString& name) {
    auto* b = new QToolButton(startBar_);
    b->setText(text);
    b->setToolTip(hint);
    b->setObjectName(name);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    startBar_->addWidget(b);
    return b;
  };
  connect(button("Тест", "Запуск полного тестирования микросхемы", "BStart1"), &QToolButton::clicked, this,
          &MainWindow::startFullTest);
  connect(button("Контакты", "Тестирование Контактов микросхемы", "BChip"), &QToolButton::clicked, this,
          &MainWindow::startContactTest);
  continue_ = button("Продолжить", "Продолжить", "BContinuee");
  continue_->setEnabled(false);
  connect(continue_, &QToolButton::clicked, this, &MainWindow::continueRun);
  power_ = button("Питание", "Индикатор питания", "SBPower");
  power_->setCheckable(true);
  connect(power_, &QToolButton::clicked, this, [this] {
    if (runs_) runs_->togglePower();
    redrawFromModel();
  });

  settingsBar_ = addToolBar("Настройки");
  settingsBar_->setObjectName("ToolBar1");
  QAction* algorithm = settingsBar_->addAction("Алг.");
  algorithm->setToolTip("Алгоритм тестирования");
  algorithm->setObjectName("SpeedButton1");
  connect(algorithm, &QAction::triggered, this, &MainWindow::showAlgorithmDialog);
  QAction* words = settingsBar_->addAction("Слова");
  words->setToolTip("Слова данных");
  connect(words, &QAction::triggered, this, &MainWindow::showWordsDialog);
  QAction* parameters = settingsBar_->addAction("Парам.");
  parameters->setToolTip("Параметры устройства");
  connect(parameters, &QAction::triggered, this, &MainWindow::showTestParameters);

  zoomBar_ = addToolBar("Масштабирование");
  zoomBar_->setObjectName("ToolBar3");
  QAction* in = zoomBar_->addAction("+");
  in->setToolTip("Увеличить");
  QAction* out = zoomBar_->addAction("−");
  out->setToolTip("Уменьшить");
  QAction* normal = zoomBar_->addAction("1:1");
  normal->setToolTip("Нормально");
  connect(in, &QAction::triggered, this, [this] { diagram_->zoom(views::Zoom::In); });
  connect(out, &QAction::triggered, this, [this] { diagram_->zoom(views::Zoom::Out); });
  connect(normal, &QAction::triggered, this, [this] { diagram_->zoom(views::Zoom::Normal); });

  // Narrow text buttons, so that at the window's default width every bar fits in one row instead of
  // hiding its last buttons behind the overflow arrow.
  for (QToolBar* bar : {fileBar_, startBar_, settingsBar_, zoomBar_}) {
    bar->setStyleSheet(
        "QToolBar { padding: 0px; spacing: 0px; } QToolButton { padding-left: 1px; padding-right: 1px; }");
    bar->layout()->setSpacing(0);
    bar->setContentsMargins(0, 0, 0, 0);
  }

  // "Панели инструментов": each item shows or hides its bar and follows its visibility.
  struct Item {
    const char* text;
    QWidget* bar;
  };
  const Item items[] = {{"Файл", fileBar_},
                        {"Масштабирование", zoomBar_},
                        {"Панель настроек", settingsBar_},
                        {"Тестирование", startBar_},
                        {"Ошибки", navigation_}};
  for (const auto& it : items) {
    QAction* a = barsMenu_->addAction(it.text);
    a->setCheckable(true);
    a->setChecked(true);
    QWidget* bar = it.bar;
    connect(a, &QAction::triggered, this, [this, bar, a] {
      if (!bar) return;
      bar->setVisible(!bar->isVisible());
      a->setChecked(bar->isVisible());
    });
  }
}

void MainWindow::showReference() {
  if (view_.showResult) diagram_->setMode(views::Mode::Reference);
  updateModeControls();
}

void MainWindow::showResultDiagram() {
  if (!view_.showResult) diagram_->setMode(views::Mode::Result);
  updateModeControls();
}

void MainWindow::toggleGrid() {
  view_.grid = !view_.grid;
  grid_->setChecked(view_.grid);
  diagram_->repaintAll();
}

}  // namespace qel::gui
