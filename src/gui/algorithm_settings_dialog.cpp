#include "gui/algorithm_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "gui/message_box.h"

namespace qel::gui {

using algorithms::AddressField;

namespace {

QLabel* algorithmName(const char* name, QWidget* parent) {
  auto* l = new QLabel(QString("Алгоритм: <b>%1</b>").arg(name), parent);
  return l;
}

QString wordName(const TestDescription& t, int index) {
  if (index < 0 || index >= t.dataWordCount || index >= kMaxDataWords) return {};
  return qs(t.words[size_t(index)].name);
}

QSpinBox* shownNumber(int value, const QString& name, QWidget* parent) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setRange(1, 65000);
  s->setValue(value);
  s->setEnabled(false);
  return s;
}

// A drop-down list of the word names with one selected, shown but not editable.
QComboBox* wordList(const TestDescription& t, int selected, const QString& name, QWidget* parent) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  for (int w = 0; w < t.dataWordCount && w < kMaxDataWords; ++w) c->addItem(wordName(t, w));
  c->setCurrentIndex(selected);
  c->setEnabled(false);
  return c;
}

}  // namespace

AlgorithmSettingsDialog::AlgorithmSettingsDialog(const TestDescription& test, bool compressedRamTest,
                                                 Operator& op, QWidget* parent)
    : QDialog(parent), logic_(test, compressedRamTest), op_(op) {
  setObjectName("FAlg");
  setWindowTitle("Алгоритм тестирования");
  pages_ = new QStackedWidget(this);
  pages_->setObjectName("PageControl1");
  pages_->addWidget(standardPage());
  pages_->addWidget(cyclicPage(test));
  pages_->addWidget(romPage(test));
  pages_->addWidget(memoryPage(test, false));
  pages_->addWidget(memoryPage(test, true));
  // With no block selected the dialog has nothing to show but OK and Cancel.
  const auto page = logic_.page();
  pages_->setCurrentIndex(page ? int(*page) : 0);
  pages_->setVisible(page.has_value());

  auto* buttons = okCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  showFields();
}

QWidget* AlgorithmSettingsDialog::standardPage() {
  auto* page = new QWidget(this);
  page->setObjectName("tsStandart");
  auto* text = new QLabel(
      "     Стандартный алгоритм тестирования \nпредназаначен для небольших тестов; \nвсе изменения в тест "
      "вносятся \nпользователем.",
      page);
  text->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(algorithmName("Стандартный", page));
  layout->addWidget(text);
  layout->addStretch();
  return page;
}

QWidget* AlgorithmSettingsDialog::cyclicPage(const TestDescription& test) {
  const CyclicParams& p = test.algorithms.cyclic;
  auto* page = new QWidget(this);
  page->setObjectName("tsChicl");
  auto* form = new QFormLayout(page);
  form->addRow(algorithmName("Циклический", page));
  form->addRow("Всего циклов:", shownNumber(p.repeatCount, "CSCount1", page));
  form->addRow(new QLabel("Циклические данные:Такты", page));
  form->addRow("Начальный Такт", shownNumber(p.repeatFirst, "CSStart1", page));
  form->addRow("Конечный Такт", shownNumber(p.repeatLast, "CSFin1", page));
  return page;
}

QWidget* AlgorithmSettingsDialog::addressRow(AddressField f, const char* name, const char* buttons) {
  auto* row = new QWidget(this);
  auto* edit = new QLineEdit(row);
  edit->setObjectName(name);
  fields_[size_t(f)] = edit;
  auto* steps = new QVBoxLayout;
  steps->setSpacing(0);
  for (int i = 0; i < 2; ++i) {
    const int delta = i == 0 ? 1 : -1;
    auto* b = new QToolButton(row);
    b->setObjectName(QString(buttons) + (i == 0 ? "Up" : "Down"));
    b->setArrowType(i == 0 ? Qt::UpArrow : Qt::DownArrow);
    b->setFixedSize(18, 11);
    steps->addWidget(b);
    steps_[size_t(f)][size_t(i)] = b;
    connect(b, &QToolButton::clicked, this, [this, f, delta] {
      logic_.stepAddress(f, delta, op_);
      showFields();
    });
  }
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(edit);
  layout->addLayout(steps);
  connect(edit, &QLineEdit::textEdited, this, [this, f](const QString& text) { edited(f, text); });
  return row;
}

QWidget* AlgorithmSettingsDialog::romPage(const TestDescription& test) {
  const RomParams& p = test.algorithms.rom;
  auto* page = new QWidget(this);
  page->setObjectName("tsPzu");
  auto* form = new QFormLayout(page);
  form->addRow(algorithmName("ПЗУ", page));
  form->addRow("Начальный такт:", new QLabel("1", page));
  form->addRow("Слово Адреса", new QLabel(wordName(test, p.addressWord), page));
  form->addRow("Такт Адреса:", new QLabel(QString::number(p.addressCycle), page));
  form->addRow("Тактов Адреса", new QLabel(QString::number(p.addressCycles), page));
  form->addRow("Слово Данных", new QLabel(wordName(test, p.dataWord), page));
  form->addRow("Такт Данных:", new QLabel(QString::number(p.dataCycle), page));
  form->addRow("Начальный Адрес", addressRow(AddressField::RomStart, "StartAdr2", "BStart2"));
  form->addRow("Конечный Адрес", addressRow(AddressField::RomFinal, "FinAdr2", "BFin2"));
  auto* fileRow = new QWidget(page);
  dataFile_ = new QLineEdit(fileRow);
  dataFile_->setObjectName("FileD2");
  auto* browse = new QPushButton("...", fileRow);
  browse->setObjectName("FileD2button");
  browse->setFixedWidth(28);
  auto* fileLayout = new QHBoxLayout(fileRow);
  fileLayout->setContentsMargins(0, 0, 0, 0);
  fileLayout->addWidget(dataFile_);
  fileLayout->addWidget(browse);
  form->addRow("Файл Данных", fileRow);
  connect(dataFile_, &QLineEdit::textEdited, this,
          [this](const QString& text) { logic_.editDataFileName(us(text)); });
  connect(browse, &QPushButton::clicked, this, [this] {
    logic_.chooseDataFile(op_);
    showFields();
  });
  return page;
}

QWidget* AlgorithmSettingsDialog::memoryPage(const TestDescription& test, bool march) {
  const MemoryTestParams& p = march ? static_cast<const MemoryTestParams&>(test.algorithms.march)
                                    : static_cast<const MemoryTestParams&>(test.algorithms.ram);
  auto* page = new QWidget(this);
  page->setObjectName(march ? "tsMarch" : "tsOzu");
  auto* form = new QFormLayout(page);
  form->addRow(algorithmName(march ? algorithms::kMarchName.data() : "ОЗУ", page));
  if (march) {
    form->addRow("Начальный Адрес", addressRow(AddressField::MarchStart, "StartAdr4", "BStart4"));
    form->addRow("Конечный Адрес", addressRow(AddressField::MarchFinal, "FinAdr4", "BFin4"));
    for (auto f : {AddressField::MarchStart, AddressField::MarchFinal})
      fields_[size_t(f)]->setToolTip(qs(algorithms::kMarchAddressHint));
    auto* background = new QComboBox(page);
    background->setObjectName("Background4");
    for (auto name : algorithms::kBackgroundNames) background->addItem(qs(name));
    background->setCurrentIndex(int(logic_.background()));
    background->setToolTip(qs(algorithms::kBackgroundHint));
    form->addRow(qs(algorithms::kBackgroundCaption), background);
    connect(background, &QComboBox::activated, this,
            [this](int i) { logic_.setBackground(MarchBackground(i)); });
  } else {
    compressed_ = new QCheckBox("Сжатый тест ОЗУ.", page);
    compressed_->setObjectName("CB_OZU");
    compressed_->setChecked(logic_.compressed());
    form->addRow(compressed_);
    form->addRow("Начальный Адрес", addressRow(AddressField::RamStart, "StartAdr3", "BStart3"));
    form->addRow("Конечный Адрес", addressRow(AddressField::RamFinal, "FinAdr3", "BFin3"));
    connect(compressed_, &QCheckBox::clicked, this, [this](bool on) {
      logic_.setCompressed(on);
      showFields();
    });
  }
  auto* modes = new QTabWidget(page);
  modes->setObjectName(march ? "PC4" : "PC3");
  const char* suffix = march ? "4" : "3";
  auto mode = [&](bool write) {
    auto* tab = new QWidget(modes);
    auto* f = new QFormLayout(tab);
    const QString s = QString(suffix) + (write ? "_W" : "_R");
    f->addRow("Начальный Такт", shownNumber(write ? p.writeStartCycle : p.readStartCycle, "Start" + s, tab));
    f->addRow("Слово Адреса",
              wordList(test, write ? p.writeAddressWord : p.readAddressWord, "WAdress" + s, tab));
    f->addRow("Такт Адреса", shownNumber(write ? p.writeAddressCycle : p.readAddressCycle, "TaktA" + s, tab));
    f->addRow("Тактов Адреса",
              shownNumber(write ? p.writeAddressCycles : p.readAddressCycles, "TaktovA" + s, tab));
    f->addRow("Слово Данных", wordList(test, write ? p.writeDataWord : p.readDataWord, "WData" + s, tab));
    f->addRow("Такт Данных", shownNumber(write ? p.writeDataCycle : p.readDataCycle, "TaktD" + s, tab));
    modes->addTab(tab, write ? "Режим Записи" : "Режим Чтения");
  };
  mode(true);
  mode(false);
  form->addRow(modes);
  return page;
}

QToolButton* AlgorithmSettingsDialog::stepButton(AddressField f, int delta) const {
  return steps_[size_t(f)][delta > 0 ? 0 : 1];
}

void AlgorithmSettingsDialog::edited(AddressField f, const QString& text) {
  logic_.editAddress(f, us(text));
  showFields();
}

void AlgorithmSettingsDialog::showFields() {
  for (size_t i = 0; i < algorithms::kAddressFields; ++i) {
    QLineEdit* e = fields_[i];
    const QString text = qs(logic_.address(AddressField(i)));
    if (e && e->text() != text) {
      // The caret stays where the user typed, less what was removed before it.
      const int caret = std::min<int>(e->cursorPosition(), int(text.size()));
      e->setText(text);
      e->setCursorPosition(caret);
    }
  }
  if (dataFile_ && dataFile_->text() != qs(logic_.dataFileName()))
    dataFile_->setText(qs(logic_.dataFileName()));
  const QString hint = qs(logic_.ramAddressHint());
  for (auto f : {AddressField::RamStart, AddressField::RamFinal})
    if (fields_[size_t(f)]) fields_[size_t(f)]->setToolTip(hint);
  if (compressed_) compressed_->setChecked(logic_.compressed());
}

}  // namespace qel::gui
