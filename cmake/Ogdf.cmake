# OGDF comes from the ogdf-wheel package installed into .deps/ (see scripts/setup-deps.sh),
# found through CMAKE_PREFIX_PATH.
#
# The wheel carries two builds: libOGDF.so (release) and libOGDF-debug.so, and two header
# folders, include/ogdf-release and include/ogdf-debug, that differ in config_autogen.h
# (OGDF_DEBUG changes the layout of some classes). Its target picks the header folder by
# the consumer's configuration and the library by the imported configuration, so a Debug
# build of ours would pair debug headers with whatever library CMake maps to. We always
# use the release library with the release headers, whatever our own build type is.
#
# In a Python package build (scikit-build-core sets SKBUILD), ogdf-wheel sits in the build's
# own environment, outside site-packages; that environment's Python says where.
if(SKBUILD AND NOT OGDF_DIR)
  execute_process(
    COMMAND "${Python_EXECUTABLE}" -c "import importlib.metadata as m; print(next(f.locate().parent for f in m.files('ogdf-wheel') if f.name == 'ogdf-config.cmake'))"
    OUTPUT_VARIABLE OGDF_DIR OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
find_package(OGDF CONFIG REQUIRED)

get_target_property(_ogdf_release_lib OGDF IMPORTED_LOCATION_RELEASE)
get_filename_component(_ogdf_prefix "${_ogdf_release_lib}" DIRECTORY)
get_filename_component(_ogdf_prefix "${_ogdf_prefix}" DIRECTORY)

foreach(_config DEBUG RELEASE RELWITHDEBINFO MINSIZEREL)
  set_target_properties(OGDF COIN PROPERTIES MAP_IMPORTED_CONFIG_${_config} Release)
endforeach()
set_target_properties(OGDF PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${_ogdf_prefix}/include/ogdf-release;${_ogdf_prefix}/include")
message(STATUS "OGDF: release library ${_ogdf_release_lib}, headers ${_ogdf_prefix}/include/ogdf-release")
