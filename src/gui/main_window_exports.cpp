// The test and its result for other programs: "Экспорт в VCD...", "Сохранить изображение...", the
// HTML report of a run and the table's rows as CSV.

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

#include "app/save_test.h"
#include "exports/csv_export.h"
#include "exports/html_report.h"
#include "exports/vcd_export.h"
#include "gui/diagram_image.h"
#include "gui/diagram_panel.h"
#include "gui/diagram_widget.h"
#include "gui/gui_operator.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/table_page.h"

namespace qel::gui {

namespace {

exports::ExportHeader exportHeader(const TestDescription& t) {
  return {us(QDateTime::currentDateTimeUtc().toString("yyyy-MM-dd hh:mm:ss 'UTC'")),
          std::string("qeltest ") + QEL_VERSION,
          t.fileName,
          {}};
}

}  // namespace

QString MainWindow::exportFile(const QString& filter, const QString& suffix) {
  QString path = chooseExportFile
                     ? chooseExportFile(filter)
                     : QFileDialog::getSaveFileName(this, QString(), qs(settings_.dirTests), filter);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += "." + suffix;
  return path;
}

void MainWindow::reportExportFailure(const QString& path, const std::string& error) {
  if (!error.empty()) op_.message("Не удалось сохранить файл " + us(path) + ": " + error + ".", Icon::Error);
}

void MainWindow::exportVcd() {
  if (!bench_.testReady() || bench_.busy()) return;
  const QString path = exportFile("VCD (*.vcd)", "vcd");
  if (path.isEmpty()) return;
  std::lock_guard lock(bench_.dataMutex);
  reportExportFailure(path, exports::saveVcd(bench_.test, exportHeader(bench_.test), us(path)));
}

void MainWindow::exportTableCsv() {
  if (!bench_.testReady() || bench_.busy()) return;
  const QString path = exportFile("CSV (*.csv)", "csv");
  if (path.isEmpty()) return;
  std::lock_guard lock(bench_.dataMutex);
  reportExportFailure(path, fileio::saveFileStreamed(us(path), [&](const fileio::ChunkWriter& write) {
                        return exports::writeTableCsv(bench_.test, write);
                      }));
}

void MainWindow::saveDiagramPicture() {
  if (!bench_.testReady() || bench_.busy() || bench_.test.cycleCount < 1) return;
  // The cycles in view, or others the user types.
  const int first = view_.firstCycle + 1;
  const int shown = std::max(1, views::visibleCycleColumns(view_, diagram_->diagram()->width()));
  const QString preset = QString("%1:%2").arg(first).arg(std::min(bench_.test.cycleCount, first + shown - 1));
  bool ok = true;
  const QString range = chooseCycleRange
                            ? chooseCycleRange(preset)
                            : QInputDialog::getText(this, "Сохранить изображение",
                                                    "Такты (от:до):", QLineEdit::Normal, preset, &ok);
  if (!ok || range.isEmpty()) return;
  const QStringList parts = range.split(':');
  const int from = parts.value(0).trimmed().toInt(), to = parts.value(1).trimmed().toInt();
  if (parts.size() != 2 || from < 1 || to < from) {
    op_.message("Неверный диапазон тактов: " + us(range), Icon::Warning);
    return;
  }
  const QString path = exportFile("PNG (*.png)", "png");
  if (path.isEmpty()) return;
  reportExportFailure(path, saveImage(diagramImage(diagram_->diagram()->source(), from, to), us(path)));
}

void MainWindow::saveRunReport() {
  // A report is of a run: a freshly loaded test has nothing measured.
  if (!app::canSaveResult(bench_)) return;
  const QString path = exportFile("HTML (*.html)", "html");
  if (path.isEmpty()) return;
  exports::RunFacts facts;
  facts.header = exportHeader(bench_.test);
  facts.tester =
      qEnvironmentVariable("QEL_TESTER").isEmpty() ? "USB" : us(qEnvironmentVariable("QEL_TESTER"));
  facts.outcome = "—";
  facts.thresholds = settings_.levels;
  std::lock_guard lock(bench_.dataMutex);
  facts.errorCount = bench_.errors.errorCount;
  facts.mismatchCount = bench_.errors.mismatchCount;
  facts.errorCycles = bench_.errors.errorCycles;
  facts.contacts = &bench_.contacts;
  DiagramPaint paint = diagram_->diagram()->source();
  paint.dataMutex = nullptr;  // held here already
  // Each excerpt as the diagram draws it, the picture inside the file.
  const exports::DiagramPicture picture = [&](int from, int to) {
    return "<img alt=\"\" src=\"data:image/png;base64," +
           pngBytes(diagramImage(paint, from, to)).toBase64().toStdString() + "\">";
  };
  reportExportFailure(path, fileio::saveFileStreamed(us(path), [&](const fileio::ChunkWriter& write) {
                        return exports::writeHtmlReport(bench_.test, facts, picture, write);
                      }));
}

}  // namespace qel::gui
