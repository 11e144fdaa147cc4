#!/bin/sh
# Writes the manual page kestrel-cli(1), gzip-compressed as Debian keeps
# manual pages, from the program's own --help and --version: help2man makes
# the page, and every command and sub-command gets a section made from its
# own --help, so the page follows the commands and options as they change.
# Usage: make-cli-man-page.sh HELP2MAN KESTREL-CLI INCLUDE-FILE OUTPUT
# (writes OUTPUT.gz)
set -eu
help2man=$1
program=$2
include=$3
output=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The names listed under "Subcommands:" in a help text on standard input.
list_commands() {
  sed -n '/^[Ss]ubcommands:$/,/^$/p' | awk 'NR > 1 && NF { print $1 }'
}

# One command's --help as a roff subsection: its summary and usage, each
# option as a tagged paragraph, other headings as paragraphs.
describe_command() {
  "$program" "$@" --help | awk -v name="$*" '
    function text(s) { gsub(/\\/, "\\e", s); if (s ~ /^[.'\'']/) s = "\\&" s; return s }
    function bold(s) { s = text(s); gsub(/-/, "\\-", s); return "\\fB" s "\\fR" }
    BEGIN { print ".SS \"" name "\"" }
    NR == 1 && !/^Usage: / { print text($0); next }
    /^Usage: / { sub(/^Usage: [^ ]*/, "kestrel-cli"); print ".PP"; print "Usage: " bold($0); next }
    /^Options:$/ || /^$/ { next }
    /^[^ ].*:$/ { print ".PP"; print text($0); next }
    /^  [^ ]/ {
      line = $0; sub(/^ +/, "", line)
      if (match(line, /  +/)) { names = substr(line, 1, RSTART - 1); help = substr(line, RSTART + RLENGTH) }
      else { names = line; help = "" }
      print ".TP"; print bold(names); if (help != "") print text(help); next
    }
    /^   +[^ ]/ { line = $0; sub(/^ +/, "", line); print text(line); next }
  '
}

# Every command, then the sub-commands of those that have them.
describe_commands() {
  for command in $("$program" --help | list_commands); do
    describe_command "$command"
    for sub in $("$program" "$command" --help | list_commands); do
      describe_command "$command" "$sub"
    done
  done
}

{
  cat "$include"
  echo "[COMMANDS]"
  describe_commands
} > "$work/include.h2m"

"$help2man" --no-info --section 1 --include "$work/include.h2m" \
  --output "$output" "$program"
gzip -9nf "$output"
