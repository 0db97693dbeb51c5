# render_bench needs a display: tests/support/with_xvfb.sh build/bench/render_bench
add_executable(render_bench ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp)
target_link_libraries(render_bench PRIVATE cadenzio_render benchmark::benchmark)
target_include_directories(render_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)

# frame_scaling_bench shows its picture on the screen it runs on, so it needs one:
# tests/support/with_xvfb.sh [--screen WxH] build/bench/frame_scaling_bench
add_executable(frame_scaling_bench ${CMAKE_CURRENT_LIST_DIR}/frame_scaling_bench.cpp)
target_link_libraries(frame_scaling_bench PRIVATE cadenzio_render benchmark::benchmark
                      PkgConfig::IMGUI PkgConfig::PNG)
target_include_directories(frame_scaling_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(frame_scaling_bench PRIVATE CADENZIO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
