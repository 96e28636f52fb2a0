#!/usr/bin/env bash
# Installs what a make target needs, once per clone: scripts/setup-deps.sh NEED...
#   build  the optimised build, the demo and the benchmark: CMake, ninja, python3-venv,
#          and a Python virtual environment in .deps/ holding the commands' run-time
#          packages as pinned in pyproject.toml: the OGDF release build (ogdf-wheel),
#          fastgedcom, the GEDCOM reader of kinship-from-gedcom, and ansel, its ANSEL codec;
#   test   the test suite besides: GoogleTest, the SVG renderer rsvg-convert, networkx
#          in .deps/ (a third-party GML reader for the interoperability test), and for the
#          page's browser tests and benchmark Chromium, its WebDriver and Selenium in .deps/;
#   fuzz   the fuzz harnesses besides: clang 14 with its libFuzzer and sanitizer runtimes.
# Debian packages are installed only when missing, and only as root; any other user is
# told which ones to install. Safe to run again: every step is skipped when its result is
# already there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"

apt_packages=()
# The run-time packages' pins are those of the Python package, on one line of pyproject.toml.
mapfile -t python_packages < <(sed -n 's/^dependencies = \[\(.*\)\]$/\1/p' "$root/pyproject.toml" | tr -d '" ' | tr , '\n')

need_build() {
  command -v cmake >/dev/null || apt_packages+=(cmake)
  command -v ninja >/dev/null || apt_packages+=(ninja-build)
  python3 -c 'import venv, ensurepip' 2>/dev/null || apt_packages+=(python3-venv)
}
need_test() {
  need_build
  [ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || [ -f /usr/lib/libgtest.a ] || apt_packages+=(libgtest-dev)
  # The kinship-draw tests convert its picture to PNG with a real SVG renderer.
  command -v rsvg-convert >/dev/null || apt_packages+=(librsvg2-bin)
  python_packages+=(networkx)
  # The kinship-draw page is tested in headless Chromium, driven through its WebDriver.
  command -v chromium >/dev/null || apt_packages+=(chromium)
  command -v chromedriver >/dev/null || apt_packages+=(chromium-driver)
  python_packages+=(selenium)
}
need_fuzz() {
  need_build
  command -v clang++-14 >/dev/null || apt_packages+=(clang-14)
  compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null ||
    apt_packages+=(libclang-rt-14-dev)
}

[ "$#" -gt 0 ] || set -- build
for need in "$@"; do
  case "$need" in
    build | test | fuzz) "need_$need" ;;
    *) echo "usage: scripts/setup-deps.sh build|test|fuzz..." >&2; exit 2 ;;
  esac
done

if [ "${#apt_packages[@]}" -gt 0 ]; then
  mapfile -t apt_packages < <(printf '%s\n' "${apt_packages[@]}" | sort -u)
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing Debian packages: ${apt_packages[*]}" >&2
    echo "setup: install them with: sudo apt-get install ${apt_packages[*]}" >&2
    exit 1
  fi
  echo "setup: installing Debian packages: ${apt_packages[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${apt_packages[@]}"
fi

if [ ! -x "$deps/bin/python" ]; then
  echo "setup: creating the virtual environment $deps"
  python3 -m venv "$deps"
fi

# Each requirement (NAME or NAME==VERSION) that the environment does not meet.
mapfile -t python_missing < <("$deps/bin/python" - "${python_packages[@]}" <<'EOF'
import importlib.metadata as metadata, sys
for requirement in sys.argv[1:]:
    name, _, version = requirement.partition("==")
    try:
        if version in ("", metadata.version(name)):
            continue
    except metadata.PackageNotFoundError:
        pass
    print(requirement)
EOF
)
if [ "${#python_missing[@]}" -gt 0 ]; then
  echo "setup: installing into $deps: ${python_missing[*]}"
  "$deps/bin/pip" install --quiet --disable-pip-version-check "${python_missing[@]}"
fi

[ -f "$deps/share/ogdf/ogdf-config.cmake" ] || { echo "setup: OGDF's CMake package is missing under $deps" >&2; exit 1; }
