# Helpers that declare tests of both flavours, so that one CTest run of the
# host build runs everything (it includes the win32 build's tests).

include(GoogleTest)

if(DIDA_WIN32)
  # GoogleTest, cross-built from Debian's sources.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
else()
  find_package(GTest REQUIRED)
endif()

set(DIDA_WINE_STATE ${CMAKE_BINARY_DIR}/wine CACHE INTERNAL "")
# Each Windows flavour has its own harness (fixture and lock named after the
# Wine it needs), so the two flavours' Wine tests can run side by side; the
# flavour's name starts every test name and is its label.
if(DIDA_WIN32)
  string(REPLACE "win" "wine" DIDA_WINE_FIXTURE ${DIDA_FLAVOUR})
  set(DIDA_TEST_PREFIX "${DIDA_FLAVOUR}:")
endif()
set(DIDA_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs in the test suite")

# Adds every sub-folder of AREA that has a CMakeLists.txt (and AREA itself).
function(dida_add_subfolders area)
  set(dir ${CMAKE_SOURCE_DIR}/${area})
  if(EXISTS ${dir}/CMakeLists.txt)
    add_subdirectory(${dir} ${CMAKE_BINARY_DIR}/${area})
    return()
  endif()
  file(GLOB children LIST_DIRECTORIES true ${dir}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${child})
      add_subdirectory(${child} ${CMAKE_BINARY_DIR}/${rel})
    endif()
  endforeach()
endfunction()

# dida_host_test(NAME SOURCES ... LIBS ...): a native GoogleTest program.
function(dida_host_test name)
  if(DIDA_WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 LABELS host)
endfunction()

# dida_win32_test(NAME SOURCES ... LIBS ... [RESOURCES file.rc ...]): a Win32
# GoogleTest program run under Wine, one Wine process per test case.
function(dida_win32_test name)
  if(NOT DIDA_WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;RESOURCES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_RESOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  gtest_add_tests(TARGET ${name} SOURCES ${T_SOURCES} TEST_PREFIX ${DIDA_TEST_PREFIX}
    TEST_LIST added)
  set_tests_properties(${added} PROPERTIES
    FIXTURES_REQUIRED ${DIDA_WINE_FIXTURE} RESOURCE_LOCK ${DIDA_WINE_FIXTURE} TIMEOUT 120
    LABELS ${DIDA_FLAVOUR} ENVIRONMENT "DIDA_WINE_STATE=${DIDA_WINE_STATE}")
endfunction()

# dida_e2e_test(NAME COMMAND ...): a script that drives the real dida.exe.
function(dida_e2e_test name)
  if(NOT DIDA_WIN32)
    return()
  endif()
  add_test(NAME ${DIDA_TEST_PREFIX}${name} COMMAND ${ARGN})
  set_tests_properties(${DIDA_TEST_PREFIX}${name} PROPERTIES
    FIXTURES_REQUIRED ${DIDA_WINE_FIXTURE} RESOURCE_LOCK ${DIDA_WINE_FIXTURE} TIMEOUT 300
    LABELS "e2e;${DIDA_FLAVOUR}" ENVIRONMENT "DIDA_WINE_STATE=${DIDA_WINE_STATE};DIDA_EXE=$<TARGET_FILE:dida>;DIDA_BUILD=${CMAKE_BINARY_DIR}")
endfunction()

# dida_fuzz_target(NAME SOURCES ... [CORPUS dir] [CRASHERS dir]): a libFuzzer
# target with ASan and UBSan, run for DIDA_FUZZ_SECONDS by the test suite after
# it has replayed every saved crasher.
function(dida_fuzz_target name)
  if(NOT DIDA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "CORPUS;CRASHERS" "SOURCES;INCLUDES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${T_INCLUDES})
  set(san -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
  target_compile_options(${name} PRIVATE ${san} -g -O1)
  target_link_options(${name} PRIVATE ${san})
  add_test(NAME ${name}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz.sh $<TARGET_FILE:${name}>
            ${DIDA_FUZZ_SECONDS} ${CMAKE_BINARY_DIR}/fuzz-work/${name}
            "${T_CORPUS}" "${T_CRASHERS}")
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS fuzz)
endfunction()

# The host build also runs the Windows flavours' tests, so one CTest run
# counts every test. Which flavours this host can run is decided once per run
# (scripts/wine-flavours.sh, by trying each Wine); a flavour that was built but
# cannot run here shows in the summary as a test that did not run. Each
# Windows build starts and stops its Wine harness as a test fixture.
function(dida_finish_tests)
  if(DIDA_WIN32)
    string(REPLACE "win" "" bits ${DIDA_FLAVOUR})
    add_test(NAME ${DIDA_TEST_PREFIX}wine_harness_start COMMAND
      ${CMAKE_SOURCE_DIR}/scripts/harness.sh start ${DIDA_WINE_STATE} ${bits}
      $<TARGET_FILE:desktop-keeper>)
    add_test(NAME ${DIDA_TEST_PREFIX}wine_harness_stop COMMAND
      ${CMAKE_SOURCE_DIR}/scripts/harness.sh stop ${DIDA_WINE_STATE})
    set_tests_properties(${DIDA_TEST_PREFIX}wine_harness_start PROPERTIES
      FIXTURES_SETUP ${DIDA_WINE_FIXTURE} TIMEOUT 400 LABELS ${DIDA_FLAVOUR})
    set_tests_properties(${DIDA_TEST_PREFIX}wine_harness_stop PROPERTIES
      FIXTURES_CLEANUP ${DIDA_WINE_FIXTURE} TIMEOUT 60 LABELS ${DIDA_FLAVOUR})
  elseif(DIDA_WINDOWS_BUILD_ROOT)
    set(DIDA_FLAVOURS_SCRIPT ${CMAKE_SOURCE_DIR}/scripts/wine-flavours.sh)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/WindowsTests.cmake.in
      ${CMAKE_BINARY_DIR}/windows-tests.cmake @ONLY)
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY
      TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/windows-tests.cmake)
  endif()
endfunction()

# dida_benchmark(NAME SOURCES ... LIBS ...): a Google Benchmark program of
# the host build, run by hand (benchmarks are not tests).
function(dida_benchmark name)
  if(DIDA_WIN32)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    message(STATUS "Google Benchmark not found: ${name} is left out")
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_compile_options(${name} PRIVATE -O2)
endfunction()
