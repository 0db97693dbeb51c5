# The texture generator. `cmake --build <dir> --target textures` repaints the committed textures
# in runtime/Data/Textures and the program's icons in desktop/icons; the textures test checks that
# they match what the generator paints.
cadenzio_library(cadenzio_textures
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/image.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/canvas.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/distance.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/keyboard_art.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/menu_art.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/overlay_art.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/icon_art.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/atlas.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/textures/texture_set.cpp)
target_link_libraries(cadenzio_textures PUBLIC cadenzio_platform PkgConfig::PNG)
# Same bytes on every machine and build type: no fused multiply-add contraction.
target_compile_options(cadenzio_textures PRIVATE -ffp-contract=off)

add_executable(make_textures EXCLUDE_FROM_ALL ${CMAKE_CURRENT_SOURCE_DIR}/make_textures.cpp)
target_link_libraries(make_textures PRIVATE cadenzio_textures)

add_custom_target(textures
  COMMAND make_textures ${CMAKE_SOURCE_DIR}/runtime/Data/Textures ${CMAKE_SOURCE_DIR}/desktop/icons
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Painting runtime/Data/Textures and desktop/icons"
  VERBATIM)
