#pragma once
// The free comment kept beside a test file, in cp1251 text, shown by "Описание Теста".

#include <optional>
#include <string>

namespace qel::app {

// The test's path with its last three characters replaced by "txt" when its file name has a
// "." followed by at least three characters, else with "txt" appended.
std::string commentFilePath(const std::string& testPath);

// The comment, or nullopt when there is no readable comment file.
std::optional<std::string> readComment(const std::string& testPath);

// Replaces the comment file with text, unless text is empty (an empty comment never overwrites
// one that exists). Empty on success, else why it failed.
std::string saveComment(const std::string& testPath, const std::string& text);

}  // namespace qel::app
