# Compiler flags of the fuzzing build: every library is instrumented for
# libFuzzer's coverage and checked by AddressSanitizer and
# UndefinedBehaviorSanitizer, and any undefined behaviour stops the run.
# The standard library's own checks catch an index past the end of a string
# or vector that still lies inside its allocation, where AddressSanitizer
# sees nothing.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KESTREL_BUILD_FUZZERS needs clang (CXX=clang++)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_compile_definitions(_GLIBCXX_ASSERTIONS)
add_link_options(-fsanitize=address,undefined)
