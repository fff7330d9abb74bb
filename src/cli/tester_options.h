#pragma once
// The options of every qel command that talks to a tester, and the link built from them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "operator/operator.h"
#include "tester/tester_connection.h"

namespace qel::cli {

struct TesterOptions {
  bool useVirtual = false;  // --tester virtual (or QEL_TESTER=virtual); the vendor's library otherwise
  std::string chip;         // --chip PART
  std::string board;        // --board FILE
  std::string rom;          // --rom FILE
  std::vector<std::string> faults;  // --fault SPEC, repeatable
};

// Takes the tester options out of args; everything else is returned in `rest` in order.
// An error text (for usageError) when an option is malformed.
std::optional<std::string> parseTesterOptions(Args args, TesterOptions& options,
                                              std::vector<std::string>& rest);

using tester::TesterConnection;

// Binds the library the options choose (the virtual tester gets its board through the QEL_*
// variables) and builds the link. On failure the operator has been told why and null returns.
std::unique_ptr<TesterConnection> connectTester(const TesterOptions& options, Operator& op);

}  // namespace qel::cli
