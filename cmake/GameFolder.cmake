# Lays out the ready-to-run game folder build/run: the binary (placed there by its target),
# the hand-written data of assets/ and whatever the asset generator writes.
set(QUELLARIS_RUN_DIR ${CMAKE_BINARY_DIR}/run)
file(GLOB_RECURSE quellaris_assets CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/assets/*)
list(FILTER quellaris_assets EXCLUDE REGEX "(^|/)(README\\.md|\\.gitkeep)$")
set(copied_assets)
foreach(asset IN LISTS quellaris_assets)
    add_custom_command(OUTPUT ${QUELLARIS_RUN_DIR}/${asset}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/assets/${asset} ${QUELLARIS_RUN_DIR}/${asset}
        DEPENDS ${CMAKE_SOURCE_DIR}/assets/${asset})
    list(APPEND copied_assets ${QUELLARIS_RUN_DIR}/${asset})
endforeach()
add_custom_target(game_folder ALL DEPENDS ${copied_assets})
file(MAKE_DIRECTORY ${QUELLARIS_RUN_DIR})
