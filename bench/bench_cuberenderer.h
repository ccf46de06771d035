#ifndef QUELLARIS_BENCH_CUBERENDERER_H
#define QUELLARIS_BENCH_CUBERENDERER_H

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "world/cuberenderer.h"

// A cube renderer for a benchmark of its own, its three meshes all the given OBJ text, written
// to a scratch folder that is gone again once the renderer has read them. Made on first use.
inline Vortel::CubeRenderer& benchCubeRenderer(const char* objText) {
    static std::unique_ptr<Vortel::CubeRenderer> made;
    if (!made) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("quellaris_bench_cubes_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        for (const char* name : {"cube.obj", "cube_bevel.obj", "sphere.obj"}) {
            std::ofstream(folder / name) << objText;
        }
        made.reset(new Vortel::CubeRenderer(folder.string()));
        std::filesystem::remove_all(folder);
    }
    return *made;
}

#endif
