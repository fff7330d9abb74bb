#pragma once
// TPreview: the borderless splash window, "Загрузка...", with the version.

#include <QWidget>

namespace qel::gui {

class Splash : public QWidget {
  Q_OBJECT
 public:
  Splash();

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace qel::gui
