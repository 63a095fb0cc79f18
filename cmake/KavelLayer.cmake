# kavel_layer(target folder [dependencies...]): a static library of every .cpp in the folder
# (recursively), with the repository root as include directory.
function(kavel_layer target folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  add_library(${target} STATIC ${PROJECT_SOURCE_DIR}/cmake/empty.cpp ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARGN)
    target_link_libraries(${target} PUBLIC ${ARGN})
  endif()
endfunction()

# kavel_test_folder(name folder [libraries...]): one GoogleTest program of every *_test.cpp in
# tests/<folder>, registered with ctest test by test.
function(kavel_test_folder name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # A test that hangs fails after two minutes instead of holding CI up.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                       PROPERTIES TIMEOUT 120)
endfunction()

# kavel_postgres_pass(name): registers the tests of test program `name` a second time, as
# `<test>.pg`, on the PostgreSQL server of the fixture `postgres` (label `postgresql`); the
# fixture's state file holds the server's URL (see tests/TestDatabase.h).
function(kavel_postgres_pass name)
  if(NOT TARGET ${name} OR NOT KAVEL_PG_CLUSTER)
    return()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                       TEST_SUFFIX .pg
                       PROPERTIES TIMEOUT 240 FIXTURES_REQUIRED postgres LABELS postgresql
                       ENVIRONMENT "KAVEL_TEST_DB=${KAVEL_PG_STATE}/url")
endfunction()

# kavel_header_check(folders...): one translation unit per header that includes only that header,
# compiled (not linked), so every header keeps including what it uses.
function(kavel_header_check)
  set(units)
  foreach(folder ${ARGN})
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
         ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    foreach(header ${headers})
      string(MAKE_C_IDENTIFIER ${header} unit)
      set(file ${CMAKE_BINARY_DIR}/header_check/${unit}.cpp)
      if(NOT EXISTS ${file})
        file(WRITE ${file} "#include \"${header}\"\n")
      endif()
      list(APPEND units ${file})
    endforeach()
  endforeach()
  add_library(header_check OBJECT ${units})
  target_include_directories(header_check PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(header_check PRIVATE quilserver)
endfunction()
