#include "world/coveragemask.h"

#include <algorithm>
#include <cmath>

namespace Vortel {

namespace {

const float BLOCK_X = 2.0f / CoverageMask::WIDTH;
const float BLOCK_Y = 2.0f / CoverageMask::HEIGHT;
// In normalised device coordinates: a pixel and a half of the game's window, more than GL's
// rounding of positions can move an edge.
const float EDGE_MARGIN = 0.004f;
// Four steps of a 16-bit depth buffer: two fragments this far apart never round to one
// stored value, and the depth GL interpolates strays far less.
const float DEPTH_MARGIN = 4.0f / 65535.0f;
const float EMPTY = 2.0f;

// Blocks left of or below the screen all come out as block 0, as clamping would make them.
int column(float x) { return static_cast<int>(std::max(0.0f, std::min(2.0f, x + 1.0f)) * (1.0f / BLOCK_X)); }
int row(float y) { return static_cast<int>(std::max(0.0f, std::min(2.0f, y + 1.0f)) * (1.0f / BLOCK_Y)); }
// The screen's bound is found again at most this often (in covers): it stays a bound.
const int COVERS_PER_SCREEN_BOUND = 16;

int clampColumn(int i) { return std::min(std::max(i, 0), CoverageMask::WIDTH - 1); }
int clampRow(int j) { return std::min(std::max(j, 0), CoverageMask::HEIGHT - 1); }

}  // namespace

static_assert(CoverageMask::WIDTH % CoverageMask::TILE == 0 && CoverageMask::HEIGHT % CoverageMask::TILE == 0,
              "whole tiles");

CoverageMask::CoverageMask()
    : _depth(static_cast<std::size_t>(WIDTH) * HEIGHT, EMPTY),
      _tileDepth(static_cast<std::size_t>(TILES_X) * TILES_Y, EMPTY),
      _tileStale(_tileDepth.size(), false),
      _tileNearest(_tileDepth.size(), EMPTY),
      _screenDepth(EMPTY),
      _screenStale(false),
      _coversSinceScreenBound(0),
      _nearestCover(EMPTY) {}

void CoverageMask::clear() {
    std::fill(_depth.begin(), _depth.end(), EMPTY);
    std::fill(_tileDepth.begin(), _tileDepth.end(), EMPTY);
    std::fill(_tileStale.begin(), _tileStale.end(), false);
    std::fill(_tileNearest.begin(), _tileNearest.end(), EMPTY);
    _screenDepth = EMPTY;
    _screenStale = false;
    _coversSinceScreenBound = 0;
    _nearestCover = EMPTY;
}

float CoverageMask::tileDepth(int tile) const {
    if (_tileStale[static_cast<std::size_t>(tile)]) {
        const int i0 = (tile % TILES_X) * TILE;
        const int j0 = (tile / TILES_X) * TILE;
        float deepest = 0.0f;
        for (int j = j0; j < j0 + TILE; ++j) {
            const float* const line = &_depth[static_cast<std::size_t>(j) * WIDTH + i0];
            for (int i = 0; i < TILE; ++i) {
                deepest = std::max(deepest, line[i]);
            }
        }
        _tileDepth[static_cast<std::size_t>(tile)] = deepest;
        _tileStale[static_cast<std::size_t>(tile)] = false;
    }
    return _tileDepth[static_cast<std::size_t>(tile)];
}

float CoverageMask::screenDepth() const {
    if (_screenStale && _coversSinceScreenBound >= COVERS_PER_SCREEN_BOUND) {
        _coversSinceScreenBound = 0;
        float deepest = 0.0f;
        for (const float tile : _tileDepth) {
            deepest = std::max(deepest, tile);
        }
        _screenDepth = deepest;
        _screenStale = false;
    }
    return _screenDepth;
}

bool CoverageMask::hides(const ScreenPoint* points, int count, float nearest) const {
    float minX = points[0].x;
    float maxX = minX;
    float minY = points[0].y;
    float maxY = minY;
    for (int k = 1; k < count; ++k) {
        minX = std::min(minX, points[k].x);
        maxX = std::max(maxX, points[k].x);
        minY = std::min(minY, points[k].y);
        maxY = std::max(maxY, points[k].y);
    }
    const float edge = 1.0f + EDGE_MARGIN;
    if (maxX < -edge || minX > edge || maxY < -edge || minY > edge) {
        return true;
    }
    const float limit = nearest - DEPTH_MARGIN;
    if (!(_nearestCover < limit)) {
        return false;  // nothing recorded lies far enough before it
    }
    if (_screenDepth < limit || screenDepth() < limit) {
        return true;
    }
    const int i0 = clampColumn(column(minX - EDGE_MARGIN));
    const int i1 = clampColumn(column(maxX + EDGE_MARGIN));
    const int j0 = clampRow(row(minY - EDGE_MARGIN));
    const int j1 = clampRow(row(maxY + EDGE_MARGIN));
    for (int tj = j0 / TILE; tj <= j1 / TILE; ++tj) {
        for (int ti = i0 / TILE; ti <= i1 / TILE; ++ti) {
            if (!(_tileNearest[static_cast<std::size_t>(tj * TILES_X + ti)] < limit)) {
                return false;
            }
        }
    }
    for (int tj = j0 / TILE; tj <= j1 / TILE; ++tj) {
        for (int ti = i0 / TILE; ti <= i1 / TILE; ++ti) {
            const int tile = tj * TILES_X + ti;
            if (_tileDepth[static_cast<std::size_t>(tile)] < limit || tileDepth(tile) < limit) {
                continue;
            }
            const int jEnd = std::min(j1, tj * TILE + TILE - 1);
            const int iEnd = std::min(i1, ti * TILE + TILE - 1);
            for (int j = std::max(j0, tj * TILE); j <= jEnd; ++j) {
                const float* const line = &_depth[static_cast<std::size_t>(j) * WIDTH];
                for (int i = std::max(i0, ti * TILE); i <= iEnd; ++i) {
                    if (!(line[i] < limit)) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

// Row by row, the blocks whose every corner lies inside all edges by the margin.
void CoverageMask::cover(const ScreenPoint* polygon, int count, float deepest) {
    static constexpr int MAX_EDGES = 8;
    if (count < 3 || count > MAX_EDGES) {
        return;
    }
    float area = 0.0f;
    for (int k = 0; k < count; ++k) {
        const ScreenPoint& a = polygon[k];
        const ScreenPoint& b = polygon[(k + 1) % count];
        area += a.x * b.y - b.x * a.y;
    }
    if (std::fabs(area) < 1e-8f) {
        return;
    }
    // Edges as a.x + b.y + c >= 0 inside, scaled to unit normals so the margin is a distance.
    struct Edge {
        float a;
        float b;
        float c;
        float inverseA;
    };
    Edge edges[MAX_EDGES];
    int edgeCount = 0;
    float minY = polygon[0].y;
    float maxY = polygon[0].y;
    for (int k = 0; k < count; ++k) {
        minY = std::min(minY, polygon[k].y);
        maxY = std::max(maxY, polygon[k].y);
        const ScreenPoint& p = area > 0.0f ? polygon[k] : polygon[(count - k) % count];
        const ScreenPoint& q = area > 0.0f ? polygon[(k + 1) % count] : polygon[(2 * count - k - 1) % count];
        const float a = p.y - q.y;
        const float b = q.x - p.x;
        const float length = std::sqrt(a * a + b * b);
        if (length > 1e-12f) {
            const float unitA = a / length;
            edges[edgeCount++] = Edge{unitA, b / length, -(a * p.x + b * p.y) / length, unitA != 0.0f ? 1.0f / unitA : 0.0f};
        }
    }
    const int j0 = clampRow(row(minY));
    const int j1 = clampRow(row(maxY));
    int from[HEIGHT];
    int to[HEIGHT];
    for (int j = j0; j <= j1; ++j) {
        const float bottom = -1.0f + j * BLOCK_Y;
        const float top = bottom + BLOCK_Y;
        float low = -1.0f;
        float high = 1.0f - BLOCK_X;  // the left side of the last block
        bool empty = false;
        for (int k = 0; k < edgeCount; ++k) {
            const Edge& e = edges[k];
            const float worstY = std::min(e.b * bottom, e.b * top);
            const float need = EDGE_MARGIN - e.c - worstY;
            if (e.a > 0.0f) {
                low = std::max(low, need * e.inverseA);
            } else if (e.a < 0.0f) {
                high = std::min(high, need * e.inverseA - BLOCK_X);
            } else if (need > 0.0f) {
                empty = true;
            }
        }
        from[j] = 0;
        to[j] = -1;
        if (empty || low > high) {
            continue;
        }
        from[j] = std::max(0, static_cast<int>(std::ceil((low + 1.0f) / BLOCK_X)));
        to[j] = std::min(WIDTH - 1, static_cast<int>(std::floor((high + 1.0f) / BLOCK_X)));
        float* const line = &_depth[static_cast<std::size_t>(j) * WIDTH];
        for (int i = from[j]; i <= to[j]; ++i) {
            line[i] = deepest < line[i] ? deepest : line[i];
        }
    }
    // Each tile's depth stays a bound on its blocks: a tile covered whole takes this depth
    // if it is nearer, one covered in part has to be found again.
    for (int tj = j0 / TILE; tj <= j1 / TILE; ++tj) {
        int firstTouched = WIDTH;
        int lastTouched = -1;
        int wholeFrom = 0;
        int wholeTo = WIDTH - 1;
        for (int j = tj * TILE; j < (tj + 1) * TILE; ++j) {
            if (j < j0 || j > j1 || from[j] > to[j]) {
                wholeTo = -1;
                continue;
            }
            firstTouched = std::min(firstTouched, from[j]);
            lastTouched = std::max(lastTouched, to[j]);
            wholeFrom = std::max(wholeFrom, from[j]);
            wholeTo = std::min(wholeTo, to[j]);
        }
        // Tiles ti with wholeFrom <= ti * TILE and (ti + 1) * TILE - 1 <= wholeTo.
        const int firstWhole = (wholeFrom + TILE - 1) / TILE;
        const int lastWhole = (wholeTo + 1) / TILE - 1;
        for (int ti = firstTouched / TILE; ti <= lastTouched / TILE && lastTouched >= 0; ++ti) {
            const std::size_t tile = static_cast<std::size_t>(tj * TILES_X + ti);
            _tileNearest[tile] = std::min(_tileNearest[tile], deepest);
            if (ti >= firstWhole && ti <= lastWhole) {
                _tileDepth[tile] = std::min(_tileDepth[tile], deepest);
            } else if (deepest < _tileDepth[tile]) {
                _tileStale[tile] = true;
            }
        }
    }
    _screenStale = true;
    ++_coversSinceScreenBound;
    _nearestCover = std::min(_nearestCover, deepest);
}

}  // namespace Vortel
