#!/usr/bin/env bash
# The batch command built for the browser, run under node on the five example files, writes
# the native build's results files, tables and bootstrap intervals (both tables) and prints
# the same report, byte for byte, but for the date and time lines of the results file.
# Usage: examples_match_native.sh WEB_CLI_JS NATIVE_CLI WORK_FOLDER
set -euo pipefail
web_cli=$1 native_cli=$2 work=$3
examples_dir="$(cd "$(dirname "$0")/../../examples" && pwd)"
rm -rf "$work"
mkdir -p "$work/node" "$work/native"
failures=0

# A results file without its date and time lines (3 and 4); any other file whole.
comparable() {
    case "$1" in
    *_OUT.txt) LC_ALL=C sed -e '3,4d' "$1" ;;
    *) cat "$1" ;;
    esac
}
for example in "alpine Alp R-A1" "central-baltic Cen R-C1" "eastern-continental Eas R-E1" \
    "mediterranean Med R-M1" "northern Nor R-N1"; do
    read -r name gig type <<<"$example"
    for side in node native; do
        cp "$examples_dir/$name.txt" "$work/$side/"
    done
    args=(--gig "$gig" --type "$type" --table --bootstrap 100 --seed 7 --bio 1 "$name.txt")
    (cd "$work/native" && "$native_cli" "${args[@]}" >"$name.stdout" 2>"$name.stderr")
    (cd "$work/node" && node "$web_cli" "${args[@]}" >"$name.stdout" 2>"$name.stderr")
    for file in "${name}_OUT.txt" "${name}_table.tsv" "${name}_ci.tsv" "${name}_ci_regressions.tsv" "$name.stdout" \
        "$name.stderr"; do
        if ! cmp -s <(comparable "$work/native/$file") <(comparable "$work/node/$file"); then
            echo "FAILED: $file differs under node:" >&2
            diff "$work/native/$file" "$work/node/$file" | head -10 >&2
            failures=$((failures + 1))
        fi
    done
done
echo "$failures failed"
[ "$failures" -eq 0 ]
