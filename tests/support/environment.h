#pragma once
// Setting an environment variable for the process, on every platform the tests run on.

#include <cstdlib>
#include <string>

namespace qel::testing {

inline void setEnvironment(const char* name, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

}  // namespace qel::testing
