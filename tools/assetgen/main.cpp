// assetgen OUTPUT_DIR: writes the game's generated content (pictures, font sheets, meshes and
// sounds) into the game folder. The same sources give the same bytes on every run.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/assetgen/generators.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen OUTPUT_DIR\n");
        return 2;
    }
    const assetgen::Output out(argv[1]);
    // The groups write side by side into these folders; make them before the threads start.
    for (const char* folder : {"textures", "mesh", "sounds/fx", "sounds/voice", "sounds/music"})
        std::filesystem::create_directories(std::filesystem::path(argv[1]) / folder);
    const std::vector<std::function<void(const assetgen::Output&)>> groups = {
        assetgen::writeMusic,    assetgen::writeVoices,      assetgen::writeSoundEffects, assetgen::writeEnvironment,
        assetgen::writeLogos,  assetgen::writeInterface, assetgen::writeSprites, assetgen::writeMaterials,
        assetgen::writeFontSheets, assetgen::writeMeshes};

    std::mutex failureLock;
    std::vector<std::string> failures;
    std::vector<std::thread> workers;
    for (const auto& group : groups)
        workers.emplace_back([&, group] {
            try {
                group(out);
            } catch (const std::exception& e) {
                const std::lock_guard<std::mutex> lock(failureLock);
                failures.emplace_back(e.what());
            }
        });
    for (std::thread& t : workers)
        t.join();
    for (const std::string& f : failures)
        std::fprintf(stderr, "assetgen: %s\n", f.c_str());
    return failures.empty() ? 0 : 1;
}
