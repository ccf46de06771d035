# The fuzzing build (QUELLARIS_FUZZ): every library is built for libFuzzer's coverage guidance
# with AddressSanitizer and UndefinedBehaviorSanitizer, and fuzz/ adds one libFuzzer target per
# reader of outside data. It needs clang and is a build of its own: scripts/fuzz.sh makes it in
# build-fuzz. Without the option, fuzz/ only builds the replay programs the tests run.
option(QUELLARIS_FUZZ "Build the libFuzzer targets with clang (a build of its own)" OFF)
if(QUELLARIS_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUELLARIS_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    if(QUELLARIS_SANITIZE OR QUELLARIS_TSAN)
        message(FATAL_ERROR "QUELLARIS_FUZZ brings its own sanitizers; leave QUELLARIS_SANITIZE and QUELLARIS_TSAN off")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined -O1 -g)
    add_link_options(-fsanitize=address,undefined)
endif()
