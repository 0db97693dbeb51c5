# The demo songs of runtime/Songs come from note data in make_demo_songs.cpp; one of them is passed
# through notepress. `cmake --build <dir> --target demo_songs` rewrites the committed files.

add_executable(make_demo_songs EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/make_demo_songs.cpp)
target_link_libraries(make_demo_songs PRIVATE cadenzio_platform)
add_custom_target(demo_songs
  COMMAND make_demo_songs ${CMAKE_SOURCE_DIR}/runtime/Songs $<TARGET_FILE:notepress>
  DEPENDS make_demo_songs notepress
  COMMENT "Writing the demo songs into runtime/Songs"
  VERBATIM)
