#pragma once
// Which driver library to bind: the vendor's, or the virtual tester's drop-in when the user asks
// for it (QEL_TESTER=virtual).

#include <string>

namespace qel::tester {

// QEL_TESTER is "virtual".
bool virtualTesterRequested();

// The library file to bind. For the virtual tester: QEL_VIRTUAL_LIBRARY when set, else
// builtPath when that file exists, else libqel_virtual_d2xx.so beside the running program, else
// the bare name for the platform's loader to find.
std::string driverLibraryName(bool useVirtual, const std::string& builtPath = {});

}  // namespace qel::tester
