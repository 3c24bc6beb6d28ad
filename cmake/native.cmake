# Native (host) build: the portable core under AddressSanitizer and UBSan, with its unit
# tests and the fuzz targets.
option(QOVA_SANITIZE "Build the portable core and its tests with ASan and UBSan" ON)
if(QOVA_SANITIZE)
    set(QOVA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(qova_core PUBLIC ${QOVA_SANITIZER_FLAGS})
    target_link_options(qova_core PUBLIC ${QOVA_SANITIZER_FLAGS})
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

file(GLOB QOVA_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
if(QOVA_UNIT_TESTS)
    add_executable(unit_tests ${QOVA_UNIT_TESTS})
    target_link_libraries(unit_tests PRIVATE qova_core stamp_core GTest::gtest_main)
    target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
    add_test(NAME unit_tests COMMAND unit_tests)
endif()

# scripts/explain.py, on traces written line by line.
find_program(QOVA_PYTHON python3)
if(QOVA_PYTHON)
    add_test(NAME explain_script
             COMMAND ${QOVA_PYTHON} ${CMAKE_SOURCE_DIR}/tests/scripts/explain_test.py)
endif()

# Fuzz targets: each tests/fuzz/*.cpp defines LLVMFuzzerTestOneInput. With g++ they are
# linked with a driver that feeds a fixed number of pseudo-random and mutated inputs, so
# ctest runs them under the sanitizers; scripts/fuzz.sh builds them with libFuzzer.
file(GLOB QOVA_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(fuzz_source ${QOVA_FUZZ_TARGETS})
    get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
    add_executable(${fuzz_name} ${fuzz_source} ${CMAKE_SOURCE_DIR}/tests/fuzz/driver.cpp)
    target_link_libraries(${fuzz_name} PRIVATE qova_core stamp_core)
    add_test(NAME ${fuzz_name} COMMAND ${fuzz_name} 20000)
endforeach()

# Benchmarks: each tests/bench/bench_*.cpp is a program that prints its figures (not a test;
# scripts/bench.sh runs them). Built without sanitizers so the figures mean something.
file(GLOB QOVA_BENCHMARKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/bench_*.cpp)
if(QOVA_BENCHMARKS)
    add_library(qova_core_bench STATIC EXCLUDE_FROM_ALL ${QOVA_CORE_SOURCES})
    target_include_directories(qova_core_bench PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(qova_core_bench PRIVATE -O2)
    add_custom_target(benchmarks)
    foreach(bench_source ${QOVA_BENCHMARKS})
        get_filename_component(bench_name ${bench_source} NAME_WE)
        add_executable(${bench_name} EXCLUDE_FROM_ALL ${bench_source})
        target_compile_options(${bench_name} PRIVATE -O2)
        target_link_libraries(${bench_name} PRIVATE qova_core_bench)
        add_dependencies(benchmarks ${bench_name})
    endforeach()
endif()
