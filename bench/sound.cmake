# Building the Simple Synth's wave bank.
add_executable(sound_bench ${CMAKE_CURRENT_SOURCE_DIR}/sound_bench.cpp)
target_link_libraries(sound_bench PRIVATE cadenzio_sound benchmark::benchmark benchmark::benchmark_main)
