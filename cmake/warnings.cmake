# Compiler warnings for every target, and clang's thread-safety analysis of the annotated locks
# (platform/thread_safety.h). CARTAVOX_WERROR turns them into errors: the test command's presets
# set it, so a warning fails the build there.
option(CARTAVOX_WERROR "Treat compiler warnings as errors" OFF)

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
                    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough -Wmissing-declarations)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_compile_options(-Wthread-safety)
endif()
if(CARTAVOX_WERROR)
    add_compile_options(-Werror)
endif()
