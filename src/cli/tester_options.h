#pragma once
// The options of every qel command that talks to a tester, and the link built from them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "operator/operator.h"
#include "tester/driver_choice.h"
#include "tester/tester_connection.h"

namespace CLI {
class App;
}

namespace qel::cli {

struct TesterOptions {
  std::string tester;               // --tester d2xx|ftdi|virtual; empty: QEL_TESTER or the default
  std::string chip;                 // --chip PART
  std::string model;                // --model FILE
  std::string board;                // --board FILE
  std::string rom;                  // --rom FILE
  std::vector<std::string> faults;  // --fault SPEC, repeatable

  bool boardGiven() const {
    return !chip.empty() || !model.empty() || !board.empty() || !rom.empty() || !faults.empty();
  }
};

// Declares the tester options on a command. After the parse they are checked together: the board
// options need the virtual tester.
void addTesterOptions(CLI::App& command, TesterOptions& options);

// The tester the options (or QEL_TESTER, or the platform's default) choose; an error text for
// usageError when the choice is unknown.
std::optional<tester::TesterKind> chosenTester(const TesterOptions& options, std::string& error);

using tester::TesterConnection;

// Binds the library of the chosen tester (the virtual tester gets its board through the QEL_*
// variables) and builds the link. On failure the operator has been told why and null returns.
std::unique_ptr<TesterConnection> connectTester(const TesterOptions& options, Operator& op);

}  // namespace qel::cli
