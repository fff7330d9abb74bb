#pragma once
// Builds test files line by line for the reader's tests.

#include <string>
#include <vector>

namespace qel::testing {

struct FileBuilder {
  std::string package = "DIP8";
  std::vector<std::string> types = {"I", "I", "O", "GND", "I", "I", "O", "VCC"};
  std::vector<std::string> head = {"Число Тестов=1", "Тест1==Проба\""};
  std::vector<std::string> words = {"Слов Данных=0"};
  int cycles = 4;
  std::vector<std::pair<std::string, std::string>> signals = {
      {"i1=A", "_-_-"}, {"i2=B", "__--"}, {"o3=Y", "--_-"}};
  std::vector<std::string> tail = {"Конец Файла", "Дополнительные парметры:( uhul, gen)", "26409", "2"};

  std::vector<std::string> lines() const {
    std::vector<std::string> out{"Тип корпуса=" + package};
    for (size_t i = 0; i < types.size(); ++i) out.push_back(std::to_string(i + 1) + "=" + types[i]);
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), words.begin(), words.end());
    out.push_back("Число Тактов=" + std::to_string(cycles));
    out.push_back("Число сигналов управления=" + std::to_string(signals.size()));
    for (const auto& [key, symbols] : signals) {
      out.push_back(key);
      out.push_back(symbols);
    }
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
  }
};

}  // namespace qel::testing
