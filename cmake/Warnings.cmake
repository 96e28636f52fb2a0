# Compile options for our own targets: warnings as errors, and the sanitizers when asked.
# OGDF's headers come through an imported target, so they are system headers and their
# warnings do not count.
# The Python package turns the errors off: a user's newer compiler may warn where ours does
# not, and that must not stop an install.
option(KINSHIP_WARNINGS_AS_ERRORS "Stop the build on any warning in our code" ON)
add_library(kinship_options INTERFACE)
target_compile_options(kinship_options INTERFACE -Wall -Wextra -Wpedantic
                       $<$<BOOL:${KINSHIP_WARNINGS_AS_ERRORS}>:-Werror>)

if(KINSHIP_SANITIZE)
  set(_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(kinship_options INTERFACE ${_sanitizers})
  target_link_options(kinship_options INTERFACE ${_sanitizers})
endif()

# The fuzz build: our code gets libFuzzer's coverage instrumentation and the sanitizers;
# the harnesses link libFuzzer itself (fuzz/CMakeLists.txt).
if(KINSHIP_FUZZ)
  set(_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                  -fno-omit-frame-pointer)
  target_compile_options(kinship_options INTERFACE ${_fuzz_flags})
  target_link_options(kinship_options INTERFACE -fsanitize=address,undefined)
endif()
