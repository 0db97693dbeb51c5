# The demo songs of runtime/Songs come from the note data in demo_pieces_*.cpp; one of them is
# passed through notepress. `cmake --build <dir> --target demo_songs` rewrites the committed files.

add_library(demo_notation STATIC EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/demo_notation.cpp)
target_include_directories(demo_notation PUBLIC ${CMAKE_SOURCE_DIR})
add_executable(make_demo_songs EXCLUDE_FROM_ALL
  ${CMAKE_CURRENT_LIST_DIR}/make_demo_songs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demo_pieces_beginner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demo_pieces_intermediate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/demo_pieces_advanced.cpp)
target_link_libraries(make_demo_songs PRIVATE demo_notation cadenzio_platform)
target_include_directories(make_demo_songs PRIVATE ${CMAKE_SOURCE_DIR})
add_custom_target(demo_songs
  COMMAND make_demo_songs ${CMAKE_SOURCE_DIR}/runtime/Songs $<TARGET_FILE:notepress>
  DEPENDS make_demo_songs notepress
  COMMENT "Writing the demo songs into runtime/Songs"
  VERBATIM)
