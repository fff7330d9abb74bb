#include "gui/diagram_painter.h"

#include <QPainter>
#include <memory>
#include <vector>

#include "views/mismatch.h"

namespace qel::gui {

QColor colours::shortGroup(int g) {
  static const QColor palette[] = {{128, 0, 0}, {0, 128, 0},   {128, 128, 0},
                                   {0, 0, 128}, {128, 0, 128}, {0, 128, 128}};
  return g >= 1 && g <= 6 ? palette[g - 1] : QColor(0, 0, 0);
}

namespace {

// Lines collected by pen, drawn in one call each.
class LineBatch {
 public:
  void add(const QColor& colour, int width, int x1, int y1, int x2, int y2) {
    bucket(colour, width).lines.append(QLine(x1, y1, x2, y2));
  }
  void flush(QPainter& p) {
    for (auto& b : buckets_) {
      if (b.lines.isEmpty()) continue;
      QPen pen(b.colour, std::max(1, b.width));
      pen.setCapStyle(Qt::FlatCap);
      p.setPen(pen);
      p.drawLines(b.lines);
      b.lines.clear();
    }
  }

 private:
  struct Bucket {
    QColor colour;
    int width;
    QVector<QLine> lines;
  };
  Bucket& bucket(const QColor& c, int w) {
    for (auto& b : buckets_)
      if (b.width == w && b.colour == c) return b;
    buckets_.push_back({c, w, {}});
    buckets_.back().lines.reserve(4096);
    return buckets_.back();
  }
  std::vector<Bucket> buckets_;
};

struct RowGeometry {
  int high, low, dontCare;
  int yOf(int level) const { return level == 0 ? low : level == 1 ? high : dontCare; }
};

RowGeometry rowGeometry(int y0, int rh) {
  return {y0 + rh / 4 - 1, y0 + rh / 4 + rh / 2 + 2, y0 + rh / 2};
}

void paintWaveforms(QPainter& p, const DiagramPaint& in, const views::VisibleRange& range, bool result) {
  const auto& t = *in.test;
  const auto& v = *in.view;
  const int rh = v.rowHeight, cw = v.cellWidth;
  const int thick = rh / 8 + v.penExtra;
  const int thin = rh / 6 + v.penExtra - 1;
  const bool colourErrors = result ? !in.analyserMode : !(in.analyserView || in.analyserMode);
  const auto rule = result ? views::MismatchRule::DiagramResult : views::MismatchRule::DiagramReference;
  LineBatch batch;

  // Formula pins need the measured levels of every pin per cycle; computed once per cycle.
  std::vector<views::PinLevels> levels;
  auto levelsOf = [&](int c) -> const views::PinLevels& {
    if (levels.empty()) {
      levels.reserve(size_t(range.lastCycle - range.firstCycle + 1));
      for (int cc = range.firstCycle; cc <= range.lastCycle; ++cc)
        levels.push_back(views::resultLevels(t, cc));
    }
    return levels[size_t(c - range.firstCycle)];
  };

  for (int r = range.firstRow; r <= range.lastRow; ++r) {
    const int slot = t.rowSignal(r);
    if (slot < 1 || slot > kMaxSignal) continue;
    const int pin = slot > 50 ? slot - 50 : slot;
    const std::string& type = t.pins[size_t(pin)].typeText;
    const bool formulaPin = type == "F";
    std::unique_ptr<views::CompiledFormula> formula;
    if (formulaPin) formula = std::make_unique<views::CompiledFormula>(t.formula[size_t(pin)]);
    const auto g = rowGeometry(rh * (r - v.firstRow - 1), rh);

    auto rowColour = [&](int c) -> const QColor& {
      if (type == "I") return colours::input;
      if (type == "O" || type == "F") return colours::output;
      if (type == "I/O") return t.isRead(pin, c) ? colours::output : colours::input;
      return colours::output;
    };
    auto levelAt = [&](int c) -> int {
      if (!result) return t.level(slot, c);
      return views::resultLevel(t.resultCode(pin, c));
    };
    auto mismatch = [&](int c) -> bool {
      if (!colourErrors) return false;
      if (formulaPin) return views::formulaMismatch(t, pin, c, *formula, levelsOf(c), rule);
      return views::plainMismatch(t.level(slot, c), t.resultCode(pin, c), rule);
    };

    int level = levelAt(range.firstCycle);
    for (int c = range.firstCycle; c <= range.lastCycle; ++c) {
      const int next = levelAt(c + 1);
      if (!result || level >= 0) {
        const int k = c - range.firstCycle;
        const int x1 = views::kDiagramLeft + k * cw + 2;
        const int x2 = views::kDiagramLeft + (k + 1) * cw + 1;
        const QColor& colour = level == 2    ? colours::dontCare
                               : mismatch(c) ? colours::error
                               : result      ? colours::result
                                             : rowColour(c);
        batch.add(colour, thick, x1, g.yOf(level), x2, g.yOf(level));
        if (next != level && (!result || next >= 0))
          batch.add(result ? colours::result : rowColour(c), thin, x2, g.yOf(level), x2, g.yOf(next));
      }
      level = next;
    }
  }
  batch.flush(p);
}

void paintHeader(QPainter& p, const DiagramPaint& in, const views::VisibleRange& range) {
  const auto& t = *in.test;
  const auto& v = *in.view;
  const int rh = v.rowHeight;
  QFont font = p.font();
  font.setPointSize(8);
  p.setFont(font);
  for (int r = range.firstRow; r <= range.lastRow; ++r) {
    const int slot = t.rowSignal(r);
    const int y0 = rh * (r - v.firstRow - 1);
    p.fillRect(0, y0, views::kDiagramLeft, rh, colours::background);
    if (slot < 1 || slot > kMaxSignal) continue;
    const int pin = slot > 50 ? slot - 50 : slot;
    const auto& record = t.pins[size_t(slot)];
    p.setPen(Qt::black);
    p.drawText(QRect(0, y0, 20, rh), Qt::AlignCenter, QString::number(pin));
    const bool badFormula = record.typeText == "F" && t.formula[size_t(slot)].empty();
    p.setPen(badFormula ? colours::error : QColor(Qt::black));
    p.drawText(QRect(20, y0, 30, rh), Qt::AlignCenter, QString::fromStdString(t.pins[size_t(pin)].typeText));
    p.setPen(Qt::black);
    p.drawText(QRect(54, y0, 86, rh), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(t.pins[size_t(pin)].name).left(8));

    if (const ContactRecord* found = in.contacts ? contactOfPin(*in.contacts, pin) : nullptr) {
      const auto& f = *found;
      QFont small = font;
      small.setPointSize(5);
      if (f.group > 0) {
        const QRect box(108, y0 + rh / 2 - 7, 13, 14);
        p.fillRect(box, colours::shortGroup(f.group));
        p.setFont(small);
        p.setPen(colours::infoBackground);
        p.drawText(box, Qt::AlignCenter, QString::number(f.group));
      }
      const QString mark = f.mark == "!H" || f.mark == "!L" ? QString::fromStdString(f.mark)
                           : f.notConnected                 ? "!N"
                                                            : "";
      if (!mark.isEmpty()) {
        small.setBold(true);
        p.setFont(small);
        const QRect box(124, y0 + 1, 16, rh - 2);
        p.fillRect(box, Qt::white);
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignCenter, mark);
      }
      p.setFont(font);
    }
  }
  // Header grid.
  const int rows = range.lastRow - range.firstRow + 1;
  p.setPen(QPen(Qt::black, 1));
  const int bottom = std::max(0, rows) * rh;
  for (int x : {0, 20, 50, views::kDiagramLeft}) p.drawLine(x, 0, x, bottom);
  for (int i = 0; i <= rows; ++i) p.drawLine(0, i * rh, views::kDiagramLeft, i * rh);
}

}  // namespace

void paintDiagram(QPainter& p, const DiagramPaint& in) {
  const auto& t = *in.test;
  const auto& v = *in.view;
  p.fillRect(0, 0, in.width, in.height, colours::background);
  if (v.cellWidth <= 0 || v.rowHeight <= 0) return;
  const auto range = views::visibleRange(v, t.pinCount, t.cycleCount, in.width, in.height);
  const QColor gridColour = v.grid ? colours::buttonFace : colours::background;

  if (v.paintColumn >= 1) {
    const int x1 = views::kDiagramLeft + (v.paintColumn - 1) * v.cellWidth + v.cellWidth / 2;
    const QRect bar(x1, 0, 5, v.rowHeight * (range.lastRow - range.firstRow + 1));
    p.fillRect(bar, colours::cursor);
    p.setPen(QPen(gridColour, 1));
    p.drawRect(bar);
  }
  if (v.grid) {
    p.setPen(QPen(colours::buttonFace, 1));
    const int rows = range.lastRow - range.firstRow + 1;
    const int bottom = rows * v.rowHeight;
    for (int i = 0; i <= rows; ++i)
      p.drawLine(views::kDiagramLeft + 1, i * v.rowHeight, in.width, i * v.rowHeight);
    for (int x = views::kDiagramLeft + 1; x <= in.width; x += v.cellWidth) p.drawLine(x, 0, x, bottom);
  }
  if (v.showReference) paintWaveforms(p, in, range, false);
  paintHeader(p, in, range);
  if (v.showResult) paintWaveforms(p, in, range, true);
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(views::kDiagramLeft, 0, views::kDiagramLeft, in.height);
}

}  // namespace qel::gui
