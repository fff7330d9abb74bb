// Any bytes as a test file: the reader, the formula outputs, the writer and the comparison must
// neither crash nor write outside their tables.

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/test_loader.h"
#include "testfile/reader.h"
#include "testfile/writer.h"
#include "views/comparison.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static qel::TestDescription test;  // reused, as the program reuses its one test
  qel::SilentOperator op;
  auto lines = qel::testfile::splitFileLines(std::string(reinterpret_cast<const char*>(data), size));
  if (!lines.ok()) return 0;
  test.reset();
  const auto outcome = qel::testfile::parseTest(lines, test, op, {.maxCycles = 100000});
  if (!outcome.packageOk || outcome.formatError) return 0;
  test.clearResults();
  qel::app::evaluateFormulaOutputs(test);
  qel::views::ErrorList errors;
  qel::views::compareResults(test, errors, op);
  (void)qel::testfile::formatTestFile(test, qel::testfile::WriteSource::Reference);
  return 0;
}
