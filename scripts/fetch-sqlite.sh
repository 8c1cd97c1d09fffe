#!/usr/bin/env bash
# Puts the SQLite amalgamation (sqlite3.c, sqlite3.h) into the folder given, for builds
# whose target system has no SQLite library of its own (Windows). It comes from a pinned
# release of the npm package better-sqlite3, which ships the amalgamation, and is checked
# against the checksums below before use. A folder that already holds the checked files
# is left as it is.
# Usage: scripts/fetch-sqlite.sh FOLDER
set -euo pipefail

PACKAGE=better-sqlite3@12.11.1
PACKAGE_SHA256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
SQLITE_VERSION=3.53.2
SOURCE_SHA256=60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422
HEADER_SHA256=9e69a1353a4288450b0d5239ede11fc7f1f4c8e5eb07491fc8317eacb5b7de7e

if [ $# -ne 1 ]; then
    echo "Usage: scripts/fetch-sqlite.sh FOLDER" >&2
    exit 2
fi
folder=$1
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)

checked() {
    [ -f "$folder/sqlite3.c" ] && [ -f "$folder/sqlite3.h" ] &&
        echo "$SOURCE_SHA256  $folder/sqlite3.c" | sha256sum --check --status &&
        echo "$HEADER_SHA256  $folder/sqlite3.h" | sha256sum --check --status
}

if checked; then
    exit 0
fi
if ! command -v npm >/dev/null; then
    echo "npm is needed to fetch SQLite $SQLITE_VERSION (Debian package npm)." >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "Fetching SQLite $SQLITE_VERSION from the npm package $PACKAGE" >&2
(cd "$work" && npm pack --silent "$PACKAGE" >/dev/null)
tarball=$(ls "$work"/*.tgz)
if ! echo "$PACKAGE_SHA256  $tarball" | sha256sum --check --status; then
    echo "The package $PACKAGE does not have the expected checksum $PACKAGE_SHA256." >&2
    exit 1
fi
tar -xzf "$tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$folder/"
if ! checked; then
    echo "The SQLite sources in $PACKAGE do not have the expected checksums." >&2
    exit 1
fi
echo "SQLite $SQLITE_VERSION is in $folder" >&2
