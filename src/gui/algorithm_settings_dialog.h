#pragma once
// TFAlg, "Алгоритм тестирования": the selected algorithm's page, the address ranges, the ROM data
// file and the compressed RAM test; OK after a change expands the test again.

#include <QDialog>
#include <array>

#include "algorithms/algorithm_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;
class QToolButton;

namespace qel::gui {

class AlgorithmSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  AlgorithmSettingsDialog(const TestDescription& test, bool compressedRamTest, Operator& op,
                          QWidget* parent = nullptr);
  algorithms::AlgorithmDialog& logic() { return logic_; }
  QLineEdit* addressField(algorithms::AddressField f) const { return fields_[size_t(f)]; }
  // The up (+1) or down (-1) button of a field.
  QToolButton* stepButton(algorithms::AddressField f, int delta) const;
  QStackedWidget* pages() const { return pages_; }
  QCheckBox* compressedBox() const { return compressed_; }

 private:
  QWidget* standardPage();
  QWidget* cyclicPage(const TestDescription& test);
  QWidget* romPage(const TestDescription& test);
  QWidget* memoryPage(const TestDescription& test, bool march);
  QWidget* addressRow(algorithms::AddressField f, const char* name, const char* buttons);
  void edited(algorithms::AddressField f, const QString& text);
  void showFields();

  algorithms::AlgorithmDialog logic_;
  Operator& op_;
  QStackedWidget* pages_ = nullptr;
  std::array<QLineEdit*, algorithms::kAddressFields> fields_{};
  std::array<std::array<QToolButton*, 2>, algorithms::kAddressFields> steps_{};
  QLineEdit* dataFile_ = nullptr;
  QCheckBox* compressed_ = nullptr;
};

}  // namespace qel::gui
