# kvz_library(<name> SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
# A shared library whose headers are found from the repository root
# ("platform/mfc/CString.h") as well as from its own folder.
function(kvz_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET default)
endfunction()

# kvz_program(<target>): what every program of the project carries (the leak checker's
# suppressions in a sanitizer build).
function(kvz_program target)
  if(KVZ_SANITIZE)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/LsanSuppressions.cpp)
  endif()
endfunction()

# kvz_tests(<name> SOURCES ... DEPS ...): one GoogleTest binary per library, with the project's
# test main (cmake/TestMain.cpp: a failed suite set-up fails its tests, a skip in CI fails).
function(kvz_tests name)
  if(NOT KVZ_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TARGET kvz_test_main)
    add_library(kvz_test_main STATIC ${PROJECT_SOURCE_DIR}/cmake/TestMain.cpp)
    target_link_libraries(kvz_test_main PUBLIC GTest::gtest)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  kvz_program(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock kvz_test_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# kvz_backend_tests(<name> [FILTER <gtest filter>]): the test binary <name> (or the tests of
# it the filter selects) registered a second time for PostgreSQL (environment
# KVZ_TEST_BACKEND=postgresql, test names ending in "@pg"). Its fixtures then open their
# databases on the server that KVZ_TEST_PG names, and skip without one (fail under CI=true).
function(kvz_backend_tests name)
  if(NOT KVZ_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "FILTER" "" ${ARGN})
  set(filter)
  if(ARG_FILTER)
    set(filter TEST_FILTER "${ARG_FILTER}")
  endif()
  gtest_discover_tests(${name} TEST_SUFFIX "@pg" DISCOVERY_TIMEOUT 60 ${filter}
    PROPERTIES TIMEOUT 180 ENVIRONMENT "KVZ_TEST_BACKEND=postgresql")
endfunction()

# kvz_fuzzer(<name> SOURCES ... [DEPS ...]): a libFuzzer target (KVZ_FUZZ builds, clang only),
# run as "<name> -max_total_time=600 corpus/". The target "fuzzers" builds every one.
function(kvz_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY KVZ_FUZZERS ${name})
endfunction()
