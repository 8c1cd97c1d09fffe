#!/usr/bin/env bash
# The batch command of the Windows zip, unpacked into a folder whose name holds non-ASCII
# letters and blanks and run under wine on the five example files, writes the results
# files, tables and bootstrap intervals of the Linux build byte for byte, but for the
# date and time lines of the results file (the Windows form) and, where the path given
# differs, the line naming the sample file. Each example runs three times: by a path
# relative to the program's folder, by an absolute Windows path, and with --output-dir.
# Usage: examples_match_linux.sh ZIP LINUX_CLI WINE WORK_FOLDER
set -euo pipefail
zip=$1 linux_cli=$2 wine=$3 work=$4
# wine turns the command line into Windows text by the locale's character set.
export LC_ALL=C.UTF-8

rm -rf "$work"
unpacked="$work/Données de rivières 2026"
mkdir -p "$unpacked" "$work/linux"
unzip -q "$zip" -d "$unpacked"
app=$(find "$unpacked" -mindepth 1 -maxdepth 1 -type d)
cp -r "$app/examples" "$work/linux/"

examples=("alpine Alp R-A1" "central-baltic Cen R-C1" "eastern-continental Eas R-E1" "mediterranean Med R-M1"
          "northern Nor R-N1")
options=(--table --bootstrap 100 --seed 7 --bio 1)
failures=0

# The results file without its date and time lines (3 and 4), and optionally without the
# path of the sample file.
comparable() {
    if [ "$2" = path ]; then
        LC_ALL=C sed -e '3,4d' -e 's/^File .* opened\.\r$/File PATH opened.\r/' "$1"
    else
        LC_ALL=C sed -e '3,4d' "$1"
    fi
}

same() { # LINUX_FILE WINDOWS_FILE [path]
    if ! cmp -s <(comparable "$1" "${3:-}") <(comparable "$2" "${3:-}"); then
        echo "FAILED: $2 differs from $1:" >&2
        diff <(comparable "$1" "${3:-}") <(comparable "$2" "${3:-}") | head -10 >&2 || true
        failures=$((failures + 1))
    fi
}

same_bytes() {
    if ! cmp -s "$1" "$2"; then
        echo "FAILED: $2 differs from $1" >&2
        failures=$((failures + 1))
    fi
}

run_windows() { # FOLDER ARGS...
    local folder=$1
    shift
    local status=0
    # wine's own errors are kept with the program's messages: a program that ends without
    # a word of its own (a crash, say) is then still explained.
    (cd "$folder" && WINEDEBUG=fixme-all "$wine" "$app/torrentix-cli.exe" "$@" >/dev/null 2>"$work/stderr") ||
        status=$?
    if [ "$status" -ne 0 ]; then
        echo "FAILED (exit code $status): torrentix-cli.exe $* in $folder:" >&2
        cat "$work/stderr" >&2
        failures=$((failures + 1))
    fi
}

for example in "${examples[@]}"; do
    read -r name gig type <<<"$example"
    (cd "$work/linux" && "$linux_cli" --gig "$gig" --type "$type" "${options[@]}" "examples/$name.txt" >/dev/null)
    linux="$work/linux/examples/$name"

    # A path relative to the program's folder: every line but the date and time is the same.
    run_windows "$app" --gig "$gig" --type "$type" "${options[@]}" "examples/$name.txt"
    windows="$app/examples/$name"
    same "$linux"_OUT.txt "$windows"_OUT.txt
    same_bytes "$linux"_table.tsv "$windows"_table.tsv
    same_bytes "$linux"_ci.tsv "$windows"_ci.tsv
    same_bytes "$linux"_ci_regressions.tsv "$windows"_ci_regressions.tsv

    # An absolute Windows path, from another folder, replacing the results of the first run.
    absolute=$(WINEDEBUG=-all winepath -w "$app/examples/$name.txt" 2>/dev/null)
    run_windows "$work" --force --gig "$gig" --type "$type" "${options[@]}" "$absolute"
    same "$linux"_OUT.txt "$windows"_OUT.txt path
    # The line is in the file's encoding, Windows-1252 or UTF-8.
    opened=$( (grep -a '^File ' "$windows"_OUT.txt || true) | tr -d '\r')
    if [ "$opened" != "File $absolute opened." ] &&
        [ "$(iconv -f WINDOWS-1252 -t UTF-8 <<<"$opened")" != "File $absolute opened." ]; then
        echo "FAILED: $windows""_OUT.txt does not name $absolute" >&2
        failures=$((failures + 1))
    fi

    # --output-dir, a folder that does not exist yet, and a path with Windows separators.
    run_windows "$app" --output-dir "résultats du lot" --gig "$gig" --type "$type" "${options[@]}" "examples\\$name.txt"
    out="$app/résultats du lot/$name"
    same "$linux"_OUT.txt "$out"_OUT.txt path
    same_bytes "$linux"_table.tsv "$out"_table.tsv
    same_bytes "$linux"_ci.tsv "$out"_ci.tsv
    same_bytes "$linux"_ci_regressions.tsv "$out"_ci_regressions.tsv
done

if [ "$failures" -ne 0 ]; then
    echo "$failures comparisons failed" >&2
    exit 1
fi
date_line=$(sed -n 3p "$app/examples/alpine_OUT.txt")
echo "Windows date and time lines: ${date_line%$'\r'} / $(sed -n 4p "$app/examples/alpine_OUT.txt" | tr -d '\r')"
echo "The five examples give the Linux results, three ways each"
