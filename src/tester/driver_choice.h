#pragma once
// Which tester to talk to: the vendor's driver library, libftdi (the open driver on Linux), or the
// virtual tester's drop-in library. QEL_TESTER or --tester chooses; without a choice the vendor's
// library is taken where it loads, and on Linux libftdi where it does not.

#include <optional>
#include <string>
#include <string_view>

namespace qel::tester {

enum class TesterKind { D2xx, Ftdi, Virtual };

// "d2xx", "ftdi", "virtual".
std::optional<TesterKind> testerKindFromName(std::string_view name);
const char* testerKindName(TesterKind kind);

// What the platform takes when nobody chose.
TesterKind defaultTesterKind();

// QEL_TESTER when it is set, else the default. An unknown name is an error (error says so), not a
// quiet fallback to another tester.
std::optional<TesterKind> chosenTesterKind(std::string& error);

// QEL_TESTER is "virtual".
bool virtualTesterRequested();

// The virtual tester's library: QEL_VIRTUAL_LIBRARY when set, else the file beside the running
// program, else its bare name for the loader (which finds it through the program's run path).
std::string virtualLibraryName();

// The library file a D2XX-style tester binds: the vendor's or the virtual one.
std::string driverLibraryName(bool useVirtual);

}  // namespace qel::tester
