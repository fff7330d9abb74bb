#pragma once
// Writing one string under a key where the desktop program's settings store will read it, for
// tools without the GUI toolkit: the registry of the current user on Windows, elsewhere the INI
// file of that key in the settings folder ($QEL_SETTINGS_DIR, $XDG_CONFIG_HOME or ~/.config).

#include <string>

namespace qel::app {

// The INI file that holds key ("Software\QEL_Main" -> <folder>/QEL_Main.ini); empty on Windows.
std::string sharedKeyFile(const std::string& key);

// Sets the value, keeping every other value of the key; empty on success, else why it failed.
std::string writeSharedString(const std::string& key, const std::string& name, const std::string& value);

// The value as the settings store's INI format writes a string: quoted, with escapes.
std::string iniQuoted(const std::string& value);

}  // namespace qel::app
