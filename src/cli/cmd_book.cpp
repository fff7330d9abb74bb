// qel book: the chip reference book for the people who keep test libraries: the search the
// program's chip-name box makes, and a check of every path the book names.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/reference_book.h"
#include "app/test_loader.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "cli/console_operator.h"
#include "cli/output.h"
#include "fileio/input_file.h"

namespace qel::cli {

namespace {

struct BookOptions {
  std::string path;
  std::optional<std::string> find;
  bool check = false;
  std::string tests, docs;
};

bool isFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(fileio::toPath(path), ec);
}

int find(const app::ReferenceBook& book, const app::BookFolders& folders, const BookOptions& o) {
  const auto s = book.search(*o.find);
  nlohmann::ordered_json report;
  report["book"] = o.path;
  report["search"] = s.text;
  report["matchingFiles"] = s.matchingFiles;
  report["totalMatches"] = s.totalMatches;
  auto& matches = report["matches"] = nlohmann::ordered_json::array();
  for (const auto& m : s.matches) {
    const auto& n = book.name(m);
    matches.push_back({{"chip", n.chipTitle},
                       {"test", book.entries()[m.entry].testPath},
                       {"documentation", app::replaceDescPrefix(n.docPath, folders)}});
  }
  return writeReport("-", report) ? 0 : 2;
}

int check(const app::ReferenceBook& book, const app::BookFolders& folders, const BookOptions& o,
          const std::vector<ConsoleOperator::Message>& loadMessages) {
  int problems = 0;
  auto problem = [&](const std::string& line) {
    std::printf("%s: %s\n", o.path.c_str(), line.c_str());
    ++problems;
  };
  for (size_t line : book.orphanNameLines())
    problem("line " + std::to_string(line) + ": a chip name before any test file line");
  for (const auto& m : loadMessages)
    if (m.text != app::kNoFileLineYet) problem(m.text);
  size_t names = 0;
  for (size_t i = 0; i < book.entries().size(); ++i) {
    const auto& e = book.entries()[i];
    const std::string where = "file " + std::to_string(i) + " " + e.testPath;
    if (!isFile(e.testPath)) {
      problem(where + ": the test file does not exist");
    } else {
      ConsoleOperator op(nullptr, nullptr);
      engine::Bench bench;
      const auto result = app::loadTest(bench, e.testPath, op);
      if (!result.unreadable.empty()) problem(where + ": " + result.unreadable);
      for (const auto& m : op.messages()) problem(where + ": " + m.text);
      if (result.unreadable.empty() && op.messages().empty() && !result.shown)
        problem(where + ": the test did not load");
    }
    if (e.names.empty()) problem(where + ": no chip names");
    for (const auto& n : e.names) {
      ++names;
      const auto doc = app::replaceDescPrefix(n.docPath, folders);
      if (!doc.empty() && !isFile(doc))
        problem(n.chipTitle + ": the documentation file " + doc + " does not exist");
    }
  }
  std::printf("%zu files, %zu chip names, %d problems\n", book.entries().size(), names, problems);
  return problems == 0 ? 0 : 1;
}

int book(const BookOptions& o) {
  if (o.find.has_value() == o.check) return usageError("give either --find TEXT or --check");
  ConsoleOperator op(nullptr, nullptr);
  const auto folders = app::bookFolders(o.tests, o.docs, o.path);
  app::ReferenceBook book;
  if (!book.loadBook(o.path, folders, op)) {
    std::fprintf(stderr, "qel: %s\n",
                 op.messages().empty() ? "the book cannot be read" : op.messages()[0].text.c_str());
    return 2;
  }
  return o.find ? find(book, folders, o) : check(book, folders, o, op.messages());
}

const bool registered = registerCommand(
    {"book", kFileCommands, "search a chip reference book, or check every path it names",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<BookOptions>();
       command.add_option("BOOK", o->path, "the reference book (.lib, .spr)")->required()->type_name("");
       command
           .add_option("--find", o->find,
                       "the chip-name search as JSON: every name containing TEXT, any case")
           ->type_name("TEXT");
       command.add_flag(
           "--check", o->check,
           "every test file exists and loads without a message, every documentation file exists");
       command
           .add_option("--tests", o->tests, "the folder \"<Tests>:\" stands for (default: the book's folder)")
           ->type_name("DIR");
       command
           .add_option("--docs", o->docs, "the folder \"<Desc>:\" stands for (default: the book's folder)")
           ->type_name("DIR");
       command.footer(
           "--find prints {matchingFiles, matches: [{chip, test, documentation}]}; an empty TEXT lists "
           "every\n"
           "name. --check prints one line per problem and a summary.\n"
           "Exit status: 0 found or no problem, 1 problems, 2 the book cannot be read or usage error.");
       return [o] { return book(*o); };
     }});

}  // namespace

}  // namespace qel::cli
