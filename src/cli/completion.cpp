#include "cli/completion.h"

#include <CLI/CLI.hpp>

namespace qel::cli {

namespace {

// The choices of an option that checks membership: its validator describes them as "{a,b,c}".
std::string choicesOf(const CLI::Option* option) {
  std::string words;
  // CLI11 lists validators only through its non-const accessor.
  auto* o = const_cast<CLI::Option*>(option);
  for (int i = 0;; ++i) {
    const CLI::Validator* v = nullptr;
    try {
      v = o->get_validator(i);
    } catch (const CLI::OptionNotFound&) {
      break;
    }
    if (v == nullptr) break;
    const std::string d = v->get_description();
    const auto open = d.find('{'), close = d.rfind('}');
    if (open == std::string::npos || close == std::string::npos || close < open) continue;
    for (char c : d.substr(open + 1, close - open - 1)) words.push_back(c == ',' ? ' ' : c);
  }
  return words;
}

std::string inQuotes(const std::string& words) {
  return "\"" + words + "\"";
}

}  // namespace

std::string bashCompletion(const CLI::App& app) {
  std::string commands, perCommand, valueCases;
  for (const CLI::App* sub : app.get_subcommands({})) {
    commands += sub->get_name() + " ";
    std::string options = "--help ", positional;
    for (const CLI::Option* o : sub->get_options()) {
      if (o->get_positional()) {
        positional = choicesOf(o);
        continue;
      }
      const std::string name = o->get_name(false, false);
      if (name.empty() || name.rfind("--", 0) != 0) continue;
      options += name + " ";
      if (o->get_type_size() != 0) {
        const std::string choices = choicesOf(o);
        valueCases += "    " + sub->get_name() + ":" + name + ") words=" + inQuotes(choices) +
                      (choices.empty() ? "; files=1" : "") + ";;\n";
      }
    }
    perCommand += "    " + sub->get_name() + ") options=" + inQuotes(options) +
                  (positional.empty() ? "; files=1" : "; words=" + inQuotes(positional)) + ";;\n";
  }
  return "# bash completion for qel, made by 'qel --bash-completion'\n"
         "_qel() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  local command='' words='' options='' files=0 w\n"
         "  for w in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
         "    case $w in -*) ;; *) command=$w; break ;; esac\n"
         "  done\n"
         "  if [ -z \"$command\" ]; then\n"
         "    COMPREPLY=($(compgen -W \"" +
         commands +
         "help --help --help-all --version\" -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  case $command:$prev in\n" +
         valueCases +
         "    *) prev='' ;;\n"
         "  esac\n"
         "  if [ -n \"$prev\" ]; then\n"
         "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "    [ \"$files\" = 1 ] && COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  case $command in\n" +
         perCommand +
         "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "  else\n"
         "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "    [ \"$files\" = 1 ] && COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
         "  fi\n"
         "}\n"
         "complete -o filenames -F _qel qel\n";
}

}  // namespace qel::cli
