# Cross build for 64-bit Windows: the launcher, the Windows tests, the end-to-end tests and
# the test Java runtime. Tests run under Wine through the crosscompiling emulator.
# The same file builds the paired 32-bit launcher in a second configure (paired-build.cmake).
enable_language(RC)

set(QOVA_PAIRED_BUILD OFF)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QOVA_PAIRED_BUILD ON)
endif()
# The ARM64 tree, configured by the 64-bit one: the checks on the release and the sources, and
# the other builds, belong to the 64-bit tree alone.
set(QOVA_ARM64_BUILD OFF)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(QOVA_ARM64_BUILD ON)
endif()

set(QOVA_WIN_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# The same commit gives the same bytes, whichever folder it is built in and whenever
# (scripts/reproducible.sh checks it). ld writes the time of the link into the PE header unless
# told not to, and then leaves 0 there (as strip does below; the checksum follows the bytes).
# The compiler writes a source or build folder wherever a path reaches the code (__FILE__ in an
# assertion, debug information), at the link-time optimisation step too: relative to the folder
# instead. The build folder is named last as it lies in the source folder: the last match wins.
set(QOVA_REPRODUCIBLE_FLAGS -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                            -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
add_compile_options(${QOVA_REPRODUCIBLE_FLAGS})
target_compile_options(qova_core PRIVATE ${QOVA_REPRODUCIBLE_FLAGS})
add_link_options(${QOVA_REPRODUCIBLE_FLAGS})
# zig passes lld no such flag: cmake/zig/zig-tool.sh gives lld its own (/TIMESTAMP:0).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_link_options(-Wl,--no-insert-timestamp)
endif()
# Every flag that makes the launcher small is set here, for every architecture it is built for
# (scripts/bench.sh prints where the bytes go; docs/performance.md says what each flag saved).
# - Nothing in the launcher throws or catches, and nothing asks for a type at run time: no
#   exception tables, no type information (src/launcher/FailFast_win.cpp replaces the C++
#   library's throwing helpers).
# - The objects are "fat": they carry machine code and the compiler's intermediate code, so the
#   launcher is optimised as one program at link time, while the test programs, which link the
#   same libraries, link the machine code as usual (QOVA_WHOLE_PROGRAM below).
set(QOVA_SIZE_FLAGS -Os -ffunction-sections -fdata-sections -fno-exceptions -fno-rtti)
# GCC (MinGW-w64) builds the x64 and i686 launchers, clang (zig) the ARM64 one: the flags
# that only one of them knows are set per compiler.
# clang (16, in zig 0.11) writes no fat objects: its objects hold only the intermediate code,
# and every program of the ARM64 tree is optimised at link time, in seconds for the launcher.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND QOVA_SIZE_FLAGS -flto -ffat-lto-objects)
else()
    list(APPEND QOVA_SIZE_FLAGS -flto)
endif()
# - The launcher drops unused sections and is stripped (after the link, below). It keeps its unwind tables
#   (.pdata/.xdata): Windows walks them to dispatch an exception raised below the launcher's
#   frames on the Java main thread, and without them the JVM's own handlers further up that
#   thread would never be reached.
#   GCC 12 for this target stops with an internal error when it splits the program into
#   partitions for link-time optimisation, so the launcher is optimised as one partition.
#   zig hands lld no flag for --gc-sections and asks it for debug information, which turns
#   lld's removal of unused sections off: cmake/zig/zig-tool.sh asks for the removal itself.
#   Without it, zig's C runtime, libc++, libc++abi and unwinder stay whole in the ARM64 exe.
#   The ARM64 launcher links no compiled C++ library (-nostdlib++): libc++ is used from its
#   headers, the few members they leave to the library are instantiated in the launcher
#   (src/launcher/LibraryInstances_win.cpp), and its failures end in FailFast_win.cpp, as the
#   MinGW-w64 builds' do. The library's compiled members are built with exceptions and would
#   bring them back.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(QOVA_SIZE_LINK_OPTIONS -flto -flto-partition=one -Wl,--gc-sections)
else()
    set(QOVA_SIZE_LINK_OPTIONS -flto -Wl,--gc-sections -nostdlib++)
endif()
# - 32-bit Windows finds its exception handlers through the frames of the stack, not through
#   tables: the tables the compiler writes there (.eh_frame) serve only C++ exceptions, which
#   the launcher does without.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND QOVA_SIZE_FLAGS -fno-asynchronous-unwind-tables -fno-unwind-tables)
    list(APPEND QOVA_SIZE_LINK_OPTIONS -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()
target_compile_definitions(qova_core PUBLIC ${QOVA_WIN_DEFINITIONS})
target_compile_options(qova_core PRIVATE ${QOVA_SIZE_FLAGS})
# Programs that link these libraries link the machine code of the fat objects, unless they set
# the target property QOVA_WHOLE_PROGRAM (the launcher), which optimises them at link time.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_link_options(qova_core INTERFACE
        "$<$<NOT:$<BOOL:$<TARGET_PROPERTY:QOVA_WHOLE_PROGRAM>>>:-fno-lto>")
endif()

# The Windows operations: every src/**/*_win.cpp except the process entry.
file(GLOB_RECURSE QOVA_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*_win.cpp)
# The process entry, the launcher's own ends for the C++ library's failures and its own
# instances of the library's members (what a program linked with the launcher's size options
# needs of the C++ library, QOVA_CXX_LIBRARY_SOURCES) and its empty pseudo-relocator belong to
# the exe alone: the test programs link the libraries' versions.
set(QOVA_CXX_LIBRARY_SOURCES ${CMAKE_SOURCE_DIR}/src/launcher/FailFast_win.cpp
                             ${CMAKE_SOURCE_DIR}/src/launcher/LibraryInstances_win.cpp)
set(QOVA_EXE_SOURCES ${CMAKE_SOURCE_DIR}/src/launcher/main_win.cpp ${QOVA_CXX_LIBRARY_SOURCES}
                     ${CMAKE_SOURCE_DIR}/src/launcher/PseudoRelocations_win.cpp)
list(REMOVE_ITEM QOVA_WIN_SOURCES ${QOVA_EXE_SOURCES})
# The entry points for a C runtime that starts only narrow programs (src/entry) go to the
# programs that need them, below.
list(FILTER QOVA_WIN_SOURCES EXCLUDE REGEX "/src/entry/")
add_library(qova_win STATIC ${QOVA_WIN_SOURCES})
target_link_libraries(qova_win PUBLIC qova_core
    user32 gdi32 advapi32 shell32 ole32 oleaut32 uuid comctl32 msimg32)
target_compile_options(qova_win PRIVATE -Wall -Wextra ${QOVA_SIZE_FLAGS})
# The portable conversation with the VM calls what the launcher defines around it
# (src/launcher/Launcher_win.cpp): each library needs the other, so the link repeats them.
set_property(TARGET qova_core APPEND PROPERTY INTERFACE_LINK_LIBRARIES qova_win)

# Everything links statically (libgcc, libstdc++, winpthread): the exe imports Windows DLLs only.
# zig links its libc++, libunwind and C runtime parts statically anyway.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(QOVA_STATIC_LINK -static -static-libgcc -static-libstdc++)
else()
    set(QOVA_STATIC_LINK)
endif()

# Programs that start from wmain or wWinMain. MinGW-w64 GCC starts them with -municode; zig's C
# runtime starts only main, whose entry in src/entry hands the wide command line on (the
# launcher and the programs built as it is read the command line themselves, as they always
# did, and ignore wWinMain's arguments).
function(qova_wide_entry target kind)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_link_options(${target} PRIVATE -municode)
    elseif(kind STREQUAL "wWinMain")
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/entry/WinMainEntry_win.cpp)
        # zig takes -mwindows, and still marks the program a console one.
        target_link_options(${target} PRIVATE -Wl,--subsystem,windows)
    else()
        target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/entry/WmainEntry_win.cpp)
        target_link_libraries(${target} PRIVATE shell32)
    endif()
endfunction()

# The event log's message table, compiled by binutils' message compiler; its output does not
# depend on the target machine, so one compiler serves every build.
find_program(QOVA_WINDMC NAMES x86_64-w64-mingw32-windmc i686-w64-mingw32-windmc windmc REQUIRED)
set(QOVA_MESSAGES_DIR ${CMAKE_BINARY_DIR}/messages)
add_custom_command(OUTPUT ${QOVA_MESSAGES_DIR}/MSG00409.bin
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QOVA_MESSAGES_DIR}
    COMMAND ${QOVA_WINDMC} -h ${QOVA_MESSAGES_DIR} -r ${QOVA_MESSAGES_DIR}
            ${CMAKE_SOURCE_DIR}/src/res/messages.mc
    DEPENDS ${CMAKE_SOURCE_DIR}/src/res/messages.mc VERBATIM)
add_custom_target(qova_messages DEPENDS ${QOVA_MESSAGES_DIR}/MSG00409.bin)
# For every program built with the launcher's resources.
function(qova_launcher_resources target)
    target_include_directories(${target} PRIVATE ${QOVA_MESSAGES_DIR})
    add_dependencies(${target} qova_messages)
endfunction()

function(qova_launcher_executable target)
    add_executable(${target} WIN32 ${QOVA_EXE_SOURCES} ${CMAKE_SOURCE_DIR}/src/res/launcher.rc)
    target_link_libraries(${target} PRIVATE qova_win)
    target_compile_options(${target} PRIVATE -Wall -Wextra ${QOVA_SIZE_FLAGS})
    set_target_properties(${target} PROPERTIES QOVA_WHOLE_PROGRAM ON)
    target_link_options(${target} PRIVATE ${QOVA_SIZE_LINK_OPTIONS} ${QOVA_STATIC_LINK})
    qova_wide_entry(${target} wWinMain)
    qova_launcher_resources(${target})
endfunction()
qova_launcher_executable(launcher)
# The link writes a map, and its output is kept with its symbols as launcher-symbols.exe before
# the launcher is stripped: scripts/size-breakdown.py reads both to say where the bytes go.
set(QOVA_LAUNCHER_MAP ${CMAKE_BINARY_DIR}/launcher.map)
set(QOVA_LAUNCHER_SYMBOLS ${CMAKE_BINARY_DIR}/launcher-symbols.exe)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_link_options(launcher PRIVATE -Wl,-Map=${QOVA_LAUNCHER_MAP})
endif()
# windres reports no dependencies, so every file the script includes is named here, or a
# changed string table would leave the old one linked in.
set(QOVA_RESOURCE_INPUTS launcher.manifest launcher.ico strings.rc dialogs.rc resource.h)
list(TRANSFORM QOVA_RESOURCE_INPUTS PREPEND ${CMAKE_SOURCE_DIR}/src/res/)
list(APPEND QOVA_RESOURCE_INPUTS ${QOVA_MESSAGES_DIR}/MSG00409.bin)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/res/launcher.rc PROPERTIES
    OBJECT_DEPENDS "${QOVA_RESOURCE_INPUTS}")
set(QOVA_SIZE_BUDGET ${CMAKE_SOURCE_DIR}/tests/size-budget.txt)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(QOVA_LAUNCHER_STRIP
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:launcher> ${QOVA_LAUNCHER_SYMBOLS}
        # strip writes a PE header of its own, with the time it runs unless given one.
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP} $<TARGET_FILE:launcher>)
    set(QOVA_LAUNCHER_BYPRODUCTS BYPRODUCTS ${QOVA_LAUNCHER_SYMBOLS})
else()
    # lld writes symbols only to a .pdb, and names that file, with its identifier, in a debug
    # directory of the exe: the launcher is linked without them (-s), which leaves no debug
    # directory and nothing to strip, and lld writes no time (cmake/zig/zig-tool.sh). A second
    # link of the same objects with them writes launcher-symbols.pdb, which the symbol listing
    # reads (cmake/zig/pdb-symbols): in seconds, as only link-time code generation is repeated.
    target_link_options(launcher PRIVATE -s)
    qova_launcher_executable(launcher_symbols)
    set_target_properties(launcher_symbols PROPERTIES OUTPUT_NAME launcher-symbols)
    add_dependencies(launcher launcher_symbols)
    set(QOVA_LAUNCHER_SYMBOLS ${CMAKE_BINARY_DIR}/bin/launcher-symbols.pdb)
    set(QOVA_LAUNCHER_STRIP)
    set(QOVA_LAUNCHER_BYPRODUCTS)
    set(CMAKE_NM ${CMAKE_SOURCE_DIR}/cmake/zig/pdb-symbols)
endif()
add_custom_command(TARGET launcher POST_BUILD
    ${QOVA_LAUNCHER_STRIP}
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:launcher> -DARCHITECTURE=${CMAKE_SYSTEM_PROCESSOR}
            -DBUDGET_FILE=${QOVA_SIZE_BUDGET} -P ${CMAKE_SOURCE_DIR}/cmake/size-report.cmake
    ${QOVA_LAUNCHER_BYPRODUCTS}
    VERBATIM)

# GoogleTest, cross-built from the Debian sources.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

# ARM64 programs run in a Wine of their own (an ARM64 Debian root, scripts/wine-run-arm64.sh).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run-arm64.sh)
else()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
endif()

function(qova_windows_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    target_link_options(${name} PRIVATE ${QOVA_STATIC_LINK})
    add_test(NAME ${name} COMMAND ${name})
    # The test programs open windows, find them and take screenshots on the one display: one
    # at a time (scripts/test.sh runs the other tests beside them).
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_display)
endfunction()

# Files and folders for the Windows-side tests.
add_library(test_files STATIC ${CMAKE_SOURCE_DIR}/tests/common/TestFiles.cpp
                              ${CMAKE_SOURCE_DIR}/tests/common/MessageBoxes.cpp
                              ${CMAKE_SOURCE_DIR}/tests/common/Screenshot.cpp
                              ${CMAKE_SOURCE_DIR}/tests/common/TestImages.cpp)
target_include_directories(test_files PUBLIC ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(test_files PUBLIC user32 gdi32)
target_compile_definitions(test_files PUBLIC ${QOVA_WIN_DEFINITIONS})

# The checked-in test pictures, beside the test programs in bin/images.
file(GLOB QOVA_TEST_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/images/*.gif
                                             ${CMAKE_SOURCE_DIR}/tests/images/*.jpg)
add_custom_target(test_images
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/images
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QOVA_TEST_IMAGES} ${CMAKE_BINARY_DIR}/bin/images
    VERBATIM)
add_dependencies(test_files test_images)

# Tier 2: the Windows operations under Wine. They are written from the 64-bit launcher's side
# (its registry views, its private runtime folder); the paired build is tested end to end.
file(GLOB QOVA_WINDOWS_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
if(QOVA_WINDOWS_TESTS AND NOT QOVA_PAIRED_BUILD)
    qova_windows_test(windows_tests ${QOVA_WINDOWS_TESTS})
    # The string table and the dialogs too, so that they load as in the launcher.
    target_sources(windows_tests PRIVATE ${CMAKE_SOURCE_DIR}/src/res/strings.rc
                                         ${CMAKE_SOURCE_DIR}/src/res/dialogs.rc)
    target_link_libraries(windows_tests PRIVATE qova_win test_files)
endif()

# The test Java runtime (jvm.dll and friends), laid out by its own CMakeLists.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/testjvm/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/tests/testjvm testjvm)
endif()

# Tier 3: the real launcher exe driven as a user would.
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/e2e e2e)

# The stamping tool on copies of the launcher, in the x64 and 32-bit trees: the tool is the same
# program, and zig's C runtime for ARM64 has no imagehlp, whose checksum the tests compare with.
if(NOT QOVA_ARM64_BUILD)
    add_subdirectory(${CMAKE_SOURCE_DIR}/tests/stamp stamp)
else()
    # The ARM64 launcher stamped by the ARM64 tool, signed, launched signed, stamped again.
    add_test(NAME stamp_signing
        COMMAND ${CMAKE_SOURCE_DIR}/tests/stamp/check-signing.sh ${CMAKE_BINARY_DIR} arm64)
endif()

# The release script packs what this tree built, the paired launcher included: it runs from
# the 64-bit tree only.
if(NOT QOVA_PAIRED_BUILD AND NOT QOVA_ARM64_BUILD)
    add_test(NAME release_package
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-release.sh ${CMAKE_BINARY_DIR})
endif()

# The launcher imports only DLLs that Windows loads from its system folder, and loads any other
# library by full path: a DLL dropped beside the exe is never picked up by the launcher itself.
add_test(NAME launcher_imports
    COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh --objdump ${CMAKE_OBJDUMP}
            --system-folder-only $<TARGET_FILE:launcher> ole32.dll oleaut32.dll msimg32.dll)
# The launcher's bytes carry no time and no folder of the build, which is what made two builds
# of one commit differ (checked on the built file; scripts/reproducible.sh builds twice). The
# 64-bit tree checks every launcher it builds (cmake/paired-build.cmake).
find_program(QOVA_READOBJ NAMES llvm-readobj-14 llvm-readobj REQUIRED)
function(qova_reproducible_check name exe)
    add_test(NAME ${name}
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-reproducible.sh ${QOVA_READOBJ} ${exe}
                ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/build/tools/zig
                ${CMAKE_SOURCE_DIR}/build/tools/zig-cache)
endfunction()
if(NOT QOVA_PAIRED_BUILD AND NOT QOVA_ARM64_BUILD)
    qova_reproducible_check(launcher_reproducible $<TARGET_FILE:launcher>)
endif()
# Both launchers build from the same sources: their library loads are checked once.
if(NOT QOVA_PAIRED_BUILD AND NOT QOVA_ARM64_BUILD)
    add_test(NAME launcher_library_loads
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-library-loads.sh ${CMAKE_SOURCE_DIR}/src)
endif()

# The launcher stays within its size budget, which is only ever lowered, and carries none of the
# C++ runtime parts it was freed of.
add_test(NAME launcher_size
    COMMAND ${CMAKE_SOURCE_DIR}/tests/check-size.sh $<TARGET_FILE:launcher> ${QOVA_LAUNCHER_SYMBOLS}
            ${CMAKE_SYSTEM_PROCESSOR} ${QOVA_SIZE_BUDGET} ${CMAKE_NM})

if(NOT QOVA_PAIRED_BUILD AND NOT QOVA_ARM64_BUILD)
    include(cmake/paired-build.cmake)
endif()
