# qova_library(<name> [DEPS lib...] [EXCLUDE_DIRS dir...]): a static library of
# the *.cpp files below the calling folder. The repository root is the include root ("platform/Archive.h").
function(qova_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES;EXCLUDE_DIRS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir ${ARG_EXCLUDE_DIRS})
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${dir}/")
  endforeach()
  list(APPEND srcs ${ARG_SOURCES})
  if(NOT srcs)
    # A folder whose library has no code yet still gives a target to link.
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${stub} "// intentionally empty\n")
    set(srcs ${stub})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# qova_test(<name> [LIBS lib...]): one GoogleTest executable of the *_test.cpp
# files of the calling folder and its sub-folders (but fuzz/), registered with
# CTest.
# QOVA_TEST_FILES ("<folder>/<file>_test.cpp" below tests/), when set, keeps
# only the listed files, and a program left without any is not made: a
# sanitizer build that runs a few tests compiles just those.
set(QOVA_TEST_FILES "" CACHE STRING "Build only these test files (folder/file_test.cpp below tests/); empty: all")
# Most of a test file's compile time goes into the test framework's headers, so
# each test program precompiles them once. A compiler cache cannot reuse
# objects built against a precompiled header without settings of its own, so
# builds through a launcher leave it off by default.
if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(qova_test_pch_default OFF)
else()
  set(qova_test_pch_default ON)
endif()
option(QOVA_TEST_PCH "Precompile the test framework's headers for each test program" ${qova_test_pch_default})
# The test programs' own sources (not the libraries they test, which keep the
# build type's optimisation) are compiled at -Og in optimised builds: their
# speed hardly counts, and at -O2 the compiler spends about a third more time
# on the expanded assertions. -Og keeps the flow analysis behind the
# uninitialised-variable warnings. Empty: the build type's level.
set(QOVA_TEST_OPTIMIZE "-Og" CACHE STRING "Optimisation of the test programs' own sources in optimised builds")
function(qova_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/fuzz/")
  if(QOVA_TEST_FILES)
    set(kept "")
    foreach(src ${srcs})
      file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/tests ${src})
      if(relative IN_LIST QOVA_TEST_FILES)
        list(APPEND kept ${src})
      endif()
    endforeach()
    set(srcs ${kept})
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qova_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  if(QOVA_TEST_OPTIMIZE)
    target_compile_options(${name} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${QOVA_TEST_OPTIMIZE}>)
  endif()
  if(QOVA_TEST_PCH)
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <algorithm> <filesystem> <functional>
                              <map> <memory> <string> <vector>)
    # GCC 12 no longer treats the standard library's code as a system header's
    # once it comes from a precompiled header, and reports its known false
    # bounds and overflow findings inside std::string's operator+ there.
    target_compile_options(${name} PRIVATE
                           $<$<CXX_COMPILER_ID:GNU>:-Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread -Wno-restrict>)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()

# qova_fuzz_target(<name> <source> [LIBS lib...]): a libFuzzer target, built
# only with QOVA_FUZZ=ON. Its seed corpus lives in tests/<folder>/fuzz/corpus/<name>/.
function(qova_fuzz_target name source)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(NOT QOVA_FUZZ)
    return()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY QOVA_FUZZ_TARGETS ${name})
endfunction()
