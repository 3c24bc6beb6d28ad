# Native (host) build: the portable core under AddressSanitizer and UBSan, with its unit
# tests and the fuzz targets. With QOVA_LIBFUZZER (clang only, scripts/fuzz.sh) the tree builds
# just the fuzz targets, linked with libFuzzer instead of the replaying driver.
option(QOVA_SANITIZE "Build the portable core and its tests with ASan and UBSan" ON)
option(QOVA_LIBFUZZER "Build the fuzz targets with libFuzzer (clang)" OFF)
if(QOVA_SANITIZE)
    set(QOVA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(qova_core PUBLIC ${QOVA_SANITIZER_FLAGS})
    target_link_options(qova_core PUBLIC ${QOVA_SANITIZER_FLAGS})
endif()
if(QOVA_LIBFUZZER)
    # Coverage instrumentation for the code under test; the targets link libFuzzer itself.
    target_compile_options(qova_core PUBLIC -fsanitize=fuzzer-no-link)
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

file(GLOB QOVA_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
if(QOVA_UNIT_TESTS AND NOT QOVA_LIBFUZZER)
    add_executable(unit_tests ${QOVA_UNIT_TESTS})
    target_link_libraries(unit_tests PRIVATE qova_core stamp_core GTest::gtest_main)
    target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
    # The documentation tests read the pages and the sources they describe from the tree.
    target_compile_definitions(unit_tests PRIVATE QOVA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME unit_tests COMMAND unit_tests)
endif()

# scripts/explain.py, on traces written line by line.
find_program(QOVA_PYTHON python3)
if(QOVA_PYTHON AND NOT QOVA_LIBFUZZER)
    add_test(NAME explain_script
             COMMAND ${QOVA_PYTHON} ${CMAKE_SOURCE_DIR}/tests/scripts/explain_test.py)
endif()

# Fuzz targets: each tests/fuzz/fuzz_NAME.cpp defines LLVMFuzzerTestOneInput and has its seed
# corpus in tests/fuzz/corpus/fuzz_NAME. With g++ they are linked with a driver that replays
# the corpus and then feeds a fixed number of pseudo-random and mutated inputs, so ctest runs
# them under the sanitizers; scripts/fuzz.sh builds them with libFuzzer and fuzzes each a while.
file(GLOB QOVA_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
add_custom_target(fuzz_targets)
foreach(fuzz_source ${QOVA_FUZZ_TARGETS})
    get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
    if(QOVA_LIBFUZZER)
        add_executable(${fuzz_name} ${fuzz_source})
        target_link_options(${fuzz_name} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${fuzz_name} ${fuzz_source} ${CMAKE_SOURCE_DIR}/tests/fuzz/driver.cpp)
        add_test(NAME ${fuzz_name}
                 COMMAND ${fuzz_name} 20000 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${fuzz_name})
    endif()
    target_link_libraries(${fuzz_name} PRIVATE qova_core stamp_core)
    add_dependencies(fuzz_targets ${fuzz_name})
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

# The jar corpus: the jar reader against java.util.jar over real and purpose-made jars
# (tests/jars/check-corpus.py; skipped without a JDK).
if(NOT QOVA_LIBFUZZER)
    add_executable(jar_corpus_reader ${CMAKE_SOURCE_DIR}/tests/jars/jar_corpus_reader.cpp)
    target_link_libraries(jar_corpus_reader PRIVATE qova_core)
    if(QOVA_PYTHON)
        add_test(NAME jar_corpus
                 COMMAND ${QOVA_PYTHON} ${CMAKE_SOURCE_DIR}/tests/jars/check-corpus.py
                         $<TARGET_FILE:jar_corpus_reader>)
        set_tests_properties(jar_corpus PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
    endif()
endif()

# The HotSpot tier (tests/hotspot/run.sh runs it): the launcher's conversation with the VM, built
# from the same sources without sanitizers, since HotSpot handles SIGSEGV itself (for null
# checks and safepoints), and run against the Linux JDK's libjvm.so.
file(GLOB QOVA_HOTSPOT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/hotspot/*.cpp)
if(QOVA_HOTSPOT_SOURCES AND NOT QOVA_LIBFUZZER)
    add_library(qova_core_plain STATIC EXCLUDE_FROM_ALL ${QOVA_CORE_SOURCES})
    target_include_directories(qova_core_plain PUBLIC ${CMAKE_SOURCE_DIR}/src)
    add_executable(hotspot_tier ${QOVA_HOTSPOT_SOURCES})
    target_include_directories(hotspot_tier PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
    target_compile_options(hotspot_tier PRIVATE -Wall -Wextra)
    target_link_libraries(hotspot_tier PRIVATE qova_core_plain GTest::gtest ${CMAKE_DL_LIBS})
endif()
