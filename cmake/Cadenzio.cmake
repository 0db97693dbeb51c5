# Shared helpers for the subsystem CMake files.


# cadenzio_test(<name> SOURCES <files...> [LIBS <libs...>] [SANITIZE] [THREAD]
#               [WRAPPER <cmd...>] [LABELS <labels...>] [TIMEOUT <s>] [SERIAL])
# One GoogleTest executable registered with CTest as a single test. SANITIZE marks tests of
# code fed by files; only those exist in the sanitizer build. THREAD marks tests of code that
# runs on threads of its own; only those exist in the ThreadSanitizer build. WRAPPER runs the executable through
# a command (for example tests/support/with_xvfb.sh). LABELS program marks tests that start a
# whole program, so that `ctest -LE program` runs the rest quickly.
function(cadenzio_test name)
  cmake_parse_arguments(T "SANITIZE;THREAD;SERIAL" "TIMEOUT" "SOURCES;LIBS;WRAPPER;LABELS" ${ARGN})
  if(CADENZIO_SANITIZE AND NOT T_SANITIZE)
    return()
  endif()
  if(CADENZIO_TSAN AND NOT T_THREAD)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    CADENZIO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" CADENZIO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${T_WRAPPER} $<TARGET_FILE:${name}>
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# cadenzio_library(<name> <sources...>): a subsystem's static library, includes from the repo root.
function(cadenzio_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
