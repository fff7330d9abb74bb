#include "gui/package_widget.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include "gui/diagram_painter.h"

namespace qel::gui {

namespace {
QColor typeColour(const std::string& type) {
  if (type == "I" || type == "GND") return QColor(0, 0, 128);
  if (type == "O" || type == "VCC") return QColor(128, 128, 0);
  if (type == "NC") return QColor(0, 128, 128);
  return Qt::black;
}
}  // namespace

PackageWidget::PackageWidget(const engine::Bench& bench, const LevelThresholds& thresholds, QWidget* parent)
    : QWidget(parent), bench_(bench), test_(bench.test), thresholds_(thresholds) {
  setObjectName("PBCorpus");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, colours::infoBackground);
  setPalette(pal);
  voltage_ = new QAction("Напряжение", this);
  state_ = new QAction("Логическое сосотяние", this);
  type_ = new QAction("Тип ноги", this);
  for (QAction* a : {voltage_, state_, type_}) {
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, &PackageWidget::columnsChanged);
  }
}

void PackageWidget::columnsChanged() {
  geometry_.setColumns({state_->isChecked(), type_->isChecked(), voltage_->isChecked()});
  update();
}

void PackageWidget::contextMenuEvent(QContextMenuEvent* e) {
  QMenu menu(this);
  menu.addAction(voltage_);
  menu.addAction(state_);
  menu.addAction(type_);
  menu.exec(e->globalPos());
}

void PackageWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  picture_.paint(*this, p, bench_.dataMutex, bench_.busy(), [this](QPainter& into) { paintPackage(into); });
}

void PackageWidget::paintPackage(QPainter& p) {
  p.fillRect(rect(), colours::infoBackground);
  const int pins = test_.pinCount;
  geometry_.layout(pins, width(), height() - 10);
  p.translate(0, 10);
  const auto& g = geometry_;
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(colours::buttonFace);
  p.drawRect(g.bodyLeft, 0, g.bodyWidth, g.bodyHeight);
  // The notch, the half of the ellipse inside the outline, and the pin-1 dot.
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRect(g.bodyLeft + g.bodyWidth / 2 - 25, -20, 50, 40), 180 * 16, 180 * 16);
  p.setBrush(Qt::black);
  p.drawEllipse(QRect(g.bodyLeft + 10, 5, 5, 5));
  for (int pin = 1; pin <= pins; ++pin) paintPin(p, pin);
}

void PackageWidget::setPinCoverage(std::vector<int> states) {
  coverage_ = std::move(states);
  update();
}

void PackageWidget::paintPin(QPainter& p, int pin) {
  const auto& g = geometry_;
  const auto place = views::pinPlace(g, test_.pinCount, pin);
  const int y = place.top;
  const int c = (g.pinHeight - g.tipHeight) / 2;
  const bool left = place.side == views::Side::Left;
  const int edge = left ? g.bodyLeft : g.bodyRight();
  const int dir = left ? -1 : 1;
  QPainterPath lead;
  lead.moveTo(edge, y);
  lead.lineTo(edge + dir * g.leadLength, y);
  lead.lineTo(edge + dir * g.leadLength, y + c);
  lead.lineTo(edge + dir * (g.leadLength + g.tipLength), y + c);
  lead.lineTo(edge + dir * (g.leadLength + g.tipLength), y + c + g.tipHeight);
  lead.lineTo(edge + dir * g.leadLength, y + c + g.tipHeight);
  lead.lineTo(edge + dir * g.leadLength, y + g.pinHeight);
  lead.lineTo(edge, y + g.pinHeight);
  p.setPen(QPen(Qt::black, 1));
  const int covered = size_t(pin) < coverage_.size() ? coverage_[size_t(pin)] : 0;
  p.setBrush(covered == 1 ? QColor(Qt::green) : covered == 2 ? QColor(Qt::red) : colours::buttonFace);
  p.drawPath(lead);

  const auto x = views::pinTextX(g, place.side);
  const int ty = y + 2;
  const int th = g.pinHeight - 2;
  QFont base = font();
  base.setPointSize(8);
  base.setBold(false);
  p.setFont(base);
  p.setPen(Qt::black);
  p.drawText(QRect(x.number, ty, 16, th), Qt::AlignLeft | Qt::AlignVCenter, QString::number(pin));

  const ContactRecord* record = contactOfPin(bench_.contacts, pin);
  const ContactRecord f = record ? *record : freshContactRecord(test_, pin);
  const QColor colour = typeColour(f.typeText);
  auto text = [&](int centre, int size, bool bold, const QColor& col, const QString& s) {
    QFont font = base;
    font.setPointSize(size);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(col);
    p.drawText(QRect(centre - 20, ty - 2, 40, th + 4), Qt::AlignCenter, s);
  };
  if (g.stateColumn > 0) {
    const bool fault = views::markIsFault(f, test_.pinTypeCodeOf(pin));
    text(x.state, fault ? 9 : 11, fault, fault ? colours::error : colour, QString::fromStdString(f.mark));
  }
  if (g.typeColumn > 0) {
    const bool fault = views::typeTextIsFault(f.typeText);
    text(x.type, 10, false, fault ? colours::error : QColor(Qt::black), QString::fromStdString(f.typeText));
  }
  if (g.voltageColumn > 0) {
    const char sep = QLocale().decimalPoint().at(0).toLatin1();
    const bool fault = views::voltageIsFault(f, thresholds_);
    text(x.voltage, f.level < views::kUntouchedLevel ? 9 : 8, fault,
         fault ? colours::error : QColor(Qt::black),
         QString::fromStdString(views::voltageText(f.level, thresholds_.u0, sep ? sep : ',')));
  }
  if (f.group > 0) {
    const QRect box(x.groupLeft + 1, y + 1, 18, 15);
    p.setPen(Qt::black);
    p.setBrush(colours::shortGroup(f.group));
    p.drawRect(box);
    QFont font = base;
    font.setBold(true);
    p.setFont(font);
    p.setPen(colours::infoBackground);
    p.drawText(box, Qt::AlignCenter, QString::number(f.group));
  }
}

}  // namespace qel::gui
