# render_bench needs a display: tests/support/with_xvfb.sh build/bench/render_bench
add_executable(render_bench ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp)
target_link_libraries(render_bench PRIVATE cadenzio_render benchmark::benchmark)
target_include_directories(render_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
