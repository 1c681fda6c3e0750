#!/usr/bin/env bash
# Installs the build into a new temporary prefix and checks what lands there.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

docs=$prefix/share/doc/tesmora
for file in bin/tesmora bin/tesmora-cli share/doc/tesmora/README.md share/doc/tesmora/LICENSE \
  share/doc/tesmora/making-a-dvd.md share/doc/tesmora/examples/author-dvd.sh \
  share/man/man1/tesmora-cli.1; do
  [[ -s $prefix/$file ]] || fail "$file is not installed"
done
[[ -x $docs/examples/author-dvd.sh ]] || fail "author-dvd.sh is not executable"
cmp -s "$source/README.md" "$docs/README.md" || fail "README.md differs from the source"
grep -q 'GNU GENERAL PUBLIC LICENSE' "$docs/LICENSE" || fail "LICENSE is not the GPL"

# The DVD route is the README's section, whole, and nothing after it.
dvd=$docs/making-a-dvd.md
[[ $(head -n 1 "$dvd") == '# Making a DVD with free tools' ]] || fail "making-a-dvd.md heading"
if grep -q '^## ' "$dvd"; then
  fail "making-a-dvd.md runs into the next section"
fi
section=$(awk '/^## Making a DVD with free tools$/ {on = 1; next} /^## / {on = 0} on' \
  "$source/README.md" | sed '/./,$!d')
[[ $(tail -n +3 "$dvd") == "$section" ]] || fail "making-a-dvd.md is not the README's section"

# --help points to the installed documents.
help=$("$build/cli/tesmora-cli" --help)
grep -q 'share/doc/tesmora' <<<"$help" || fail "--help does not name share/doc/tesmora"

# The man page formats without a warning and holds every option of --help.
man_page=$prefix/share/man/man1/tesmora-cli.1
if [[ -s $man_page ]]; then
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" 2>&1 >/dev/null || true)
  [[ -z $warnings ]] || fail "man reports: $warnings"
  text=$(MANWIDTH=200 man -E UTF-8 -l "$man_page" 2>/dev/null | col -b)
  while read -r option; do
    grep -q -e "$option" <<<"$text" || fail "the man page lacks $option"
  done < <(grep -o -E -- '(^|[ ,])--?[a-z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u)
  grep -q 'TESMORA-CLI' <<<"$text" || fail "the man page has no title"
fi

if ((failures > 0)); then
  exit 1
fi
echo "install in $prefix: everything in place"
