# The converter library and the `notepress` program, which lands in the build folder's root.
# Included from tools/demo_songs.cmake rather than added as a subfolder: a subfolder's own build
# folder would be <build>/notepress, the very path the program must take.
cadenzio_library(cadenzio_notepress ${CMAKE_CURRENT_LIST_DIR}/notepress.cpp)
target_link_libraries(cadenzio_notepress PUBLIC cadenzio_songs)

add_executable(notepress ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(notepress PRIVATE cadenzio_notepress)
set_target_properties(notepress PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
