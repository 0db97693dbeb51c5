# The whole program: note latency on the menu and in a dense play, CPU at rest, start-up.
if(TARGET cadenzio)
  add_executable(program_bench ${CMAKE_CURRENT_SOURCE_DIR}/program_bench.cpp)
  target_link_libraries(program_bench PRIVATE benchmark::benchmark PkgConfig::RTMIDI
    PkgConfig::X11)
  target_include_directories(program_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
  target_compile_definitions(program_bench PRIVATE
    CADENZIO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" CADENZIO_PROGRAM="$<TARGET_FILE:cadenzio>")
  add_dependencies(program_bench cadenzio)
endif()
