# The latency of notes played on the main menu, through the whole program.
if(TARGET cadenzio)
  add_executable(menu_latency_bench ${CMAKE_CURRENT_SOURCE_DIR}/menu_latency_bench.cpp)
  target_link_libraries(menu_latency_bench PRIVATE benchmark::benchmark PkgConfig::RTMIDI)
  target_include_directories(menu_latency_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(menu_latency_bench PRIVATE
    CADENZIO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" CADENZIO_PROGRAM="$<TARGET_FILE:cadenzio>")
  add_dependencies(menu_latency_bench cadenzio)
endif()
