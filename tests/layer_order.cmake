# cmake -DSOURCE_DIR=<repository> -P layer_order.cmake
# Fails when a library's source includes a header of a library above it in the layer order
# platform < engine2d < world < actors < game, or of the tests, benchmarks, tools or fuzz
# targets. platform/main.cpp, the program's entry point, stands above every layer.

cmake_minimum_required(VERSION 3.16)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "layer_order.cmake needs -DSOURCE_DIR=<repository>")
endif()

set(layers platform engine2d world actors game)
set(outside tests bench tools fuzz)
set(exempt platform/main.cpp)

set(violations "")
list(LENGTH layers layerCount)
math(EXPR lastLayer "${layerCount} - 1")
foreach(rank RANGE ${lastLayer})
    list(GET layers ${rank} layer)
    file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
         "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.hpp" "${SOURCE_DIR}/${layer}/*.cpp")
    list(SORT sources)
    foreach(source IN LISTS sources)
        if(source IN_LIST exempt)
            continue()
        endif()
        file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">/]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">/]+)/.*$" "\\1" folder "${line}")
            list(FIND layers "${folder}" includedRank)
            if(includedRank GREATER rank OR folder IN_LIST outside)
                string(STRIP "${line}" line)
                list(APPEND violations "${source}: ${line} (${layer} may include only ${layer} and the layers below it)")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(LENGTH violations count)
    string(REPLACE ";" "\n" report "${violations}")
    message(FATAL_ERROR "${count} include(s) against the layer order platform < engine2d < world < actors < game:\n${report}")
endif()
message(STATUS "Every library includes only its own layer and those below it.")
