# The play's per-frame CPU work on a dense song and its seek on a million notes; no display.
add_executable(game_bench ${CMAKE_CURRENT_SOURCE_DIR}/game_bench.cpp)
target_link_libraries(game_bench PRIVATE cadenzio_game benchmark::benchmark)
target_include_directories(game_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(game_bench PRIVATE CADENZIO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
