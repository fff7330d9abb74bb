#include "gui/splash.h"

#include <QLabel>
#include <QPainter>

#include "gui/about_box.h"

namespace qel::gui {

Splash::Splash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("Preview");
  setWindowTitle("Загрузка...");
  setFixedSize(491, 142);
  auto* label = new QLabel("Версия: " + versionText(), this);
  label->setObjectName("lbver");
  label->setStyleSheet("color: white");
  label->move(20, 110);
}

void Splash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(0, 0, 128));
  p.setPen(Qt::white);
  QFont f = font();
  f.setPointSize(20);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRect(20, 15, width() - 40, 50), Qt::AlignLeft | Qt::AlignVCenter, "Тестер QEL");
  f.setPointSize(10);
  f.setBold(false);
  p.setFont(f);
  p.drawText(QRect(20, 65, width() - 40, 30), Qt::AlignLeft | Qt::AlignVCenter,
             "Внутрисхемный тестер цифровых микросхем");
}

}  // namespace qel::gui
