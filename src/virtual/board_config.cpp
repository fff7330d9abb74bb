#include "virtual/board_config.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "fileio/input_file.h"

#include "virtual/memory_pins.h"

namespace qel::virt {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// Decimal, or hexadecimal with 0x.
std::optional<int64_t> number(std::string_view s) {
  s = trim(s);
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty() || v < 0) return std::nullopt;
  return v;
}

// Numbers separated by commas; empty when one of them is not a number.
std::vector<int64_t> numbers(std::string_view s) {
  std::vector<int64_t> out;
  while (true) {
    const size_t comma = s.find(',');
    const auto v = number(s.substr(0, comma));
    if (!v) return {};
    out.push_back(*v);
    if (comma == std::string_view::npos) return out;
    s.remove_prefix(comma + 1);
  }
}

std::optional<double> real(std::string_view s) {
  s = trim(s);
  std::string text(s);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  // "inf" and "nan" parse, but no setting means them.
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> pinNumber(std::string_view s) {
  const auto v = number(s);
  if (!v || *v < 1 || *v > kMaxChipPins) return std::nullopt;
  return int(*v);
}

// Board files are a few lines; anything bigger is not one.
constexpr std::uintmax_t kMaxBoardFileBytes = 1 << 20;
// More than any memory model holds; the rest of a bigger file is never looked at.
constexpr size_t kMaxRomBytes = 1 << 16;

}  // namespace

std::optional<std::string> applySpec(BoardConfig& c, std::string_view spec) {
  spec = trim(spec);
  if (spec.empty()) return std::nullopt;
  const size_t colon = spec.find(':');
  const std::string_view kind = spec.substr(0, colon);
  const std::string_view arg = colon == std::string_view::npos ? std::string_view() : spec.substr(colon + 1);
  const std::string bad = "fault '" + std::string(spec) + "' not understood";

  if (colon == std::string_view::npos) {
    if (kind == "nosupply")
      c.noSupply = true;
    else if (kind == "absent")
      c.link.absent = true;
    else if (kind == "ramfault")
      c.ramFault = true;
    else if (kind == "free")
      c.clipFree = true;
    else
      return bad + " (known: " + specHelp() + ")";
    return std::nullopt;
  }
  auto pinSet = [&](std::set<int>& set) -> std::optional<std::string> {
    const auto pin = pinNumber(arg);
    if (!pin) return bad + ": a pin number 1..48 is expected";
    set.insert(*pin);
    return std::nullopt;
  };
  if (kind == "in0") return pinSet(c.inside.in0);
  if (kind == "in1") return pinSet(c.inside.in1);
  if (kind == "out0") return pinSet(c.inside.out0);
  if (kind == "out1") return pinSet(c.inside.out1);
  if (kind == "open") return pinSet(c.open);
  if (kind == "stuck0") return pinSet(c.stuck0);
  if (kind == "stuck1") return pinSet(c.stuck1);
  if (kind == "held0") return pinSet(c.held0);
  if (kind == "held1") return pinSet(c.held1);
  if (kind == "short" || kind == "bridge") {
    const size_t comma = arg.find(',');
    const auto a = pinNumber(arg.substr(0, comma));
    const auto b = comma == std::string_view::npos ? std::nullopt : pinNumber(arg.substr(comma + 1));
    if (!a || !b || *a == *b)
      return bad + ": two different pin numbers are expected, as " + std::string(kind) + ":1,2";
    (kind == "short" ? c.shorts : c.inside.bridges).emplace_back(*a, *b);
    return std::nullopt;
  }
  if (kind == "channel") {
    const auto n = number(arg);
    if (!n || *n > 31) return bad + ": a channel number 0..31 is expected";
    c.stuckChannels.insert(int(*n));
    return std::nullopt;
  }
  if (kind == "cell" || kind == "rombyte") {
    const size_t eq = arg.find('=');
    const auto address = number(arg.substr(0, eq));
    const auto value = eq == std::string_view::npos ? std::optional<int64_t>(kind == "cell" ? 0 : -1)
                                                    : number(arg.substr(eq + 1));
    if (!address || *address >= 2048 || !value || *value < 0 || *value > 255)
      return bad +
             (kind == "cell"
                  ? ": cell:ADDRESS[=VALUE] with an address below 2048 is expected"
                  : ": rombyte:ADDRESS=VALUE with an address below 2048 and a value 0..255 is expected");
    (kind == "cell" ? c.memory.stuckCells : c.memory.romBytes).emplace_back(int(*address), uint8_t(*value));
    return std::nullopt;
  }
  if (kind == "addr0" || kind == "addr1") {
    const auto line = number(arg);
    if (!line || *line >= int64_t(kAddressPins.size()))
      return bad + ": an address line 0.." + std::to_string(kAddressPins.size() - 1) + " is expected";
    c.memory.stuckAddressLines.emplace_back(int(*line), kind == "addr1" ? 1 : 0);
    return std::nullopt;
  }
  if (kind == "addrshort" || kind == "datashort") {
    const bool address = kind == "addrshort";
    const int64_t lines = int64_t(address ? kAddressPins.size() : kDataPins.size());
    const auto list = numbers(arg);
    if (list.size() != 2 || list[0] >= lines || list[1] >= lines || list[0] == list[1])
      return bad + ": two different " + (address ? "address" : "data") + " lines 0.." +
             std::to_string(lines - 1) + " are expected, as " + std::string(kind) + ":2,3";
    (address ? c.memory.addressShorts : c.memory.dataShorts).emplace_back(int(list[0]), int(list[1]));
    return std::nullopt;
  }
  if (kind == "transition") {
    std::string_view rest = arg;
    bool rising = true;
    if (const size_t last = rest.rfind(','); last != std::string_view::npos) {
      const std::string_view direction = trim(rest.substr(last + 1));
      if (direction == "up" || direction == "down") {
        rising = direction == "up";
        rest = rest.substr(0, last);
      }
    }
    const auto list = numbers(rest);
    if (list.size() != 2 || list[0] >= kMemoryWords || list[1] > 7)
      return bad + ": transition:ADDRESS,BIT[,up|down] with an address below 2048 and a bit 0..7 is expected";
    c.memory.transitions.push_back({int(list[0]), int(list[1]), rising});
    return std::nullopt;
  }
  if (kind == "coupling") {
    const auto list = numbers(arg);
    if (list.size() != 3 || list[0] >= kMemoryWords || list[1] >= kMemoryWords || list[0] == list[1] ||
        list[2] > 7)
      return bad +
             ": coupling:AGGRESSOR,VICTIM,BIT with two different addresses below 2048 and a bit 0..7 is "
             "expected";
    c.memory.couplings.push_back({int(list[0]), int(list[1]), int(list[2])});
    return std::nullopt;
  }
  if (kind == "silent" || kind == "break" || kind == "stray") {
    const auto n = number(arg);
    if (!n) return bad + ": a byte count is expected";
    if (kind == "silent")
      c.link.silentAfter = uint64_t(*n);
    else if (kind == "break")
      c.link.breakAfter = uint64_t(*n);
    else
      c.link.strayBytes = int(std::min<int64_t>(*n, 1000));
    return std::nullopt;
  }
  if (kind == "latency") {
    const auto ms = number(arg);
    if (!ms || *ms > 1000) return bad + ": milliseconds 0..1000 are expected";
    c.latencyMs = int(*ms);
    return std::nullopt;
  }
  if (kind == "pace") {
    const auto rate = real(arg);
    // Below one byte a second a single write would be due after the end of time.
    if (!rate || *rate < 0 || (*rate > 0 && *rate < 1))
      return bad + ": bytes per second are expected (0 for no pacing, else at least 1)";
    c.bytesPerSecond = *rate;
    return std::nullopt;
  }
  return bad + " (known: " + specHelp() + ")";
}

std::optional<std::string> applySpecs(BoardConfig& c, std::string_view specs) {
  while (!specs.empty()) {
    const size_t semi = specs.find(';');
    if (auto error = applySpec(c, specs.substr(0, semi))) return error;
    if (semi == std::string_view::npos) break;
    specs.remove_prefix(semi + 1);
  }
  return std::nullopt;
}

std::optional<std::string> loadBoardFile(BoardConfig& c, const std::string& path) {
  std::string text, reason;
  if (!fileio::readWholeFile(path, kMaxBoardFileBytes, text, reason))
    return "board file '" + path + "' cannot be read: " + reason;
  return parseBoardText(c, text, path);
}

std::optional<std::string> parseBoardText(BoardConfig& c, std::string_view text, const std::string& path) {
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t newline = text.find('\n');
    std::string_view l = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    ++lineNumber;
    if (const size_t hash = l.find('#'); hash != std::string_view::npos) l = l.substr(0, hash);
    l = trim(l);
    if (l.empty()) continue;
    const size_t blank = l.find_first_of(" \t");
    const std::string_view key = l.substr(0, blank);
    const std::string_view value =
        blank == std::string_view::npos ? std::string_view() : trim(l.substr(blank));
    const std::string where = path + ":" + std::to_string(lineNumber) + ": ";
    // Relative names are taken from the board file's folder.
    auto beside = [&] {
      std::filesystem::path file = fileio::toPath(std::string(value));
      if (file.is_relative()) file = fileio::toPath(path).parent_path() / file;
      const std::u8string name = file.u8string();
      return std::string(name.begin(), name.end());
    };
    if (key == "chip") {
      c.chip = std::string(value);
      c.modelFile.clear();
    } else if (key == "model") {
      if (value.empty()) return where + "model needs the name of a chip model file";
      c.modelFile = beside();
    } else if (key == "rom") {
      // An empty name would leave the board file's folder as the ROM.
      if (value.empty()) return where + "rom needs the name of a ROM data file";
      c.romFile = beside();
    } else if (key == "u0") {
      const auto v = real(value);
      if (!v || *v <= 0) return where + "u0 needs a positive number of volts";
      c.u0 = *v;
    } else if (key == "pace" || key == "latency" || key == "fault") {
      if (auto error =
              applySpec(c, key == "fault" ? std::string(value) : std::string(key) + ":" + std::string(value)))
        return where + *error;
    } else {
      return where + "unknown setting '" + std::string(key) +
             "' (chip, model, rom, u0, pace, latency, fault)";
    }
  }
  return std::nullopt;
}

std::optional<std::string> configFromEnvironment(BoardConfig& c) {
  auto env = [](const char* name) -> std::optional<std::string> {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == 0) return std::nullopt;
    return std::string(v);
  };
  if (auto board = env("QEL_BOARD"))
    if (auto error = loadBoardFile(c, *board)) return error;
  if (auto chip = env("QEL_CHIP")) {
    c.chip = *chip;
    c.modelFile.clear();
  }
  if (auto model = env("QEL_MODEL")) c.modelFile = *model;
  if (auto rom = env("QEL_ROM")) c.romFile = *rom;
  if (auto u0 = env("QEL_U0")) {
    const auto v = real(*u0);
    if (!v || *v <= 0) return "QEL_U0 needs a positive number of volts";
    c.u0 = *v;
  }
  if (auto pace = env("QEL_PACE"))
    if (auto error = applySpec(c, "pace:" + *pace)) return "QEL_PACE: " + *error;
  if (auto latency = env("QEL_LATENCY"))
    if (auto error = applySpec(c, "latency:" + *latency)) return "QEL_LATENCY: " + *error;
  if (auto faults = env("QEL_FAULTS"))
    if (auto error = applySpecs(c, *faults)) return "QEL_FAULTS: " + *error;
  return std::nullopt;
}

const char* specHelp() {
  return "in0:PIN in1:PIN out0:PIN out1:PIN bridge:PIN,PIN "
         "open:PIN stuck0:PIN stuck1:PIN held0:PIN held1:PIN short:PIN,PIN nosupply free absent silent:N "
         "break:N stray:N ramfault channel:N cell:ADDRESS[=VALUE] rombyte:ADDRESS=VALUE addr0:LINE "
         "addr1:LINE "
         "addrshort:LINE,LINE datashort:LINE,LINE transition:ADDRESS,BIT[,up|down] "
         "coupling:AGGRESSOR,VICTIM,BIT "
         "pace:BYTES_PER_SECOND latency:MS";
}

bool readRomFile(const BoardConfig& c, std::vector<uint8_t>& bytes, std::string& reason) {
  bytes.clear();
  if (c.romFile.empty()) return true;
  std::string data;
  if (!fileio::readFileStart(c.romFile, kMaxRomBytes, data, reason)) return false;
  bytes.assign(data.begin(), data.end());
  return true;
}

}  // namespace qel::virt
