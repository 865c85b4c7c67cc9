# One static library per source folder: every .cpp of the folder belongs to it,
# so adding a file needs no edit here. Headers are included as "folder/file.h".
function(quorvel_module name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  if(sources)
    add_library(quorvel_${name} STATIC ${sources})
    target_include_directories(quorvel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(quorvel_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(quorvel_${name} INTERFACE)
    target_include_directories(quorvel_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(quorvel_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One test program per test folder, registered with CTest test by test.
# NO_MAIN: the folder brings its own main() (Qt tests need an application object).
function(quorvel_tests name folder)
  cmake_parse_arguments(ARG "NO_MAIN" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(NOT ARG_NO_MAIN)
    target_link_libraries(test_${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(test_${name} PRIVATE
    QUORVEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUORVEL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    # One CTest test per program: listing the tests would start each program
    # once more under the emulator at build time.
    add_test(NAME test_${name} COMMAND test_${name})
    set_tests_properties(test_${name} PROPERTIES LABELS ${name})
  else()
    gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES LABELS ${name})
  endif()
endfunction()
