# Instrumented builds. Each flag goes to every target of the build folder, so that the libraries
# and the tests that link them are checked alike; Qt and the C++ runtime stay uninstrumented.

# AddressSanitizer and UndefinedBehaviorSanitizer for the tests (make test-sanitize). Any report
# ends the process with an error, so that a finding fails the test that met it.
option(VANTRELO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

# libFuzzer targets (make fuzz, clang only). The libraries get coverage instrumentation without
# libFuzzer's main; only the fuzz targets link it.
option(VANTRELO_FUZZ "Build the fuzz targets for libFuzzer (needs clang)" OFF)

if(VANTRELO_SANITIZE OR VANTRELO_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(VANTRELO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "VANTRELO_FUZZ needs clang++ (libFuzzer): configure with CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
