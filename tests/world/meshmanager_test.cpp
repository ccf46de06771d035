#include <gtest/gtest.h>

#include <GL/gl.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/support/gl_fixture.h"
#include "tests/world/objfiles.h"
#include "world/meshmanager.h"

using Vortel::MeshChromeManager;
using Vortel::MeshManager;

namespace {

const char* const ONE_TRIANGLE = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
const char* const TWO_TRIANGLES = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 3 2\n";
const char* const THREE_TRIANGLES = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 3 2\nf 2 3 1\n";

// The managers look in folders under the working directory: work in the test's own folder.
class InFolder {
public:
    explicit InFolder(const std::string& path) : _previous(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~InFolder() { std::filesystem::current_path(_previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path _previous;
};

// The same name is looked for in "mesh" first, then "meshes", and loaded once.
template <typename Manager>
void expectSearchOrderAndOneObjectPerName() {
    const objfiles::TempFolder folder;
    folder.write("mesh/craft.obj", ONE_TRIANGLE);
    folder.write("meshes/craft.obj", TWO_TRIANGLES);
    folder.write("meshes/ring.obj", THREE_TRIANGLES);
    const InFolder inside(folder.path());

    Manager manager;
    auto* craft = manager.get("craft.obj");
    EXPECT_EQ(1u, craft->_faces.size());
    EXPECT_EQ(craft, manager.get("craft.obj"));
    EXPECT_EQ(3u, manager.get("ring.obj")->_faces.size());
    EXPECT_EQ("meshes/", manager.getEntry("ring.obj")->path);
    try {
        manager.get("missing.obj");
        ADD_FAILURE() << "a missing mesh must throw";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string("ResourceManager(Base) - cannot find resource file: missing.obj"), e.what());
    }
    EXPECT_EQ(2u, manager.entries().size());
}

}  // namespace

TEST(MeshManager, PrefersMeshOverMeshesAndLoadsEachNameOnce) {
    expectSearchOrderAndOneObjectPerName<MeshManager>();
}

TEST(MeshChromeManager, PrefersMeshOverMeshesAndLoadsEachNameOnce) {
    expectSearchOrderAndOneObjectPerName<MeshChromeManager>();
}

using MeshManagerGL = testsupport::GlFixture;

TEST_F(MeshManagerGL, MakesADisplayListForEveryCachedMesh) {
    const objfiles::TempFolder folder;
    folder.write("mesh/a.obj", ONE_TRIANGLE);
    folder.write("mesh/b.obj", TWO_TRIANGLES);
    const InFolder inside(folder.path());

    MeshManager plain;
    plain.createDisplayListsAll();  // nothing cached: nothing to do
    MeshChromeManager chrome;
    Vortel::Mesh* a = plain.get("a.obj");
    Vortel::Mesh* b = plain.get("b.obj");
    Vortel::MeshChrome* c = chrome.get("a.obj");
    plain.createDisplayListsAll();
    chrome.createDisplayListsAll();
    EXPECT_NE(0u, a->_displayList);
    EXPECT_NE(0u, b->_displayList);
    EXPECT_NE(0u, c->_displayList);
    EXPECT_NE(a->_displayList, b->_displayList);
    EXPECT_TRUE(glIsList(c->_displayList));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}
