# Song reading, conversion and song file speed on a generated million-note MIDI file.
add_executable(songs_bench ${CMAKE_CURRENT_SOURCE_DIR}/songs_bench.cpp)
target_link_libraries(songs_bench PRIVATE cadenzio_songs benchmark::benchmark Threads::Threads)
target_include_directories(songs_bench PRIVATE ${CMAKE_SOURCE_DIR})
