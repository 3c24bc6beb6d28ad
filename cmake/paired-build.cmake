# The paired launcher: this same source tree configured again for 32-bit Windows, in the
# folder win32 of this build, and built with it. A CMake configure has one toolchain, so the
# 32-bit launcher, its test runtime and its tests come from a second configure of the same
# CMakeLists (the same source globs, so new sources reach both launchers alike); ctest runs
# its tests in a run of their own (ctest --test-dir <build>/win32).
include(ExternalProject)

set(QOVA_PAIRED_BINARY_DIR ${CMAKE_BINARY_DIR}/win32)
# The demo needs only the 32-bit launcher and what it runs, not the 32-bit tests: it names them
# here, and the 32-bit build builds just those. Empty (the default) builds all of it.
set(QOVA_PAIRED_TARGETS "" CACHE STRING "Targets of the 32-bit build to build; empty for all")
set(QOVA_PAIRED_BUILD_COMMAND)
if(QOVA_PAIRED_TARGETS)
    set(QOVA_PAIRED_BUILD_COMMAND BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target
        ${QOVA_PAIRED_TARGETS})
endif()
ExternalProject_Add(paired_launcher
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${QOVA_PAIRED_BINARY_DIR}
    ${QOVA_PAIRED_BUILD_COMMAND}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DGOOGLETEST_SOURCE_DIR=${GOOGLETEST_SOURCE_DIR}
    # Its own build decides what is out of date, down to the globs of new source files.
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    # paired_launcher-configure: the release script configures the 32-bit tree through it and
    # builds just the launcher there, not the 32-bit tests.
    STEP_TARGETS configure
    USES_TERMINAL_CONFIGURE ON
    USES_TERMINAL_BUILD ON)

# The 64-bit end-to-end tests hand launches over to the 32-bit launcher and its runtime, and
# the demo ships both launchers: they find the 32-bit build in win32\bin beside their bin.
add_dependencies(e2e_tests paired_launcher)
add_dependencies(demo paired_launcher)

# The 32-bit launcher's import list and size are checked here as well: that needs no 32-bit program to
# run, which not every machine that builds can do.
add_test(NAME paired_launcher_imports
    COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh --system-folder-only
            ${QOVA_PAIRED_BINARY_DIR}/bin/launcher.exe ole32.dll oleaut32.dll msimg32.dll)
add_test(NAME paired_launcher_size
    COMMAND ${CMAKE_SOURCE_DIR}/tests/check-size.sh ${QOVA_PAIRED_BINARY_DIR}/bin/launcher.exe
            ${QOVA_PAIRED_BINARY_DIR}/launcher-symbols.exe i686 ${QOVA_SIZE_BUDGET}
            i686-w64-mingw32-nm)
