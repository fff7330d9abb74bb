#pragma once
// Panel11: up to three data-word panels, each a selector with the word's value in the cursor
// cycle by the reference and by the result.

#include <QWidget>
#include <array>

#include "model/test_description.h"

class QComboBox;
class QLineEdit;
class QToolButton;

namespace qel::gui {

class WordPanelsWidget : public QWidget {
  Q_OBJECT
 public:
  explicit WordPanelsWidget(const TestDescription& test, QWidget* parent = nullptr);

  // The selectors get the test's word names again, the first selected.
  void reloadWords();
  // EWord / OWord of each panel for the cursor cycle.
  void refresh(int cursorCycle);
  void enlarge();
  void shrink();
  QComboBox* selector(int panel) const { return rows_[size_t(panel)].selector; }
  QString referenceText(int panel) const;
  QString resultText(int panel) const;

 Q_SIGNALS:
  // A selector changed: the cursor is set again where the mouse was last pressed.
  void selectionChanged();
  // SpeedButton14, "Найти такт по данным слова".
  void searchRequested();

 private:
  struct Row {
    QWidget* box;
    QComboBox* selector;
    QLineEdit* reference;
    QLineEdit* result;
  };
  void relayout();
  void onSelected(int panel);

  const TestDescription& test_;
  std::array<Row, 3> rows_{};
  int height_ = 30;
  int lastCycle_ = 0;
};

}  // namespace qel::gui
