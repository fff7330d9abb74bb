#!/usr/bin/env bash
# Fails when a C++ file of the tree is not in the project's clang-format style; lists the files.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted (clang-format -i FILE):\n' >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "formatting: $(git ls-files '*.cpp' '*.h' | wc -l) files in style"
