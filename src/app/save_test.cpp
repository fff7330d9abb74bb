#include "app/save_test.h"

#include <filesystem>

#include "fileio/safe_save.h"
#include "testfile/writer.h"
#include "views/comparison.h"

namespace qel::app {

bool canSaveResult(const engine::Bench& bench) {
  // A run has written the first result byte; a load leaves it not measured.
  return bench.testReady() && !bench.busy() && bench.test.resultCode(1, 1) <= kReadOther4;
}

SaveOutcome saveResultAs(engine::Bench& bench, const std::string& path, Operator& op) {
  if (!canSaveResult(bench)) return SaveOutcome::NotAvailable;
  // A folder or a write-protected file is refused before the user is asked to replace it.
  if (const std::string refusal = fileio::saveRefusal(path); !refusal.empty()) {
    op.message("Не удалось сохранить файл " + path + ": " + refusal + ".", Icon::Error);
    return SaveOutcome::Failed;
  }
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !op.ask("Заменить существующий файл?"))
    return SaveOutcome::Declined;
  bench.test.fileName = path;
  bench.errors.errorCount = 0;
  bench.errors.currentError = 0;
  op.errorCounter("0/0");
  const std::string error = testfile::writeTestFile(bench.test, path, testfile::WriteSource::Result);
  if (!error.empty()) {
    op.message("Не удалось сохранить файл " + path + ". Прежний файл не изменен. (" + error + ")",
               Icon::Error);
    return SaveOutcome::Failed;
  }
  return SaveOutcome::Saved;
}

std::string withTestExtension(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  const auto dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return hasExtension || path.empty() ? path : path + ".qel";
}

}  // namespace qel::app
