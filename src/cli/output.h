#pragma once
// Where qel's output goes: "-" for standard output wherever a file is written, the JSON reports
// with the tool's and the schema's versions, colour only for a terminal that wants it, UTF-8 on
// the Windows console.

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace qel::cli {

inline constexpr int kReportSchemaVersion = 1;

const char* toolVersion();

// Once per process, before anything is printed.
void setUpConsole();
// The command line as UTF-8, as every text inside is: on Windows argv comes in the ANSI code
// page, which cannot hold a Cyrillic chip name or file name, so the wide command line is read.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// True when colour may be written to standard output: a terminal, and NO_COLOR not set.
bool colourWanted();

// The outputs a command writes, any of which may be "-". When one is, the command's words for
// people go to standard error from here on, so the data on standard output stays clean. An error
// text when more than one claims standard output.
std::optional<std::string> routeStandardOutput(std::initializer_list<const std::string*> outputs);

// Writes the bytes to the file (replacing it whole) or, for "-", to standard output. An empty
// string on success, else what went wrong.
std::string writeOutput(const std::string& path, const std::string& bytes);

// The same for output written chunk by chunk (fileio::saveFileStreamed); produce returns an empty
// string or why it stopped.
std::string writeOutputStreamed(
    const std::string& path,
    const std::function<std::string(const std::function<bool(std::string_view)>&)>& produce);

// "qel 0.1.0", and the time now in UTC, for the header of an export.
std::string toolName();
std::string utcNow();

// The report with the tool, its version and the schema version in front.
nlohmann::ordered_json stampedReport(const nlohmann::ordered_json& report);

// Writes the stamped report; false (with a message on standard error) when it cannot be written.
bool writeReport(const std::string& path, const nlohmann::ordered_json& report);

}  // namespace qel::cli
