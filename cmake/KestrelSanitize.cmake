# Compiler flags of the checked build (KESTREL_SANITIZE): every library,
# program and test is checked by AddressSanitizer and
# UndefinedBehaviorSanitizer, and any undefined behaviour stops the program
# at once, so a test cannot pass over it. The standard library's own checks
# catch an index past the end of a string or vector that still lies inside
# its allocation, where AddressSanitizer sees nothing. -O1 keeps the checked
# suite quick; frame pointers keep the reports' stacks whole.
add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -O1)
add_compile_definitions(_GLIBCXX_ASSERTIONS)
add_link_options(-fsanitize=address,undefined)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # The sanitizers' checks hide from GCC's flow analysis that a value was
  # set, and it then warns inside the standard library (std::regex); GCC's
  # manual warns of these false reports.
  add_compile_options(-Wno-maybe-uninitialized)
endif()
