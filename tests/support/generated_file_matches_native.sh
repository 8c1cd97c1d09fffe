#!/usr/bin/env bash
# A generated file of 20,000 samples and 300 taxon columns, run by another build of the batch
# command (the Windows program under wine, the browser build under node), gives the native
# build's table, bootstrap intervals (both tables) and results file byte for byte, but for the
# date and time lines of the results file. Every value at full precision is the same double:
# a logarithm or any other computed value that differs in its last binary digit fails here.
# Usage: generated_file_matches_native.sh GENSAMPLES NATIVE_CLI WORK_FOLDER COMMAND...
#        COMMAND... runs the other build's batch command (e.g. `node torrentix-cli.js`).
set -euo pipefail
gensamples=$1 native_cli=$2 work=$3
shift 3
rm -rf "$work"
mkdir -p "$work/native" "$work/other"
"$gensamples" --output "$work/native/generated.txt" --samples 20000 --families 300 --seed 2
cp "$work/native/generated.txt" "$work/other/"
# The bootstrap's replicates keep the run short under wine and still fill every interval.
args=(--gig Med --type R-M1 --table --bootstrap 40 --seed 11 --bio 1 generated.txt)
# Standard error holds the notes of the read (columns of one family added together).
run() { # FOLDER COMMAND...
    local folder=$1
    shift
    if ! (cd "$folder" && "$@" "${args[@]}" >/dev/null 2>"$folder/stderr"); then
        echo "FAILED: $* ${args[*]}:" >&2
        cat "$folder/stderr" >&2
        exit 1
    fi
}
run "$work/native" "$native_cli"
run "$work/other" "$@"

failures=0
for file in generated_table.tsv generated_ci.tsv generated_ci_regressions.tsv generated_OUT.txt; do
    native="$work/native/$file" other="$work/other/$file"
    if [ "$file" = generated_OUT.txt ]; then # without the date and time lines
        LC_ALL=C sed -i -e '3,4d' "$native" "$other"
    fi
    if ! cmp -s "$native" "$other"; then
        echo "FAILED: $file differs from the native build's:" >&2
        awk -F'\t' 'NR == FNR { line[FNR] = $0; if (header == "" && !/^#/) header = $0; next }
            $0 != line[FNR] && shown++ < 5 {
                split(line[FNR], native, "\t"); split(header, name, "\t")
                for (i = 1; i <= NF; i++) if ($i != native[i]) printf "  line %d (%s), %s: %s, here %s\n", FNR, $1, name[i], native[i], $i
            }' "$native" "$other" >&2
        failures=$((failures + 1))
    fi
done
echo "$failures of 4 files differ"
[ "$failures" -eq 0 ]
