# Builds that look for faults: CARTAVOX_SANITIZE compiles everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (undefined behaviour stops the program), CARTAVOX_FUZZ compiles it
# for libFuzzer with clang and adds the fuzz targets of fuzz/.
option(CARTAVOX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CARTAVOX_FUZZ "Build the libFuzzer targets (clang only)" OFF)

if(CARTAVOX_SANITIZE AND CARTAVOX_FUZZ)
    message(FATAL_ERROR "CARTAVOX_SANITIZE and CARTAVOX_FUZZ need separate build folders")
endif()

# -O1 keeps the instrumented suite fast enough while the reports still point at the right lines.
set(CARTAVOX_CHECK_FLAGS -O1 -g -fno-omit-frame-pointer -fno-sanitize-recover=all)

if(CARTAVOX_SANITIZE)
    add_compile_options(${CARTAVOX_CHECK_FLAGS} -fsanitize=address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(CARTAVOX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "CARTAVOX_FUZZ needs clang (CXX=clang++-14)")
    endif()
    # Every library is instrumented for coverage, so the fuzzer sees inside the readers; only
    # the fuzz targets link libFuzzer's main.
    add_compile_options(${CARTAVOX_CHECK_FLAGS} -fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
