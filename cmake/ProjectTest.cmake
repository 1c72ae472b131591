# add_project_test(NAME SOURCES src... LIBS lib...)
# One GoogleTest program; every test case is registered with CTest and gets a
# timeout so that a hung window test never stalls the run.
set(MORVEK_TEST_TIMEOUT 120 CACHE STRING "Seconds one test case may take")
set(MORVEK_WINDOWS_TEST_TIMEOUT 600 CACHE STRING "Seconds one Windows test program may take under Wine")

macro(morvek_find_gtest)
  if(NOT TARGET GTest::gtest_main)
    if(WIN32 OR EMSCRIPTEN)
      # Debian ships the GoogleTest sources; build them with the cross compiler.
      set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
      if(EMSCRIPTEN)
        set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
      endif()
      add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    else()
      find_package(GTest REQUIRED)
    endif()
  endif()
  include(GoogleTest)
endmacro()

function(add_project_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  morvek_find_gtest()
  morvek_cp932_sources(sources ${ARG_SOURCES})
  add_executable(${name} ${sources})
  if(EMSCRIPTEN)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    # Under node: the real files (test data, scratch folders), room to grow.
    # Linked without the optimizer: it would take minutes per program.
    target_link_options(${name} PRIVATE -O0 -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1
                        -sMAXIMUM_MEMORY=4GB -sABORTING_MALLOC=0 -sEXIT_RUNTIME=1)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    MORVEK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MORVEK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(CMAKE_CROSSCOMPILING)
    # Under Wine every start of a program is slow: run each test program once.
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${MORVEK_WINDOWS_TEST_TIMEOUT})
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT ${MORVEK_TEST_TIMEOUT})
  endif()
endfunction()
