#!/bin/sh
# Makes the Debian package from the build already in ./build (or the build
# folder given; no new build),
# lists it, checks that its desktop entry and AppStream metainfo validate,
# that its dependencies were found from the programs' shared libraries, and
# that the packaged kestrel-cli and its manual page work.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
fail() { echo "package check: $*" >&2; exit 1; }

desktop-file-validate packaging/kestrel.desktop
appstreamcli validate --no-net packaging/*.metainfo.xml

(cd "$build" && cpack -G DEB)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$(ls "$build"/kestrel_"$version"_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

depends=$(dpkg-deb --field "$deb" Depends)
case "$depends" in *libc6*) ;; *) fail "no dependencies found from the shared libraries: '$depends'" ;; esac
case "$depends" in *libzip*) ;; *) fail "libzip is not among the dependencies: '$depends'" ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb --extract "$deb" "$work"
file "$work/usr/bin/kestrel-cli"
"$work/usr/bin/kestrel-cli" --version
man -l -P cat "$work/usr/share/man/man1/kestrel-cli.1.gz" > /dev/null
if [ -f "$work/usr/bin/kestrel" ]; then
  case "$depends" in *libqt6widgets6*) ;; *) fail "Qt 6 is not among the dependencies: '$depends'" ;; esac
  desktop-file-validate "$work/usr/share/applications/kestrel.desktop"
  appstreamcli validate --no-net "$work"/usr/share/metainfo/*.metainfo.xml
  man -l -P cat "$work/usr/share/man/man1/kestrel.1.gz" > /dev/null
fi
echo "package check: $deb is fine"
