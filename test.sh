#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   ./test.sh             Release build in build/, the output README.md's walkthrough shows, its
#                         Debian package checked by lintian and the AppStream and desktop-entry
#                         validators, all tests (widgets under the offscreen platform)
#   ./test.sh --werror    the same, with the compiler's warnings as errors
#   ./test.sh --sanitize  engine, batch command and their tests with AddressSanitizer and
#                         UndefinedBehaviorSanitizer, in build-sanitize/
#   ./test.sh --sanitize=thread
#                         engine, batch command and desktop program with ThreadSanitizer, in
#                         build-tsan/, and their tests that work on several threads
#   ./test.sh --coverage  Debug build with coverage in build-coverage/, all tests, then line
#                         and branch coverage of every source folder
#   ./test.sh --windows   the engine, the batch command and their tests cross-built for 64-bit
#                         Windows in build-windows/ and run under wine, the zip for Windows
#                         users, and its program's results on the examples compared with Linux's
#   ./test.sh --web       the engine, the batch command (torrentix-cli.js) and their tests built
#                         with emscripten in build-web/ and run under node, the page
#                         build-web/torrentix.html, and its tests in headless Chromium
#   ./test.sh --r         the R package torrentix assembled in build-r/ (with the taxa database
#                         and the batch command built in build-r/cmake/), built, checked by
#                         R CMD check --as-cran (no ERROR or WARNING allowed) and its tests run,
#                         comparing its numbers with the batch command's
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

mode=release
werror=OFF
for arg in "$@"; do
    case "$arg" in
    --sanitize) mode=sanitize ;;
    --sanitize=thread) mode=tsan ;;
    --coverage) mode=coverage ;;
    --windows) mode=windows ;;
    --web) mode=web ;;
    --r) mode=r ;;
    --werror) werror=ON ;;
    *)
        echo "Usage: ./test.sh [--werror] [--sanitize | --sanitize=thread | --coverage | --windows | --web | --r]" >&2
        echo "Unknown option: $arg" >&2
        exit 2
        ;;
    esac
done

jobs=$(nproc 2>/dev/null || echo 2)
case "$mode" in
sanitize)
    install_missing "${ENGINE_PACKAGES[@]}"
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORRENTIX_GUI=OFF -DTORRENTIX_SANITIZE=ON \
        -DTORRENTIX_WERROR="$werror"
    cmake --build build-sanitize -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
tsan)
    install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}"
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORRENTIX_SANITIZE_THREAD=ON \
        -DTORRENTIX_WERROR="$werror"
    # Only the programs of the tests that start threads: work shared by threads, the reader's
    # blocks, the metric passes and the results' rows on several threads, the bootstrap, the
    # batch command's --threads, the desktop's background job and intervals.
    cmake --build build-tsan -j "$jobs" --target base_tests input_tests run_tests cli_tests app_tests
    # Qt is not built with ThreadSanitizer, which sees neither its reads and writes nor its
    # locks: the memory calls it makes itself (its events, made on one thread and read on
    # another under its own lock) are not checked either.
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1" \
        QT_QPA_PLATFORM=offscreen \
        ctest --test-dir build-tsan --output-on-failure -j "$jobs" \
        -R '^(Parallel|ParallelRun|BlockReading|Bootstrap|WorkflowTest|MainWindowTest)\.|AStopAtAnyLook|Threads'
    ;;
coverage)
    install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}" gcovr
    cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DTORRENTIX_COVERAGE=ON -DTORRENTIX_WERROR="$werror"
    cmake --build build-coverage -j "$jobs"
    find build-coverage -name '*.gcda' -delete
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-coverage --output-on-failure -j "$jobs"
    gcovr --root . --filter 'src/' --exclude 'build-coverage/' \
        --exclude-unreachable-branches --exclude-throw-branches \
        --json-summary build-coverage/coverage.json --txt build-coverage/coverage.txt build-coverage
    python3 scripts/coverage_summary.py build-coverage/coverage.json
    ;;
windows)
    install_missing "${ENGINE_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
    if ! command -v npm >/dev/null; then
        install_missing npm # fetches the SQLite sources
    fi
    # The taxa database, the results the Windows program must match and the generated file
    # they are compared on come from the tools built for this machine.
    cmake -S . -B build-windows/host -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_GUI=OFF -DTORRENTIX_TESTS=OFF \
        -DTORRENTIX_WERROR="$werror"
    cmake --build build-windows/host -j "$jobs" --target maketaxadb torrentix-cli gensamples
    # A wine configuration of its own, made before the tests so that its messages stay out
    # of theirs.
    export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
    # The first wine there is (no pipe into head: the early close of a pipe fails the script).
    wine=""
    for candidate in /usr/lib/wine/wine64 wine64 wine; do
        if wine=$(command -v "$candidate"); then
            break
        fi
    done
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        # No .NET or browser engine for wine: a console program needs neither.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1 || true
        wineserver -w
    fi
    # One wine server for every test, its services already up: no test's program starts
    # while the server and its services start, or stop after a pause between programs.
    wineserver -p 2>/dev/null || true # one already running for the configuration serves as well
    trap 'wineserver -k 2>/dev/null || true' EXIT
    "$wine" cmd /c exit >/dev/null 2>&1 || true
    cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_GUI=OFF -DTORRENTIX_WERROR="$werror" \
        -DTORRENTIX_HOST_MAKETAXADB="$PWD/build-windows/host/tools/maketaxadb" \
        -DTORRENTIX_HOST_CLI="$PWD/build-windows/host/torrentix-cli" \
        -DTORRENTIX_HOST_GENSAMPLES="$PWD/build-windows/host/tools/gensamples"
    cmake --build build-windows -j "$jobs"
    # Under a heavily loaded machine wine now and then fails to start a program at all (no
    # output, a failing status within milliseconds): a failed test is run once more, so that
    # only a test that fails twice fails the stage.
    ctest --test-dir build-windows --output-on-failure -j "$jobs" --repeat until-pass:2
    ls build-windows/torrentix-cli-*-windows-x86_64.zip
    ;;
web)
    install_missing "${ENGINE_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
        install_missing nodejs npm
    fi
    # emscripten's tools take acorn from Debian's node modules, where a node of another
    # origin does not look by itself.
    export NODE_PATH=/usr/share/nodejs
    # The taxa database, the results the browser build must match and the 20,000-sample
    # file of the page's test come from the tools built for this machine.
    cmake -S . -B build-web/host -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_GUI=OFF -DTORRENTIX_TESTS=OFF \
        -DTORRENTIX_WERROR="$werror"
    cmake --build build-web/host -j "$jobs" --target maketaxadb torrentix-cli gensamples
    emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_WERROR="$werror" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" \
        -DTORRENTIX_HOST_MAKETAXADB="$PWD/build-web/host/tools/maketaxadb" \
        -DTORRENTIX_HOST_CLI="$PWD/build-web/host/torrentix-cli" \
        -DTORRENTIX_HOST_GENSAMPLES="$PWD/build-web/host/tools/gensamples"
    cmake --build build-web -j "$jobs"
    ctest --test-dir build-web --output-on-failure -j "$jobs"
    (cd web && npm ci --no-audit --no-fund && npx tsc --noEmit -p .) # the page's types checked
    node web/build.mjs build-web
    TORRENTIX_BUILD_WEB="$PWD/build-web" node --test tests/web/
    ;;
r)
    install_missing "${ENGINE_PACKAGES[@]}" "${R_PACKAGES[@]}"
    cmake -S . -B build-r/cmake -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_GUI=OFF -DTORRENTIX_TESTS=OFF \
        -DTORRENTIX_WERROR="$werror"
    cmake --build build-r/cmake -j "$jobs" --target maketaxadb torrentix-cli
    scripts/assemble-r-package.sh build-r/cmake/ICMTAXA.db build-r/torrentix >/dev/null
    (
        cd build-r
        rm -rf torrentix_*.tar.gz torrentix.Rcheck
        R CMD build --no-manual torrentix >/dev/null
        # No network: the checks of CRAN's incoming queue that ask its servers are left out.
        # The tests compare the package's numbers with the batch command's.
        # The engine's objects are kept by ccache from one check to the next.
        printf 'CXX20 = ccache %s\n' "$(R CMD config CXX20)" >makevars-ccache
        MAKEFLAGS="-j$jobs" R_MAKEVARS_USER="$PWD/makevars-ccache" _R_CHECK_CRAN_INCOMING_REMOTE_=false \
            TORRENTIX_CLI="$PWD/cmake/torrentix-cli" \
            R CMD check --as-cran --no-manual torrentix_*.tar.gz
        if grep -Eq '^\* .*\.\.\. *(WARNING|ERROR)' torrentix.Rcheck/00check.log; then
            echo "R CMD check gave a WARNING or an ERROR (build-r/torrentix.Rcheck/00check.log)." >&2
            exit 1
        fi
        # The tests' own count, as they ran in the check.
        sed -n 's/^\[ FAIL \([0-9]*\) | WARN [0-9]* | SKIP \([0-9]*\) | PASS \([0-9]*\) \]$/torrentix: \3 passed, \1 failed, \2 skipped/p' \
            torrentix.Rcheck/tests/testthat.Rout | tail -n 1
    )
    ;;
release)
    install_missing "${ENGINE_PACKAGES[@]}" "${GUI_PACKAGES[@]}" "${PACKAGE_CHECK_PACKAGES[@]}" libbenchmark-dev
    # The benchmarks are built (not run) so that they keep up with the code they measure.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORRENTIX_WERROR="$werror" -DTORRENTIX_BENCH=ON
    cmake --build build -j "$jobs"
    # README.md's walkthrough shows what the batch command prints.
    python3 scripts/readme_walkthrough.py build
    # The Debian package, whose file list a test inspects: no error or warning of lintian,
    # a desktop entry and an AppStream metainfo without any remark.
    rm -f build/torrentix_*.deb
    (cd build && cpack -G DEB >/dev/null)
    lintian --fail-on error,warning build/torrentix_*.deb
    desktop-file-validate packaging/*.desktop
    metainfo=$(appstreamcli validate --pedantic --no-net --format yaml build/packaging/org.torrentix.torrentix.metainfo.xml) ||
        { echo "$metainfo" >&2; exit 1; }
    if grep -q -- '- tag:' <<<"$metainfo"; then
        echo "$metainfo" >&2
        exit 1
    fi
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
esac
