#pragma once
// TfmAboutBox, "О программе", with the version and the support links.

#include <QDialog>

namespace qel::gui {

inline constexpr const char* kSupportLink = "https://qel.example/support";
inline constexpr const char* kSupportEmail = "support@qel.example";
inline constexpr const char* kLegalNotice = "© QEL";

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

QString versionText();

}  // namespace qel::gui
