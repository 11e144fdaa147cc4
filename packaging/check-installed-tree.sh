#!/bin/sh
# Installs a build into a fresh temporary prefix, as `cmake --install` does
# for users, and runs kestrel-cli from there as a user whose home lies
# elsewhere: exactly the expected files are installed, the demo list loads,
# its data cache lands in the user's data folder, and nothing is written
# into the prefix.
# Usage: [CMAKE=cmake] check-installed-tree.sh BUILD-FOLDER SOURCE-FOLDER VERSION
set -eu
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "installed tree: $*" >&2; exit 1; }

"${CMAKE:-cmake}" --install "$build" --prefix "$work/prefix" >/dev/null

# What is installed: the programs, their manual pages and, with the desktop
# program, its menu entry, metainfo and icons. Nothing else.
expected="bin/kestrel-cli"
[ -f "$build/man/kestrel-cli.1.gz" ] && expected="$expected
share/man/man1/kestrel-cli.1.gz"
if [ -f "$work/prefix/bin/kestrel" ]; then
  expected="$expected
bin/kestrel
share/man/man1/kestrel.1.gz
share/applications/kestrel.desktop
share/metainfo/io.github.kestrel_roms.kestrel.metainfo.xml
share/icons/hicolor/scalable/apps/kestrel.svg"
  for size in 16 24 32 48 64 128 256; do
    expected="$expected
share/icons/hicolor/${size}x${size}/apps/kestrel.png"
  done
fi
(cd "$work/prefix" && find . -type f | sed 's|^\./||' | sort) > "$work/installed"
echo "$expected" | sort > "$work/expected"
diff "$work/expected" "$work/installed" >&2 || fail "the installed files differ from the expected ones"

cli="$work/prefix/bin/kestrel-cli"
[ "$("$cli" --version)" = "kestrel-cli $version" ] || fail "--version prints '$("$cli" --version)'"

# A user's run, from a folder of its own, with no XDG_DATA_HOME set.
mkdir "$work/home" "$work/run"
before=$(cd "$work/prefix" && find . | sort)
(cd "$work/run" && env -u XDG_DATA_HOME HOME="$work/home" "$cli" info --datfile "$source/examples/demo.dat") \
  > "$work/info.txt" || fail "kestrel-cli info failed"
grep -qx "Games: 10" "$work/info.txt" || fail "unexpected counts: $(cat "$work/info.txt")"
[ -f "$work/home/.local/share/kestrel/_datdat" ] || fail "no data cache in ~/.local/share/kestrel/"
after=$(cd "$work/prefix" && find . | sort)
[ "$before" = "$after" ] || fail "kestrel-cli wrote into its install prefix"
[ -z "$(ls -A "$work/run")" ] || fail "kestrel-cli wrote into the current folder"

# The manual page holds a section for every command.
page="$work/prefix/share/man/man1/kestrel-cli.1.gz"
if [ -f "$page" ]; then
  for command in info profile scan fastscan; do
    gzip -dc "$page" | grep -q "^\.SS.*$command" || fail "kestrel-cli(1) lacks the command $command"
  done
fi
echo "installed tree: fine"
