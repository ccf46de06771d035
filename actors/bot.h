#ifndef QUELLARIS_ACTORS_BOT_H
#define QUELLARIS_ACTORS_BOT_H

#include <string>

#include "actors/player.h"
#include "platform/fsound.h"
#include "platform/rgba.h"

namespace Vortel {

class MeshChrome;

// A chaser: a craft that picks its own turns. It flies straight runs of random length,
// turns a random way at the end of each, and with a set chance turns away when one of the
// three cells ahead is taken. It does not look for the player. Hit, it shows its hit colour
// while it recovers; killed, it stays dead for a delay and then comes back by itself at a
// random cell. The game tunes it through the setters, steps it with think() and update()
// each frame and lays its trail from the craft's fields.
//
// Copyable member by member: the game's spawn list copies chasers from a prototype.
class Bot : public Player {
public:
    Bot(const std::string& name, Vector3<int> cell, Vector3<int> forward, Vector3<int> up, float speed,
        OcTree& playfield);
    ~Bot() override;

    // No queue: a request while one is pending or running is dropped.
    void turn(direction d) override;
    void update(double dt) override;
    // Restarts the hit recovery; the game decides what low hit points mean.
    void damage(float amount) override;
    // 0 to 90 over the cell the turn takes, relative to the old heading.
    float turnAngle() const override;

    virtual void think(double dt);
    // The caller has set the model transform. Needs the GL context.
    virtual void draw();

    void die(double respawnDelay);
    // At a random cell with full hit points, heading and turn state as they were; the cell
    // is not checked for being free.
    void respawn();
    bool dead() const { return _dead; }
    // Alive now but dead before: the chaser came back in the last update.
    bool deadBefore() const { return _deadBefore; }
    double timeToRespawn() const { return _respawnDelay - _timeDead; }
    float recovery() const { return _recovery; }

    // Sets the bounds of a straight run and asks for a turn at once.
    void straightMoves(int min, int max);

    void scoreShot(int points) { _scoreShot = points; }
    int scoreShot() const { return _scoreShot; }
    void scoreBurn(int points) { _scoreBurn = points; }
    int scoreBurn() const { return _scoreBurn; }
    // Leaves the current hit points alone.
    void hitpointsMax(int hitpoints) { _hitpointsMax = hitpoints; }
    int hitpointsMax() const { return _hitpointsMax; }
    void recoveryTime(double seconds) { _recoveryTime = seconds; }
    void timeStretch(double factor) { _timeStretchFactor = factor; }
    void avoidCrash(float probability) { _avoidCrash = probability; }
    void type(const std::string& name) { _type = name; }
    const std::string& type() const { return _type; }
    void mesh(MeshChrome* m) { _mesh = m; }
    MeshChrome* mesh() const { return _mesh; }
    void hitColor(const RGBA<float>& c) { _hitColor = c; }
    void baseColor(const RGBA<float>& c) { _baseColor = c; }

    // A chaser has no hum of its own yet: these keep the game's calls in place.
    void humSample(FSOUND_SAMPLE*, unsigned char) {}
    void humVolume(unsigned char) {}
    void muteHum(bool) {}

    // The random draws, each from one runtime random value r in 0 .. CRAND_MAX.
    // A probability below 1: r scaled by a single-precision 1 / CRAND_MAX.
    static double chanceOf(int r);
    // Left, right, up or down, a quarter of the values each.
    static direction directionOf(int r);
    // Cells of a straight run: max for r = 0 only, min for r = CRAND_MAX, evenly spread between.
    static int runLengthOf(int r, int min, int max);
    // 0 .. size; size (for r = CRAND_MAX) is one past the field and wraps to 0.
    static int coordinateOf(int r, int size);

    Vector3<int> _nextForward;
    Vector3<int> _nextUp;
    int _scoreShot;
    int _scoreBurn;
    int _hitpointsMax;
    bool _dead;
    bool _deadBefore;
    double _respawnDelay;
    double _timeDead;
    double _recoveryTimer;
    double _recoveryTime;
    float _recovery;
    double _timeStretchFactor;
    int _straightMovesMax;
    int _straightMovesMin;
    // May fall below 0 while a turn waits.
    int _straightMovesLeft;
    float _avoidCrash;
    std::string _type;
    MeshChrome* _mesh;  // the game's mesh manager owns it
    RGBA<float> _hitColor;
    // FSOUND_FREE until a hum plays: the sound calls on it then touch nothing.
    int _chaserHumChannel;
    RGBA<float> _baseColor;

private:
    bool filledAhead(int cells) const;
    void drawRunLength();
    void advance(double ts);
    void crossBoundaries();
    void startTurn();
    void place();
};

}  // namespace Vortel

#endif
