#include "world/meshmanager.h"

namespace Vortel {

namespace {

const char* const MESH_FOLDER = "mesh";
const char* const MESH_FOLDER_ALTERNATIVE = "meshes";

template <typename T>
void createDisplayLists(const Stelkor::ResourceManager<T>& manager) {
    for (const auto& entry : manager.entries()) {
        entry.second.object->createDisplayList();
    }
}

}  // namespace

MeshManager::MeshManager() {
    addPath(MESH_FOLDER);
    addPath(MESH_FOLDER_ALTERNATIVE);
}

void MeshManager::createDisplayListsAll() {
    createDisplayLists(*this);
}

Mesh* MeshManager::createObject(const std::string& file) {
    return new Mesh(file);
}

MeshChromeManager::MeshChromeManager() {
    addPath(MESH_FOLDER);
    addPath(MESH_FOLDER_ALTERNATIVE);
}

void MeshChromeManager::createDisplayListsAll() {
    createDisplayLists(*this);
}

MeshChrome* MeshChromeManager::createObject(const std::string& file) {
    return new MeshChrome(file);
}

}  // namespace Vortel
