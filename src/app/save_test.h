#pragma once
// "Сохранить как...": the measured result saved as a new plain test.

#include <string>

#include "app/workspace.h"
#include "operator/operator.h"

namespace qel::app {

inline constexpr const char* kSaveFilter = "AllTest|*.qel;*.vtd|QEL|*.qel|VTD|*.vtd";

// A test is shown, no run is going on and a run has produced results.
bool canSaveResult(const Workspace& ws);

enum class SaveOutcome { NotAvailable, Declined, Saved, Failed };

// Everything after the save dialog: the question before replacing a file, the error list reset,
// the atomic write. A write failure is reported as an error message; the old file stays whole.
SaveOutcome saveResultAs(Workspace& ws, const std::string& path, Operator& op);

}  // namespace qel::app
