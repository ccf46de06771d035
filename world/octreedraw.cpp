// The playfield's drawing: the frame's walk and its submission to GL. Kept apart from the
// cell rules, which need no GL context.
#include <GL/gl.h>
#include <GL/glext.h>

#include "world/collectable.h"
#include "world/cuberenderer.h"
#include "world/faceocclusion.h"
#include "world/octree.h"
#include "world/octreewalk.h"

namespace Vortel {

CubeRenderer& OcTree::cubeRenderer() {
    static CubeRenderer shared("mesh");
    return shared;
}

CubeRenderer& OcTree::renderer() { return _renderer != nullptr ? *_renderer : cubeRenderer(); }

unsigned char OcTree::createColorTriplet(const RGBA<float>& zFaces, const RGBA<float>& xFaces,
                                         const RGBA<float>& yFaces) {
    return renderer().createColorTriplet(zFaces, xFaces, yFaces);
}

unsigned char OcTree::createTrailColors(unsigned char start, unsigned char end) {
    return renderer().createTrailColors(start, end);
}

namespace {

// Faces can be left out only where the depth buffer decides what shows: depth test on with
// a nearer-wins function, depth writes on, and a buffer of at least the 16 bits the
// occlusion allows for.
bool depthDecides() {
    GLint function = 0;
    GLint bits = 0;
    GLboolean writes = GL_FALSE;
    glGetIntegerv(GL_DEPTH_FUNC, &function);
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
    return glIsEnabled(GL_DEPTH_TEST) == GL_TRUE && (function == GL_LESS || function == GL_LEQUAL) &&
           writes == GL_TRUE && bits >= 16;
}

}  // namespace

const OcTreeWalk& OcTree::walk(const float frustum[6][4], double time) { return walk(frustum, time, true); }

const OcTreeWalk& OcTree::walk(const float frustum[6][4], double time, bool mayLeaveOut) {
    _time = time;
    _drawnCoverage = nullptr;
    if (!_walk) {
        _walk.reset(new OcTreeWalk(_cells.size()));
    }
    const FaceOcclusion* occlusion = nullptr;
    if (_occlusionCulling && mayLeaveOut) {
        if (!_occlusion) {
            _occlusion.reset(new FaceOcclusion(_cells.size()));
        }
        _occlusion->run(*this, frustum, time, _wrappedDrawing);
        occlusion = _occlusion.get();
    }
    _walk->run(*this, renderer(), frustum, occlusion);
    return *_walk;
}

void OcTree::draw(const float frustum[6][4], const Vector3<float>&, double time) {
    const bool leaveOutHidden = _occlusionCulling && depthDecides();
    const OcTreeWalk& frame = walk(frustum, time, leaveOutHidden);
    if (leaveOutHidden) {
        _drawnCoverage = &_occlusion->coverage();
    }
    glDisable(GL_TEXTURE_2D);
    drawMeltingCubes();

    if (_renderReflections) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_ADD);
        glEnable(GL_TEXTURE_CUBE_MAP);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
        glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glEnable(GL_TEXTURE_GEN_R);
    }
    renderer().drawArray(true);
    if (_renderReflections) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_GEN_R);
        glDisable(GL_TEXTURE_CUBE_MAP);
    }

    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (Collectable* collectable : frame.collectables()) {
        collectable->draw();
    }
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// Melting cubes shrink round their cell centre, so they are drawn one by one from a cached
// black unit cube rather than batched.
void OcTree::drawMeltingCubes() {
    if (_walk->meltingCubes().empty()) {
        return;
    }
    CubeRenderer& cubes = renderer();
    if (_blackCubeID == 0) {
        const RGBA<float> black(0.0f, 0.0f, 0.0f, 1.0f);
        for (unsigned int shade = 0; shade < 3; ++shade) {
            cubes.color(shade, black);
        }
        _blackCubeID = cubes.createCachedCube();
    }
    for (const OcTreeWalk::MeltingCube& melting : _walk->meltingCubes()) {
        cubes.drawCachedCube(melting.cell, melting.scale, _blackCubeID);
    }
}

}  // namespace Vortel
