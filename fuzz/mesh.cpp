// OBJ meshes under mesh/ and meshes/: any file must give a mesh or "cannot open mesh file",
// and whatever mesh it gives must be safe to hit with rays and to copy into a batch.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/support/scratch.h"
#include "platform/ray3.h"
#include "world/mesh.h"

using fuzzsupport::require;

namespace {

void checkVertexArray(const Vortel::Mesh& mesh) {
    const std::size_t corners = Vortel::Mesh::VERTICES_PER_FACE * mesh._faces.size();
    require(static_cast<std::size_t>(mesh._vertCount) == corners, "vertex count is not three per face");
    require(mesh._vertArray.size() == static_cast<std::size_t>(mesh._vertArrayFloats),
            "vertex array size differs from its float count");
    require(mesh._vertArrayFloats == Vortel::Mesh::FLOATS_PER_VERTEX * mesh._vertCount,
            "float count is not eight per vertex");
    std::vector<float> batch(mesh._vertArray.size() + 1, 0.0f);
    const int written = mesh.copyVertArray(batch.data(), Vector3<float>(1.0f, 2.0f, 3.0f), Vector2<float>(0.5f, 0.5f));
    require(written == mesh._vertArrayFloats, "copy wrote another count of floats than the array holds");
}

// Rays from outside the box along each axis and from its centre, so both the box test and
// the faces are reached.
void shootRays(Vortel::Mesh& mesh) {
    const Vector3<float> c = mesh._center;
    const Vector3<float> origins[] = {Vector3<float>(c.x, c.y, c.z - 1000.0f), Vector3<float>(c.x - 1000.0f, c.y, c.z),
                                      Vector3<float>(c.x, c.y + 1000.0f, c.z), c};
    const Vector3<float> directions[] = {Vector3<float>(0.0f, 0.0f, 1.0f), Vector3<float>(1.0f, 0.0f, 0.0f),
                                         Vector3<float>(0.0f, -1.0f, 0.0f), Vector3<float>(0.6f, 0.0f, 0.8f)};
    for (std::size_t i = 0; i < 4; ++i) {
        Ray3<float> ray;
        ray.origin = origins[i];
        ray.direction = directions[i];
        Vector3<float> hit;
        float distance = 0.0f;
        mesh.rayHit(ray, Vector3<float>(0.0f, 0.0f, 0.0f), &hit, &distance);
        mesh.rayHit(ray, Vector3<float>(3.0f, -2.0f, 1.0f), nullptr, &distance);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzzsupport::writeScratchFile("mesh.obj", data, size);
    try {
        Vortel::Mesh mesh(path);
        checkVertexArray(mesh);
        shootRays(mesh);
        mesh.createVertArray();
        checkVertexArray(mesh);
    } catch (const std::runtime_error&) {
        // A clear error is a fine answer to a damaged file.
    }
    return 0;
}
