# What `cmake --install` puts in the prefix: the C++ commands in bin/, with an RPATH of
# $ORIGIN/../lib so they load OGDF from the prefix's lib/ wherever the tree is moved.
#
# A plain install copies OGDF's release libraries into lib/, so the tree needs neither the
# build nor .deps/. The Python package (pyproject.toml, built by scikit-build-core, which
# sets SKBUILD) puts the commands in the wheel's scripts, that is the environment's bin/,
# and copies no library: ogdf-wheel, one of its run-time dependencies, already puts them in
# the environment's lib/.
set(CMAKE_INSTALL_RPATH "$ORIGIN/../lib")

if(SKBUILD)
  set(KINSHIP_INSTALL_BINDIR "${SKBUILD_SCRIPTS_DIR}")
  # The importer's build-tree launcher (src/importer) runs the Python that builds the package.
  set(KINSHIP_PYTHON "${Python_EXECUTABLE}" CACHE FILEPATH "The project's Python")
else()
  set(KINSHIP_INSTALL_BINDIR bin)
  install(IMPORTED_RUNTIME_ARTIFACTS OGDF COIN LIBRARY DESTINATION lib)
endif()
