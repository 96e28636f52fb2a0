#!/usr/bin/env bash
# Installs what the build and the tests need, once per clone:
#  - a Python virtual environment in .deps/ holding the OGDF release build (ogdf-wheel),
#    networkx, which the interoperability test uses as a third-party GML reader, and
#    ged4py, the GEDCOM reader of kinship-from-gedcom;
#  - Debian packages the build and the tests use (clang for the fuzz harnesses among
#    them), when they are missing.
# Safe to run again: every step is skipped when its result is already there.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
ogdf_version="2025.10"
ged4py_version="0.5.5"

apt_packages=()
[ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || [ -f /usr/lib/libgtest.a ] || apt_packages+=(libgtest-dev)
command -v ninja >/dev/null || apt_packages+=(ninja-build)
command -v cmake >/dev/null || apt_packages+=(cmake)
python3 -c 'import venv, ensurepip' 2>/dev/null || apt_packages+=(python3-venv)
# A real SVG renderer: the kinship-draw tests convert its picture to PNG with it.
command -v rsvg-convert >/dev/null || apt_packages+=(librsvg2-bin)
# The fuzz harnesses are built with clang and linked with its libFuzzer and sanitizer
# runtimes (libclang-rt-14-dev).
command -v clang++-14 >/dev/null || apt_packages+=(clang-14)
compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null ||
  apt_packages+=(libclang-rt-14-dev)
if [ "${#apt_packages[@]}" -gt 0 ]; then
  echo "setup: installing Debian packages: ${apt_packages[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${apt_packages[@]}"
fi

if [ ! -x "$deps/bin/python" ]; then
  echo "setup: creating the virtual environment $deps"
  python3 -m venv "$deps"
fi

if ! "$deps/bin/python" -c 'import importlib.metadata as m, sys; sys.exit(m.version("ogdf-wheel") != sys.argv[1])' "$ogdf_version" 2>/dev/null; then
  echo "setup: installing ogdf-wheel==$ogdf_version"
  "$deps/bin/pip" install --quiet --disable-pip-version-check "ogdf-wheel==$ogdf_version"
fi

if ! "$deps/bin/python" -c 'import networkx' 2>/dev/null; then
  echo "setup: installing networkx"
  "$deps/bin/pip" install --quiet --disable-pip-version-check networkx
fi

if ! "$deps/bin/python" -c 'import importlib.metadata as m, sys; sys.exit(m.version("ged4py") != sys.argv[1])' "$ged4py_version" 2>/dev/null; then
  echo "setup: installing ged4py==$ged4py_version"
  "$deps/bin/pip" install --quiet --disable-pip-version-check "ged4py==$ged4py_version"
fi

[ -f "$deps/share/ogdf/ogdf-config.cmake" ] || { echo "setup: OGDF's CMake package is missing under $deps" >&2; exit 1; }
