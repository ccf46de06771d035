# Lays out the ready-to-run game folder build/run: the binary (placed there by its target),
# the hand-written data of assets/ and whatever the asset generator writes.
#
# Run as a script (cmake -DSRC=... -DDST=... -P GameFolder.cmake) it copies SRC to DST only when
# DST does not exist yet: the game rewrites its settings file, so the template must never
# overwrite the player's choices.
if(CMAKE_SCRIPT_MODE_FILE)
    if(NOT EXISTS "${DST}")
        get_filename_component(dst_dir "${DST}" DIRECTORY)
        file(MAKE_DIRECTORY "${dst_dir}")
        file(COPY_FILE "${SRC}" "${DST}")
    endif()
    return()
endif()

set(QUELLARIS_RUN_DIR ${CMAKE_BINARY_DIR}/run)
set(QUELLARIS_SETTINGS_TEMPLATE data/vasp.conf)
file(GLOB_RECURSE quellaris_assets CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/assets ${CMAKE_SOURCE_DIR}/assets/*)
list(FILTER quellaris_assets EXCLUDE REGEX "(^|/)(README\\.md|\\.gitkeep)$")
list(REMOVE_ITEM quellaris_assets ${QUELLARIS_SETTINGS_TEMPLATE})
set(copied_assets)
foreach(asset IN LISTS quellaris_assets)
    add_custom_command(OUTPUT ${QUELLARIS_RUN_DIR}/${asset}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/assets/${asset} ${QUELLARIS_RUN_DIR}/${asset}
        DEPENDS ${CMAKE_SOURCE_DIR}/assets/${asset})
    list(APPEND copied_assets ${QUELLARIS_RUN_DIR}/${asset})
endforeach()
add_custom_target(game_folder ALL DEPENDS ${copied_assets})

# Checked on every build (it costs a file test), so a deleted settings file comes back.
add_custom_target(game_settings_template ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/assets/${QUELLARIS_SETTINGS_TEMPLATE}
            -DDST=${QUELLARIS_RUN_DIR}/${QUELLARIS_SETTINGS_TEMPLATE} -P ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Settings template for the game folder"
    VERBATIM)
add_dependencies(game_folder game_settings_template)
file(MAKE_DIRECTORY ${QUELLARIS_RUN_DIR})
