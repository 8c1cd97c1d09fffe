# Installs the Debian packages the build needs, only those that are missing.
# Usage: source scripts/dependencies.sh; install_missing PACKAGE...

install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing. Install them, then run this command again:" >&2
        echo "  sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}" >&2
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# What building the engine, the batch command and the tests needs (fmt and fast_float are
# used header-only, so the cross builds take the same headers; the tests build German and
# American locales from the sources of locales).
ENGINE_PACKAGES=(build-essential cmake libsqlite3-dev libgtest-dev libgmock-dev ccache python3 libfmt-dev
    libfast-float-dev locales)
# What the desktop program and its tests add.
GUI_PACKAGES=(qt6-base-dev qt6-svg-dev libgl-dev dpkg-dev file)
# What the checks of the Debian package add: lintian, the AppStream validator and the
# desktop entry validator.
PACKAGE_CHECK_PACKAGES=(lintian appstream desktop-file-utils)
# What the cross build for Windows and its tests under wine add (npm too, when no npm is
# there, to fetch the SQLite sources).
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest wine wine64 unzip)
# What the browser build, its page and their tests add (nodejs and npm too, when no node
# is there).
WEB_PACKAGES=(emscripten chromium nlohmann-json3-dev)
# What the R package, its check and its tests add (tibble for the test of a tibble's input;
# qpdf and devscripts, whose checkbashisms reads the package's configure script, for R CMD check).
R_PACKAGES=(r-base-dev r-cran-rcpp r-cran-testthat r-cran-roxygen2 r-cran-tibble pkg-config qpdf devscripts)
