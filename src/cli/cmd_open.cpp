// qel open: hand a test to the running desktop program, as the test editor does.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/hand_off.h"
#include "app/hand_off_client.h"
#include "app/settings.h"
#include "app/shared_key_file.h"
#include "cli/command.h"
#include "fileio/input_file.h"

namespace qel::cli {

namespace {

int open(const std::string& file) {
  std::error_code ec;
  const auto path = std::filesystem::absolute(fileio::toPath(file), ec);
  if (ec || !std::filesystem::is_regular_file(path, ec)) {
    std::fprintf(stderr, "qel: %s: no such file\n", file.c_str());
    return 2;
  }
  // The receiver may run in another folder: it gets the whole path.
  const auto u8 = path.lexically_normal().u8string();
  const std::string absolute(u8.begin(), u8.end());
  const auto& to = app::kTesterEndpoint;
  if (!app::endpointAnswers(to)) {
    std::fprintf(stderr, "qel: the desktop program is not running (nothing listens at %s)\n",
                 app::endpointAddress(to).c_str());
    return 1;
  }
  if (auto failed = app::writeSharedString(app::kMainKey, app::kHandOffValue, absolute); !failed.empty()) {
    std::fprintf(stderr, "qel: the path cannot be handed over: %s\n", failed.c_str());
    return 2;
  }
  if (auto failed = app::postHandOff(to, app::handOffFor(to)); !failed.empty()) {
    std::fprintf(stderr, "qel: %s\n", failed.c_str());
    return 1;
  }
  std::printf("%s handed to the desktop program\n", absolute.c_str());
  return 0;
}

const bool registered = registerCommand(
    {"open", kFileCommands, "hand a test to the running desktop program, as the test editor does",
     [](CLI::App& command) -> Runner {
       auto file = std::make_shared<std::string>();
       command.add_option("FILE", *file, "the test file")->required()->type_name("");
       command.footer(
           "The path goes into \"FileName\" of the shared settings key Software\\QEL_Main, then message "
           "1101\n"
           "with WParam 777 to the program's endpoint TQEL_Test_MessageForm_NoFileMapping.\n"
           "Exit status: 0 handed over, 1 the program is not running, 2 no such file or usage error.");
       return [file] { return open(*file); };
     }});

}  // namespace

}  // namespace qel::cli
