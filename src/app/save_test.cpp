#include "app/save_test.h"

#include <filesystem>

#include "testfile/writer.h"
#include "views/comparison.h"

namespace qel::app {

bool canSaveResult(const Workspace& ws) {
  // A run has written the first result byte; a load leaves it not measured.
  return ws.pagesVisible && !ws.busy && ws.test.resultCode(1, 1) <= 4;
}

SaveOutcome saveResultAs(Workspace& ws, const std::string& path, Operator& op) {
  if (!canSaveResult(ws)) return SaveOutcome::NotAvailable;
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !op.ask("Заменить существующий файл?"))
    return SaveOutcome::Declined;
  ws.test.fileName = path;
  ws.errors.errorCount = 0;
  ws.errors.currentError = 0;
  op.errorCounter("0/0");
  const std::string error = testfile::writeTestFile(ws.test, path, testfile::WriteSource::Result);
  if (!error.empty()) {
    op.message("Не удалось сохранить файл " + path + ". Прежний файл не изменен. (" + error + ")",
               Icon::Error);
    return SaveOutcome::Failed;
  }
  return SaveOutcome::Saved;
}

}  // namespace qel::app
