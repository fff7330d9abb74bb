#include "virtual/chip_model.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <vector>

#include "fileio/input_file.h"
#include "tester/channel_map.h"
#include "virtual/chip_model_program.h"

namespace qel::virt {

namespace {

constexpr int kFirstNodeSignal = kMaxChipPins + 1;
constexpr const char* kReserved[] = {"chip", "pins", "ground", "supply",  "input", "output", "inout",
                                     "when", "on",   "rising", "falling", "set",   "clear"};

bool reserved(std::string_view word) {
  return std::find(std::begin(kReserved), std::end(kReserved), word) != std::end(kReserved);
}
bool nameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == '.';
}

struct Token {
  enum Kind { Word, Symbol } kind;
  std::string text;
};

// An error of the line being read.
struct Failure {
  std::string reason;
};

std::vector<Token> tokens(std::string_view line) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (nameChar(c)) {
      size_t j = i;
      while (j < line.size() && nameChar(line[j])) ++j;
      out.push_back({Token::Word, std::string(line.substr(i, j - i))});
      i = j;
    } else if (c == '<' && i + 1 < line.size() && line[i + 1] == '=') {
      out.push_back({Token::Symbol, "<="});
      i += 2;
    } else if (std::string_view("=!~&|^()").find(c) != std::string_view::npos) {
      out.push_back({Token::Symbol, std::string(1, c)});
      ++i;
    } else {
      const bool printable = static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
      throw Failure{printable ? "unexpected character '" + std::string(1, c) + "'"
                              : "unexpected byte " + std::to_string(static_cast<unsigned char>(c))};
    }
  }
  return out;
}

bool isNumber(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// An expression in postfix with its names not yet resolved.
struct RawStep {
  Op op;
  std::string name;
};
using RawProgram = std::vector<RawStep>;

// Recursive descent over one line: | below ^ below & below ! and ~.
class ExpressionParser {
 public:
  ExpressionParser(const std::vector<Token>& t, size_t& pos) : t_(t), pos_(pos) {}

  RawProgram parse() {
    RawProgram out;
    binary(out, 0);
    return out;
  }

 private:
  static constexpr const char* kLevels[] = {"|", "^", "&"};
  static constexpr Op kOps[] = {Op::Or, Op::Xor, Op::And};

  bool at(std::string_view symbol) const {
    return pos_ < t_.size() && t_[pos_].kind == Token::Symbol && t_[pos_].text == symbol;
  }
  void binary(RawProgram& out, size_t level) {
    if (level == std::size(kLevels)) return unary(out);
    binary(out, level + 1);
    while (at(kLevels[level])) {
      ++pos_;
      binary(out, level + 1);
      out.push_back({kOps[level], {}});
    }
  }
  void unary(RawProgram& out) {
    if (++depth_ > kMaxExpressionDepth) throw Failure{"expression nested too deeply"};
    if (at("!") || at("~")) {
      ++pos_;
      unary(out);
      out.push_back({Op::Not, {}});
    } else if (at("(")) {
      ++pos_;
      binary(out, 0);
      if (!at(")")) throw Failure{"')' expected" + where()};
      ++pos_;
    } else if (pos_ < t_.size() && t_[pos_].kind == Token::Word && !reserved(t_[pos_].text)) {
      const std::string& w = t_[pos_++].text;
      if (w == "0" || w == "1")
        out.push_back({w == "1" ? Op::One : Op::Zero, {}});
      else if (isNumber(w))
        throw Failure{"'" + w + "' is neither 0, 1 nor a name"};
      else
        out.push_back({Op::Load, w});
    } else {
      throw Failure{"a name, 0, 1, '!' or '(' expected" + where()};
    }
    --depth_;
  }
  std::string where() const {
    return pos_ < t_.size() ? " before '" + t_[pos_].text + "'" : " at the end of the line";
  }

  const std::vector<Token>& t_;
  size_t& pos_;
  int depth_ = 0;
};

// Stack depth a program needs.
size_t depthOf(const RawProgram& p) {
  size_t depth = 0, most = 0;
  for (const RawStep& s : p) {
    if (s.op == Op::Load || s.op == Op::Zero || s.op == Op::One)
      most = std::max(most, ++depth);
    else if (s.op != Op::Not)
      --depth;
  }
  return most;
}

struct PinDeclaration {
  int pin = 0;
  PinRole role = PinRole::Input;
  int line = 0;
};

struct Statement {
  int line = 0;
  std::string name;
  bool flipFlop = false;
  RawProgram value, enable, d, clock, set, clear;
  bool rising = true;
};

class ModelReader {
 public:
  ModelParse read(std::string_view text) {
    int line = 0;
    try {
      size_t start = 0;
      while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        ++line;
        std::string_view l = text.substr(start, end - start);
        if (const size_t hash = l.find('#'); hash != std::string_view::npos) l = l.substr(0, hash);
        statement(tokens(l), line);
        start = end + 1;
      }
      lastLine_ = std::max(line, 1);
      return finish();
    } catch (const Failure& f) {
      return {nullptr, failedLine_ ? failedLine_ : line, f.reason};
    }
  }

 private:
  void statement(const std::vector<Token>& t, int line) {
    if (t.empty()) return;
    const std::string& head = t[0].text;
    auto word = [&](size_t i, const char* what) -> const std::string& {
      if (i >= t.size() || t[i].kind != Token::Word) throw Failure{std::string(what) + " expected"};
      return t[i].text;
    };
    if (t[0].kind == Token::Word &&
        (head == "chip" || head == "pins" || head == "ground" || head == "supply")) {
      if (t.size() != 2) throw Failure{"'" + head + "' takes one value"};
      const std::string& v = word(1, "a value");
      if (head == "chip") {
        if (!model_->part.empty()) throw Failure{"the part is named already"};
        model_->part = v;
      } else if (head == "pins") {
        if (model_->pins != 0) throw Failure{"the pin count is given already"};
        const int n = pinNumberOf(v, kMaxChipPins);
        if (!tester::hasChannelRow(n))
          throw Failure{"a package of " + v +
                        " pins has no channel row on the tester (8, 14, 16, 18, 20, 24, 28, 32)"};
        model_->pins = n;
      } else {
        declarePin(pinOf(v), head == "ground" ? PinRole::Ground : PinRole::Supply, line);
      }
      return;
    }
    if (t[0].kind == Token::Word && (head == "input" || head == "output" || head == "inout")) {
      const PinRole role = head == "input"    ? PinRole::Input
                           : head == "output" ? PinRole::Output
                                              : PinRole::InOut;
      if (t.size() < 2) throw Failure{"'" + head + "' names at least one pin, as NAME=PIN"};
      for (size_t i = 1; i < t.size(); i += 3) {
        const std::string& name = word(i, "a pin name");
        if (i + 2 >= t.size() || t[i + 1].text != "=" || t[i + 2].kind != Token::Word)
          throw Failure{"'" + name + "': NAME=PIN expected"};
        checkName(name);
        const int pin = pinOf(t[i + 2].text);
        declarePin(pin, role, line);
        if (names_.count(name)) throw Failure{"'" + name + "' is named twice"};
        names_[name] = {pin, role, line};
      }
      return;
    }
    if (t.size() >= 2 && t[0].kind == Token::Word && t[1].kind == Token::Symbol &&
        (t[1].text == "=" || t[1].text == "<=")) {
      checkName(head);
      Statement s;
      s.line = line;
      s.name = head;
      s.flipFlop = t[1].text == "<=";
      size_t pos = 2;
      auto expression = [&] {
        RawProgram p = ExpressionParser(t, pos).parse();
        if (depthOf(p) > kMaxExpressionDepth) throw Failure{"expression too large"};
        return p;
      };
      auto keyword = [&](const char* k) {
        if (pos < t.size() && t[pos].kind == Token::Word && t[pos].text == k) return ++pos, true;
        return false;
      };
      s.value = expression();
      if (s.flipFlop) {
        s.d = std::move(s.value);
        s.value.clear();
        if (!keyword("on"))
          throw Failure{"'on rising CLOCK' or 'on falling CLOCK' expected after the data input"};
        if (keyword("falling"))
          s.rising = false;
        else if (!keyword("rising"))
          throw Failure{"'rising' or 'falling' expected after 'on'"};
        s.clock = expression();
        if (keyword("set")) s.set = expression();
        if (keyword("clear")) s.clear = expression();
      } else if (keyword("when")) {
        s.enable = expression();
      }
      if (pos < t.size()) throw Failure{"unexpected '" + t[pos].text + "'"};
      statements_.push_back(std::move(s));
      if (statements_.size() > size_t(kMaxModelSignals - kFirstNodeSignal))
        throw Failure{"too many equations"};
      return;
    }
    throw Failure{"unknown statement '" + head +
                  "' (chip, pins, ground, supply, input, output, inout, NAME = ..., NAME <= ...)"};
  }

  static int pinNumberOf(const std::string& v, int limit) {
    if (!isNumber(v) || v.size() > 3 || std::stoi(v) < 1 || std::stoi(v) > limit)
      throw Failure{"'" + v + "' is not a pin number 1.." + std::to_string(limit)};
    return std::stoi(v);
  }
  int pinOf(const std::string& v) const {
    if (model_->pins == 0) throw Failure{"the pin count ('pins N') must come before the pins"};
    return pinNumberOf(v, model_->pins);
  }
  void declarePin(int pin, PinRole role, int line) {
    if (pinLine_[size_t(pin)] != 0)
      throw Failure{"pin " + std::to_string(pin) + " is declared already (line " +
                    std::to_string(pinLine_[size_t(pin)]) + ")"};
    pinLine_[size_t(pin)] = line;
    model_->roles[size_t(pin)] = role;
  }
  static void checkName(const std::string& name) {
    if (reserved(name)) throw Failure{"'" + name + "' is a word of the format, not a name"};
    if (isNumber(name)) throw Failure{"a name cannot be a number: '" + name + "'"};
  }

  // Everything is read: resolve the names, order the equations, compile.
  ModelParse finish() {
    auto missing = [&](const char* what) -> ModelParse { return {nullptr, lastLine_, what}; };
    if (model_->part.empty()) return missing("the model names no part ('chip NAME')");
    if (model_->pins == 0) return missing("the model gives no pin count ('pins N')");
    bool ground = false, supply = false;
    for (int p = 1; p <= model_->pins; ++p) {
      ground |= model_->roles[size_t(p)] == PinRole::Ground;
      supply |= model_->roles[size_t(p)] == PinRole::Supply;
      if (pinLine_[size_t(p)] == 0) model_->roles[size_t(p)] = PinRole::NotConnected;
    }
    if (!ground) return missing("the model names no ground pin ('ground PIN')");
    if (!supply) return missing("the model names no supply pin ('supply PIN')");

    // Signals of the names: an input or I/O pin is its level, anything with an equation its value.
    std::map<std::string, size_t> statementOf;
    for (size_t i = 0; i < statements_.size(); ++i) {
      const Statement& s = statements_[i];
      failedLine_ = s.line;
      if (const auto it = statementOf.find(s.name); it != statementOf.end())
        throw Failure{"'" + s.name + "' has an equation already (line " +
                      std::to_string(statements_[it->second].line) + ")"};
      if (const auto d = names_.find(s.name); d != names_.end() && d->second.role == PinRole::Input)
        throw Failure{"'" + s.name +
                      "' is an input; only outputs, I/O pins and internal names take an equation"};
      statementOf[s.name] = i;
    }
    for (const auto& [name, d] : names_)
      if (d.role == PinRole::Output && !statementOf.count(name)) {
        failedLine_ = d.line;
        throw Failure{"output '" + name + "' (pin " + std::to_string(d.pin) + ") has no equation"};
      }
    order(statementOf);

    for (size_t i : order_) {
      const Statement& s = statements_[i];
      failedLine_ = s.line;
      ModelNode n;
      n.flipFlop = s.flipFlop;
      n.signal = uint16_t(kFirstNodeSignal + int(i));
      if (const auto d = names_.find(s.name); d != names_.end()) n.pin = d->second.pin;
      n.value = compile(s.value, statementOf);
      n.enable = compile(s.enable, statementOf);
      n.d = compile(s.d, statementOf);
      n.clock = compile(s.clock, statementOf);
      n.set = compile(s.set, statementOf);
      n.clear = compile(s.clear, statementOf);
      n.rising = s.rising;
      if (s.flipFlop) n.state = model_->flipFlops++;
      model_->nodes.push_back(std::move(n));
    }
    return {model_, 0, {}};
  }

  // The signal a name stands for in an expression.
  std::optional<uint16_t> signalOf(const std::string& name,
                                   const std::map<std::string, size_t>& statementOf) const {
    if (const auto d = names_.find(name); d != names_.end() && d->second.role != PinRole::Output)
      return uint16_t(d->second.pin);
    if (const auto s = statementOf.find(name); s != statementOf.end())
      return uint16_t(kFirstNodeSignal + int(s->second));
    return std::nullopt;
  }

  Program compile(const RawProgram& raw, const std::map<std::string, size_t>& statementOf) const {
    Program p;
    p.reserve(raw.size());
    for (const RawStep& r : raw) {
      uint16_t signal = 0;
      if (r.op == Op::Load) {
        const auto s = signalOf(r.name, statementOf);
        if (!s) throw Failure{"unknown name '" + r.name + "'"};
        signal = *s;
      }
      p.push_back({r.op, signal});
    }
    return p;
  }

  // Equations in an order where each comes after what it reads; a flip-flop's value reads only
  // its set and clear, its data and clock are taken at the clock edge.
  void order(const std::map<std::string, size_t>& statementOf) {
    enum Mark : uint8_t { None, Open, Done };
    std::vector<Mark> mark(statements_.size(), None);
    auto dependencies = [&](size_t i) {
      std::vector<size_t> out;
      const Statement& s = statements_[i];
      for (const RawProgram* p : {&s.value, &s.enable, &s.set, &s.clear})
        for (const RawStep& r : *p) {
          if (r.op != Op::Load) continue;
          const auto d = names_.find(r.name);
          if (d != names_.end() && d->second.role != PinRole::Output) continue;  // a pin's level
          if (const auto it = statementOf.find(r.name); it != statementOf.end()) out.push_back(it->second);
        }
      return out;
    };
    // Depth first without recursion, so a long chain of equations cannot exhaust the stack.
    for (size_t root = 0; root < statements_.size(); ++root) {
      if (mark[root] != None) continue;
      std::vector<std::pair<size_t, std::vector<size_t>>> stack;
      stack.emplace_back(root, dependencies(root));
      mark[root] = Open;
      while (!stack.empty()) {
        auto& [i, deps] = stack.back();
        if (deps.empty()) {
          mark[i] = Done;
          order_.push_back(i);
          stack.pop_back();
          continue;
        }
        const size_t next = deps.back();
        deps.pop_back();
        if (mark[next] == Open) {
          failedLine_ = statements_[next].line;
          throw Failure{"'" + statements_[next].name + "' depends on itself through its equations"};
        }
        if (mark[next] == None) {
          mark[next] = Open;
          stack.emplace_back(next, dependencies(next));
        }
      }
    }
  }

  std::shared_ptr<ChipModel> model_ = std::make_shared<ChipModel>();
  std::map<std::string, PinDeclaration> names_;
  std::array<int, kMaxChipPins + 1> pinLine_{};
  std::vector<Statement> statements_;
  std::vector<size_t> order_;
  int lastLine_ = 1;
  int failedLine_ = 0;  // set while resolving, when the failure belongs to another line
};

}  // namespace

ModelParse parseChipModel(std::string_view text) {
  return ModelReader().read(text);
}

std::shared_ptr<const ChipModel> loadChipModel(const std::string& path, std::string& error) {
  // A model is a page of text; anything far larger is not one.
  constexpr std::uintmax_t kMaxModelBytes = 1 << 20;
  std::string text, reason;
  if (!fileio::readWholeFile(path, kMaxModelBytes, text, reason)) {
    error = "chip model '" + path + "' cannot be read: " + reason;
    return nullptr;
  }
  ModelParse parse = parseChipModel(text);
  if (!parse.model) error = path + ":" + std::to_string(parse.line) + ": " + parse.reason;
  return parse.model;
}

}  // namespace qel::virt
