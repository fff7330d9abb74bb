#include "gui/word_panels_widget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "views/word_panels.h"

namespace qel::gui {

WordPanelsWidget::WordPanelsWidget(const TestDescription& test, QWidget* parent)
    : QWidget(parent), test_(test) {
  setObjectName("Panel11");
  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(2, 0, 2, 0);
  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  column->setContentsMargins(0, 0, 0, 0);
  static const char* kSelectors[] = {"wName2", "wName3", "wName4"};
  static const char* kReference[] = {"EWord", "EWord2", "EWord3"};
  static const char* kResult[] = {"OWord", "OWord2", "OWord3"};
  for (int i = 0; i < 3; ++i) {
    Row& r = rows_[size_t(i)];
    r.box = new QWidget(this);
    r.box->setFixedHeight(30);
    auto* l = new QHBoxLayout(r.box);
    l->setContentsMargins(0, 3, 0, 3);
    r.selector = new QComboBox(r.box);
    r.selector->setObjectName(kSelectors[i]);
    r.selector->setToolTip("Слова данных теста");
    r.selector->setMinimumWidth(120);
    r.reference = new QLineEdit(r.box);
    r.reference->setObjectName(kReference[i]);
    r.reference->setReadOnly(true);
    r.reference->setToolTip("Данные слова по эталону.");
    r.result = new QLineEdit(r.box);
    r.result->setObjectName(kResult[i]);
    r.result->setReadOnly(true);
    r.result->setToolTip("Данные слова по результату");
    l->addWidget(r.selector);
    l->addWidget(new QLabel("Эталон:", r.box));
    l->addWidget(r.reference, 1);
    l->addWidget(new QLabel("Результат:", r.box));
    l->addWidget(r.result, 1);
    column->addWidget(r.box);
    connect(r.selector, &QComboBox::currentIndexChanged, this, [this, i] { onSelected(i); });
  }
  outer->addLayout(column, 1);
  auto* buttons = new QGridLayout;
  buttons->setSpacing(0);
  auto* more = new QToolButton(this);
  more->setObjectName("SpeedButton12");
  more->setText("+");
  more->setToolTip("Увеличить панель Слов данных");
  auto* less = new QToolButton(this);
  less->setObjectName("SpeedButton13");
  less->setText("−");
  less->setToolTip("Уменьшить панель слов данных");
  auto* find = new QToolButton(this);
  find->setObjectName("SpeedButton14");
  find->setText("?");
  find->setIcon(QIcon::fromTheme("edit-find"));
  find->setToolTip("Найти такт по данным слова");
  buttons->addWidget(find, 0, 0, 2, 1);
  buttons->addWidget(more, 0, 1);
  buttons->addWidget(less, 1, 1);
  buttons->setRowStretch(2, 1);
  connect(find, &QToolButton::clicked, this, &WordPanelsWidget::searchRequested);
  outer->addLayout(buttons);
  connect(more, &QToolButton::clicked, this, &WordPanelsWidget::enlarge);
  connect(less, &QToolButton::clicked, this, &WordPanelsWidget::shrink);
  relayout();
}

void WordPanelsWidget::reloadWords() {
  for (auto& r : rows_) {
    const QSignalBlocker block(r.selector);
    r.selector->clear();
    for (int w = 0; w < test_.dataWordCount && w < kMaxDataWords; ++w)
      r.selector->addItem(QString::fromStdString(test_.words[size_t(w)].name));
    r.selector->setCurrentIndex(test_.dataWordCount > 0 ? 0 : -1);
    r.selector->setToolTip("Слова данных теста");
  }
  refresh(lastCycle_);
}

void WordPanelsWidget::refresh(int cursorCycle) {
  lastCycle_ = cursorCycle;
  for (auto& r : rows_) {
    const auto texts = views::wordPanelTexts(test_, r.selector->currentIndex(), cursorCycle);
    r.reference->setText(QString::fromStdString(texts.reference));
    r.result->setText(QString::fromStdString(texts.result));
  }
}

void WordPanelsWidget::onSelected(int panel) {
  Row& r = rows_[size_t(panel)];
  const int k = r.selector->currentIndex();
  if (k >= 0 && k < test_.dataWordCount)
    r.selector->setToolTip(QString::fromStdString(views::wordSelectorHint(test_.words[size_t(k)])));
  refresh(lastCycle_);
  Q_EMIT selectionChanged();
}

void WordPanelsWidget::enlarge() {
  height_ = views::enlargeWordPanels(height_);
  relayout();
}

void WordPanelsWidget::shrink() {
  height_ = views::shrinkWordPanels(height_);
  relayout();
}

void WordPanelsWidget::relayout() {
  const int shown = views::visibleWordPanels(height_);
  for (int i = 0; i < 3; ++i) rows_[size_t(i)].box->setVisible(i < shown);
  setFixedHeight(height_);
}

QString WordPanelsWidget::referenceText(int panel) const {
  return rows_[size_t(panel)].reference->text();
}
QString WordPanelsWidget::resultText(int panel) const {
  return rows_[size_t(panel)].result->text();
}

}  // namespace qel::gui
