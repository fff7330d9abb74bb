#pragma once
// Paints the waveform area of the timing diagram: cursor bar, grid, waveforms, header. It reads
// only the cells in view, so its cost does not depend on the length of the test.

#include <QColor>
#include <mutex>

#include "model/contact_record.h"
#include "model/test_description.h"
#include "views/diagram_view.h"

class QPainter;

namespace qel::gui {

namespace colours {
inline const QColor background{255, 255, 255};
inline const QColor cursor{255, 128, 128};
inline const QColor buttonFace{240, 240, 240};
inline const QColor infoBackground{255, 255, 225};
inline const QColor error{255, 0, 0};
inline const QColor result{0, 128, 0};
inline const QColor input{0, 0, 128};
inline const QColor output{128, 128, 0};
inline const QColor dontCare{192, 192, 192};
QColor shortGroup(int group);
}  // namespace colours

struct DiagramPaint {
  const TestDescription* test = nullptr;
  const views::DiagramView* view = nullptr;
  // For the short-group boxes and the marks; may be null.
  const ContactRecords* contacts = nullptr;
  int width = 0;
  int height = 0;
  bool analyserView = false;
  bool analyserMode = false;
  // While a run writes the result diagram, paints take this lock.
  std::mutex* dataMutex = nullptr;
  bool busy = false;
};

void paintDiagram(QPainter& painter, const DiagramPaint& paint);

}  // namespace qel::gui
