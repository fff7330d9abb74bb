// qel import: another tester's library of logic-chip vectors as test files and a reference book.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/reference_book.h"
#include "cli/cli_util.h"
#include "cli/command.h"
#include "exports/library_import.h"
#include "fileio/input_file.h"

namespace qel::cli {

namespace {

// Far beyond the largest library known (261 chips, some hundred kilobytes).
constexpr std::uintmax_t kMaxLibraryBytes = 256u << 20;

struct ImportOptions {
  std::string xml, folder, book;
};

std::string utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

int importVectors(const ImportOptions& o) {
  if (!exports::vectorLibraryReadable()) {
    std::fprintf(stderr, "qel import: not available in this build (it was built without an XML library)\n");
    return 2;
  }
  std::string bytes, reason;
  if (!fileio::readWholeFile(o.xml, kMaxLibraryBytes, bytes, reason)) {
    std::fprintf(stderr, "qel import: %s: %s\n", o.xml.c_str(), reason.c_str());
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(fileio::toPath(o.folder), ec);
  if (!std::filesystem::is_directory(fileio::toPath(o.folder))) {
    std::fprintf(stderr, "qel import: %s is not a folder that can be made: %s\n", o.folder.c_str(),
                 ec.message().c_str());
    return 2;
  }
  const exports::VectorLibrary library = exports::readVectorLibrary(bytes);
  if (library.chips.empty() && !library.problems.empty()) {
    std::fprintf(stderr, "qel import: %s: %s\n", o.xml.c_str(), library.problems.front().c_str());
    return 2;
  }
  const exports::LibraryImport imported = exports::importLibrary(library, o.folder);

  int status = 0;
  for (const auto& e : imported.writeErrors) {
    std::fprintf(stderr, "qel import: not written: %s\n", e.c_str());
    status = 2;
  }
  if (!imported.tests.empty()) {
    // The book names the tests by "<Tests>:", so it works from wherever the folder is moved.
    app::ReferenceBook book;
    for (const auto& t : imported.tests) {
      book.addEntry(std::string(app::kTestsPrefix) + "/" + t.fileName);
      book.addName(t.chip, "");
    }
    const std::string bookName = o.book.empty() ? utf8(fileio::toPath(o.xml).stem()) + ".lib" : o.book;
    const std::string bookPath = utf8(fileio::toPath(o.folder) / fileio::toPath(bookName));
    if (const std::string error = book.saveBook(bookPath); !error.empty()) {
      std::fprintf(stderr, "qel import: the book was not written: %s\n", error.c_str());
      status = 2;
    } else {
      std::printf("%zu tests written to %s, listed in %s\n", imported.tests.size(), o.folder.c_str(),
                  bookPath.c_str());
    }
  }
  for (const auto& n : imported.notes) std::printf("note: %s\n", n.c_str());
  if (!imported.refused.empty()) {
    std::printf("Not carried over (%zu):\n", imported.refused.size());
    for (const auto& r : imported.refused) std::printf("  %s\n", r.c_str());
    if (status == 0) status = 1;
  }
  if (imported.tests.empty() && status == 0) status = 1;
  return status;
}

const bool registered = registerCommand(
    {"import", kFileCommands, "a library of logic-chip vectors (XML) as test files and a reference book",
     [](CLI::App& command) -> Runner {
       auto o = std::make_shared<ImportOptions>();
       command.add_option("FILE", o->xml, "the vector library: <logicic> with <ic> and <vector> elements")
           ->required()
           ->type_name("");
       command.add_option("-o,--output", o->folder, "the folder for the tests and the book")
           ->required()
           ->type_name("DIR");
       command
           .add_option("--book", o->book, "the book's file name in the folder (the library's name and .lib)")
           ->type_name("NAME");
       command.footer(
           "One test per chip: a DIP package of the chip's pin count, pins typed by how the vectors use\n"
           "them, a clock pulse C as three cycles (low, high, low) with the outputs checked in the last.\n"
           "Exit status: 0 every chip imported, 1 some could not be carried over (listed), 2 the file\n"
           "could not be read or a file could not be written.");
       return [o] { return importVectors(*o); };
     }});

}  // namespace

}  // namespace qel::cli
