#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every command and option that quorvella-cli's help shows is in its manual
# page and is offered by its bash completion. Reads the help, not a list, so
# a new command or option is checked as soon as the program has it.
#   check-cli-docs.sh CLI MANPAGE.1 COMPLETION
set -euo pipefail
cli=$1 page=$2 completion=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

help_of() { LC_ALL=C "$cli" "$@" --help; }
# "--name" of every option line; "-h, --help" gives --help.
options_of() { grep -oE '^  (-h, )?--[a-z0-9-]+' | grep -oE -- '--[a-z0-9-]+' || true; }
# The words after "WORD " in the usage line: the commands below WORD.
commands_below() { head -1 | grep -oE "(^| )$1 [a-z][a-z0-9-]*" | awk '{ print $NF }' || true; }

# The page as plain lines: no font changes, "\-" as "-".
text=$(sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' "$page")
# The lines of one section (.SH NAME) or subsection (.SS name).
section() {
  awk -v head="$1" '$0 == head { inside = 1; next }
    inside && /^\.S[HS] / { exit }
    inside { print }' <<<"$text"
}
# An option is documented where a line of its section begins with it.
documented() { grep -qE -- "^$1( |,|$)" <<<"$2"; }

# What the completion offers for a command line whose last word is being typed.
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$completion"
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _quorvella_cli "${COMP_WORDS[0]}" "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
  printf '%s\n' "${COMPREPLY[@]}"
}

top=$(help_of)
offered=$(complete_line "$cli" -)
for option in $(options_of <<<"$top"); do
  [ "$option" = --help ] && continue
  documented "$option" "$(section '.SH OPTIONS')" || fail "$option is not under OPTIONS in $page"
done
for option in $(options_of <<<"$top") -h; do
  grep -qx -- "$option" <<<"$offered" || fail "the completion does not offer $option"
done

queue=$(awk '/^Commands:/ { inside = 1; next } inside && /^$/ { exit } inside { print $1 }' <<<"$top")
[ -n "$queue" ] || fail "no commands found in quorvella-cli --help"
offered=$(complete_line "$cli" "")
for command in $queue; do
  grep -qx -- "$command" <<<"$offered" || fail "the completion does not offer the command $command"
done

checked=0
while [ -n "$queue" ]; do
  command=$(head -1 <<<"$queue")
  queue=$(tail -n +2 <<<"$queue")
  read -ra words <<<"$command"
  help=$(help_of "${words[@]}") || { fail "quorvella-cli $command --help failed"; continue; }
  checked=$((checked + 1))
  body=$(section ".SS $command")
  [ -n "$body" ] || fail "the command \"$command\" has no section in $page"
  offered=$(complete_line "$cli" "${words[@]}" -)
  for option in $(options_of <<<"$help"); do
    if [ "$option" != --help ]; then
      documented "$option" "$body" || fail "$option of \"$command\" is not in its section of $page"
    fi
    grep -qx -- "$option" <<<"$offered" || fail "the completion does not offer $option after \"$command\""
  done
  below=$(commands_below "${words[-1]}" <<<"$help")
  if [ -n "$below" ]; then
    offered=$(complete_line "$cli" "${words[@]}" "")
    for sub in $below; do
      grep -qx -- "$sub" <<<"$offered" || fail "the completion does not offer \"$command $sub\""
      queue=$(printf '%s\n%s' "$queue" "$command $sub" | sed '/^$/d')
    done
  fi
done

echo "$checked commands checked against $page and $completion"
[ "$failures" -eq 0 ]
