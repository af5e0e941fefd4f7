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
# files of the calling folder, registered with CTest.
# QOVA_TEST_FILES ("<folder>/<file>_test.cpp" below tests/), when set, keeps
# only the listed files, and a program left without any is not made: a
# sanitizer build that runs a few tests compiles just those.
set(QOVA_TEST_FILES "" CACHE STRING "Build only these test files (folder/file_test.cpp below tests/); empty: all")
function(qova_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
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
