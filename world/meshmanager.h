#ifndef QUELLARIS_WORLD_MESHMANAGER_H
#define QUELLARIS_WORLD_MESHMANAGER_H

#include <string>

#include "engine2d/resourcemanager.h"
#include "world/mesh.h"
#include "world/meshchrome.h"

namespace Vortel {

// Plain meshes by file name, looked for in "mesh" and then "meshes". Loading makes no GL
// call, so the loader thread fills the cache; the GL thread makes the display lists after.
class MeshManager : public Stelkor::ResourceManager<Mesh> {
public:
    MeshManager();

    // Needs the GL context; in name order.
    void createDisplayListsAll();

protected:
    Mesh* createObject(const std::string& file) override;
};

// Chrome meshes by file name, same folders. They draw without display lists.
class MeshChromeManager : public Stelkor::ResourceManager<MeshChrome> {
public:
    MeshChromeManager();

    void createDisplayListsAll();

protected:
    MeshChrome* createObject(const std::string& file) override;
};

}  // namespace Vortel

#endif
