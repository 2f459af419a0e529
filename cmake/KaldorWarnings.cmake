# Warnings are errors in our own code; third-party headers come in as SYSTEM.
function(kaldor_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports impossible overlaps in inlined std::string copies at -O2 and above
    # (a known false positive); keep it from failing optimised builds.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# Test programs are built for a short build rather than for speed: they run for seconds,
# while their assertion macros and templates make them the costliest sources to compile
# (twice as long at -O2 as at -O1). Under the sanitizers their own code keeps the address
# checks and leaves the undefined-behaviour ones, which double its build time, to the
# library and program code that the tests drive.
#
# Their sources are also compiled in batches of eight, each batch one unit including its files
# (a unity build): a test source spends most of its time in the same GoogleTest and library
# headers, so a batch costs little more than its largest member. Helpers of a test source
# therefore need names of their own within the program, anonymous namespace or not.
option(KALDOR_UNITY_TESTS "Compile each test program's sources in batches of eight" ON)
function(kaldor_test_program target)
  target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo,Release,MinSizeRel>:-O1>)
  if(KALDOR_UNITY_TESTS)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # A fixture in an anonymous namespace of an included file is not a fault here.
      target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
  endif()
  if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=[^ ]*undefined")
    target_compile_options(${target} PRIVATE -fno-sanitize=undefined)
  endif()
endfunction()

# A static library made of every .cpp in the given folders of src/ (and their sub-folders).
function(kaldor_library name)
  set(_sources)
  foreach(folder IN LISTS ARGN)
    file(GLOB_RECURSE _found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND _sources ${_found})
  endforeach()
  if(NOT _sources)
    # A library whose folder is still empty builds from one empty unit.
    set(_sources ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${_sources} "// no sources yet\n")
  endif()
  add_library(${name} STATIC ${_sources})
  add_library(kaldor::${name} ALIAS ${name})
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${name} POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kaldor-ss>)
  kaldor_warnings(${name})
endfunction()

# One GoogleTest program per folder of tests/, made of every *_test.cpp in it.
function(kaldor_test_suite name folder)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT _sources)
    return()
  endif()
  add_executable(${name} ${_sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    KALDOR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data/"
    KALDOR_SAMPLE_LIBRARY="${PROJECT_SOURCE_DIR}/samples/library/")
  kaldor_warnings(${name})
  kaldor_test_program(${name})
  kaldor_register_tests(${name} "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
endfunction()

# How CTest runs a GoogleTest program: one CTest test per case (each case in a process of its
# own, named in the report), or with KALDOR_TEST_SHARDS set, that many CTest tests per program,
# each running its share of the cases in one process. The sanitizer tree uses shards: there a
# process start costs about a third of a second (the runtime maps its shadow memory and
# registers every global), which over some 800 cases was most of the suite's time.
set(KALDOR_TEST_SHARDS 0 CACHE STRING
  "Run each test program as this many CTest shards instead of one CTest test per case (0)")
# A program whose cases start processes of their own gives a weight of 2 or more: it gets that
# many times the shards, and CTest starts them first so that they do not finish last.
function(kaldor_register_tests name environment)
  if(KALDOR_TEST_SHARDS GREATER 0)
    set(_weight 1)
    if(ARGC GREATER 2)
      set(_weight ${ARGV2})
    endif()
    math(EXPR _shards "${KALDOR_TEST_SHARDS} * ${_weight}")
    math(EXPR _last "${_shards} - 1")
    foreach(_shard RANGE ${_last})
      add_test(NAME ${name}.shard${_shard} COMMAND ${name})
      set_tests_properties(${name}.shard${_shard} PROPERTIES TIMEOUT 1200 COST ${_weight} ENVIRONMENT
        "GTEST_TOTAL_SHARDS=${_shards};GTEST_SHARD_INDEX=${_shard};${environment}")
    endforeach()
  elseif(environment)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 ENVIRONMENT "${environment}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()
