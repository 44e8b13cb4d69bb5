# Instrumented builds. QUORVEL_SANITIZERS lists the sanitizers every target is built with (for
# example "address,undefined", or "thread", which goes with neither); QUORVEL_BUILD_FUZZERS adds
# the libFuzzer targets in fuzz/ and builds everything they reach with coverage feedback. Both
# need clang.
set(QUORVEL_SANITIZERS "" CACHE STRING "Sanitizers for every target, e.g. address,undefined")
option(QUORVEL_BUILD_FUZZERS "Build the libFuzzer targets (clang)" OFF)

if(QUORVEL_SANITIZERS OR QUORVEL_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "Sanitizer and fuzz builds need clang (CMAKE_CXX_COMPILER=clang++)")
    endif()
    # Readable stacks in reports, and no report is shrugged off: the first finding ends the run.
    add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()

if(QUORVEL_SANITIZERS)
    add_compile_options(-fsanitize=${QUORVEL_SANITIZERS})
    add_link_options(-fsanitize=${QUORVEL_SANITIZERS})
endif()

if(QUORVEL_BUILD_FUZZERS)
    # Coverage feedback everywhere; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
