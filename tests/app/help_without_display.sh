#!/bin/sh
# torrentix --version and --help print and exit 0 with no display and no Qt platform chosen.
# Usage: help_without_display.sh PROGRAM "Torrentix VERSION"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
version=$("$1" --version) || { echo "--version ended with status $?" >&2; exit 1; }
[ "$version" = "$2" ] || { echo "--version printed \"$version\", not \"$2\"" >&2; exit 1; }
help=$("$1" --help) || { echo "--help ended with status $?" >&2; exit 1; }
case "$help" in
*"Usage: "*"[file]"*"--version"*) ;;
*) echo "--help printed: $help" >&2; exit 1 ;;
esac
