#pragma once
// "Сохранить как...": the measured result saved as a new plain test.

#include <string>

#include "engine/bench.h"
#include "operator/operator.h"

namespace qel::app {

inline constexpr const char* kSaveFilter = "AllTest|*.qel;*.vtd|QEL|*.qel|VTD|*.vtd";

// A test is shown, no run is going on and a run has produced results.
bool canSaveResult(const engine::Bench& bench);

// A name typed without an extension gets ".qel", as the save dialog's filter promises; a name
// with one (".vtd", anything) keeps it.
std::string withTestExtension(const std::string& path);

enum class SaveOutcome { NotAvailable, Declined, Saved, Failed };

// Everything after the save dialog: the question before replacing a file, the error list reset,
// the atomic write. A write failure is reported as an error message; the old file stays whole.
SaveOutcome saveResultAs(engine::Bench& bench, const std::string& path, Operator& op);

}  // namespace qel::app
