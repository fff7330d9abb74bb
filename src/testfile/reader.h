#pragma once
// Turns the lines of a test file into the TestDescription. Lines are taken by position; keys are
// for people. Messages go through the operator; a load reports only its first read error.

#include <string>

#include "model/test_description.h"
#include "operator/operator.h"
#include "testfile/file_lines.h"

namespace qel::testfile {

inline constexpr const char* kCannotOpen = "Невозможно открыть файл";
inline constexpr const char* kBadFormat = "Неверный формат файла";
inline constexpr const char* kDiagramSize = "Error DiagrSize";
// Header of the March C- parameter block (algorithm 4), after the trailing sections.
inline constexpr const char* kMarchHeader = "Параметры алгоритма March C-:";

struct ParseOutcome {
  bool packageOk = false;        // the package token was recognised
  bool formatError = false;      // the file goes beyond the fixed tables; the model was reset
  bool readError = false;        // a numeric field did not parse
  std::string readErrorMessage;  // the first such field's message, for the caller to show
  bool storageError = false;
};

struct ParseLimits {
  int64_t maxCycles = kMaxCycles;  // a file asking for more is refused as beyond the tables
};

// Checks the package token; sets isSoic and pinCount on a match.
bool parsePackage(std::string_view token, TestDescription& test);

// Reads the first line and checks its package token.
bool readPackage(LineStream& in, TestDescription& test);

// Parses the rest of a file into a reset TestDescription whose package is read: pins, test name,
// data words, cycles and signals, algorithm number and parameters, trailing sections, then the
// passive rows, the closing don't-care cycle, the type codes and the reference backup. No
// expansion, no formulas. The first read error is returned, not shown. Reads no further than the
// trailing sections.
ParseOutcome parseBody(LineStream& in, TestDescription& test, Operator& op, const ParseLimits& limits = {});

// Both, over a file in memory, showing the read error (tests, fuzzing).
ParseOutcome parseTest(const FileLines& file, TestDescription& test, Operator& op,
                       const ParseLimits& limits = {});

}  // namespace qel::testfile
