# Cross-build for 64-bit ARM Windows with Zig 0.11 (clang 16, lld, libc++ and the MinGW-w64 C
# runtime for aarch64), which scripts/setup.sh installs in build/tools/zig: the ARM64 launcher,
# its test runtime and its tests. CMake wants one program per tool, the scripts in cmake/zig are
# those (each runs zig, or LLVM's windres, for this target).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(QOVA_ZIG_TOOLS ${CMAKE_CURRENT_LIST_DIR}/zig)
set(CMAKE_C_COMPILER ${QOVA_ZIG_TOOLS}/zig-cc)
set(CMAKE_CXX_COMPILER ${QOVA_ZIG_TOOLS}/zig-c++)
set(CMAKE_AR ${QOVA_ZIG_TOOLS}/zig-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${QOVA_ZIG_TOOLS}/zig-ranlib CACHE FILEPATH "")
set(CMAKE_RC_COMPILER ${QOVA_ZIG_TOOLS}/zig-windres)
# Zig has no strip or nm of its own: LLVM's (Debian's llvm-14, which clang brings) read and
# write ARM64 PE files.
set(CMAKE_STRIP llvm-strip-14 CACHE FILEPATH "")
set(CMAKE_NM llvm-nm-14 CACHE FILEPATH "")
set(CMAKE_OBJDUMP llvm-objdump-14 CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CMake's compiler checks compile without linking: a link would first build zig's C runtime in
# the checks' own mode, minutes of work the build never uses.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
