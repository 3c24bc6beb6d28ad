# Cross build for 64-bit Windows: the launcher, the Windows tests, the end-to-end tests and
# the test Java runtime. Tests run under Wine through the crosscompiling emulator.
# The same file builds the paired 32-bit launcher in a second configure (paired-build.cmake).
enable_language(RC)

set(QOVA_PAIRED_BUILD OFF)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QOVA_PAIRED_BUILD ON)
endif()

set(QOVA_WIN_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(QOVA_SIZE_FLAGS -Os -ffunction-sections -fdata-sections)
target_compile_definitions(qova_core PUBLIC ${QOVA_WIN_DEFINITIONS})
target_compile_options(qova_core PRIVATE ${QOVA_SIZE_FLAGS})

# The Windows operations: every src/**/*_win.cpp except the process entry.
file(GLOB_RECURSE QOVA_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*_win.cpp)
list(REMOVE_ITEM QOVA_WIN_SOURCES ${CMAKE_SOURCE_DIR}/src/launcher/main_win.cpp)
add_library(qova_win STATIC ${QOVA_WIN_SOURCES})
target_link_libraries(qova_win PUBLIC qova_core
    user32 gdi32 advapi32 shell32 ole32 oleaut32 uuid comctl32 msimg32)
target_compile_options(qova_win PRIVATE -Wall -Wextra ${QOVA_SIZE_FLAGS})

# Everything links statically (libgcc, libstdc++, winpthread): the exe imports Windows DLLs only.
set(QOVA_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_executable(launcher WIN32 ${CMAKE_SOURCE_DIR}/src/launcher/main_win.cpp
                              ${CMAKE_SOURCE_DIR}/src/res/launcher.rc)
target_link_libraries(launcher PRIVATE qova_win)
target_compile_options(launcher PRIVATE -Wall -Wextra ${QOVA_SIZE_FLAGS})
target_link_options(launcher PRIVATE -municode ${QOVA_STATIC_LINK} -Wl,--gc-sections -s)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/res/launcher.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/res/launcher.manifest;${CMAKE_SOURCE_DIR}/src/res/launcher.ico")
add_custom_command(TARGET launcher POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:launcher> -DARCHITECTURE=${CMAKE_SYSTEM_PROCESSOR}
            -P ${CMAKE_SOURCE_DIR}/cmake/size-report.cmake
    VERBATIM)

# GoogleTest, cross-built from the Debian sources.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)

function(qova_windows_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    target_link_options(${name} PRIVATE ${QOVA_STATIC_LINK})
    add_test(NAME ${name} COMMAND ${name})
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

# The stamping tool on copies of the launcher.
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/stamp stamp)

# The release script packs what this tree built, the paired launcher included: it runs from
# the 64-bit tree only.
if(NOT QOVA_PAIRED_BUILD)
    add_test(NAME release_package
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-release.sh ${CMAKE_BINARY_DIR})
endif()

# The launcher imports only DLLs that Windows loads from its system folder, and loads any other
# library by full path: a DLL dropped beside the exe is never picked up by the launcher itself.
add_test(NAME launcher_imports
    COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh --system-folder-only
            $<TARGET_FILE:launcher> ole32.dll oleaut32.dll msimg32.dll)
# Both launchers build from the same sources: their library loads are checked once.
if(NOT QOVA_PAIRED_BUILD)
    add_test(NAME launcher_library_loads
        COMMAND ${CMAKE_SOURCE_DIR}/tests/check-library-loads.sh ${CMAKE_SOURCE_DIR}/src)
endif()

if(NOT QOVA_PAIRED_BUILD)
    include(cmake/paired-build.cmake)
endif()
