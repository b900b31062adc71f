// Cloth simulation: a grid of Verlet particles with distance constraints.
//
// The cloth is one panel of W x H particles, or two panels stored one after
// the other. Particle (r, c) of a panel has index r * W + c; the second
// panel's particles follow the first (index W * H + r * W + c). Column 0 is
// the left edge; row 0 lies at y = +ClothSize/2 and row H-1 at -ClothSize/2
// (gravity acts along +y, which is screen y growing downward, so row H-1 is
// the top edge on screen). Larger z is nearer the viewer.
//
// State: plain module-level globals, written by the render handler and read
// by the routines below, one call at a time (no locks). The render handler
// binds the arrays it owns to the pointers; the routines here never
// allocate or free anything (the replay checkpoints of cloth/checkpoint.h
// keep copies in page memory of their own).
//
// Failure behaviour: the routines report nothing. The caller keeps W >= 2,
// H >= 2, ClothCount and ClothConstraintCount matching the grid and the
// arrays bound with at least that many elements. Where it does not (a grid
// below 2 x 2, a null array, counts that do not match the grid), the set-ups,
// pins and step do nothing instead of touching memory, and a constraint whose
// particle offsets fall outside the particle arrays is ignored.
//
// Numbers: single precision unless a routine says otherwise; where a formula
// is evaluated in double, that is because the results are pinned bit for bit
// (the same positions in every build).
#pragma once
#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Records

// One particle: position in simulation units and its weight w. w acts as an
// inverse mass: it scales the particle's acceleration and its share of every
// constraint correction; 0 means pinned. The acceleration and normal arrays
// use the same 16-byte element and ignore w.
struct ClothParticle {
  float x, y, z, w;
};
static_assert(sizeof(ClothParticle) == 16, "ClothParticle is 16 bytes");

// One distance constraint: the two particles as offsets counted in floats
// (4 x particle index, the second panel's including the panel offset) and the
// rest length in simulation units.
struct ClothConstraint {
  int32_t a;
  int32_t b;
  float rest;
};
static_assert(sizeof(ClothConstraint) == 12, "ClothConstraint is 12 bytes");
static_assert(offsetof(ClothConstraint, b) == 4 && offsetof(ClothConstraint, rest) == 8,
              "ClothConstraint layout");

// Pin patterns, the 1-based choices of the fixation popup. Any other value
// pins nothing. The rod-driven plug-ins always pass TopTied.
namespace ClothFixation {
enum : uint8_t {
  Free = 1,
  LeftCorners = 2,
  TopCorners = 3,
  RightCorners = 4,
  BottomCorners = 5,
  AllCorners = 6,
  LeftTied = 7,
  TopTied = 8,
  RightTied = 9,
  BottomTied = 10,
  AllTied = 11,
  LeftSolid = 12,
  TopSolid = 13,
  RightSolid = 14,
  BottomSolid = 15,
  AllSolid = 16,
};
}  // namespace ClothFixation

// Values of ClothCollision.
enum : uint8_t {
  CLOTH_COLLISION_NONE = 1,
  CLOTH_COLLISION_REPEL = 2,    // push apart particles far apart on the grid
  CLOTH_COLLISION_SEGMENT = 3,  // test each particle's motion against the cells
};

// Constraint passes a step.
constexpr int32_t CLOTH_RELAXATION_PASSES = 10;

// ---------------------------------------------------------------------------
// Module-level state (load values in brackets; unlisted ones load as 0/null)

extern float ClothSize;            // side of the square cloth [5.0]
extern float ClothWeight;          // w of every free particle ("Weight") [2.15]
extern float ClothTimeScale;       // multiplier of the acceleration term [1.0]
extern float ClothWindForce;       // wind strength [100.0]
extern float ClothWindDir[3];      // wind direction, not normalised [10, 0, 0.1]
extern uint8_t ClothBlindFrequency;  // tie spacing: 1 Rare, 2 Medium, 3 Frequently [1]
extern float ClothGravity;         // gravity, applied twice [9.8]
extern int32_t ClothW;             // columns of one panel
extern int32_t ClothH;             // rows of one panel
extern int32_t ClothCount;         // particles in the arrays (W*H, or 2*W*H)
extern int32_t ClothConstraintCount;  // (W-1)*H + (H-1)*(2W-1) a panel
extern uint8_t ClothTwoPanels;     // 1 = two panels one after the other
extern int32_t ClothPanelCount;    // particles in one panel (W*H)
extern int32_t ClothPanelOffset;   // the same in floats (4*W*H)
extern uint8_t ClothRodDrive;      // 1 = the rod moves the top-row hooks
extern uint8_t ClothCollision;     // CLOTH_COLLISION_*; any other value: none
extern float ClothMotionSpeed;     // rod motion, simulation units a step
extern float ClothFoldingSpeed;    // rod folding, simulation units a step
extern float MeshScaleX;           // simulation units to pixels, x and z
extern float MeshScaleY;           // simulation units to pixels, y

extern ClothParticle* ClothPosA;   // position buffer A
extern ClothParticle* ClothPosB;   // position buffer B
extern ClothParticle* ClothCur;    // current positions (A or B; swapped each step)
extern ClothParticle* ClothPrev;   // previous positions (the other buffer)
extern ClothParticle* ClothRest;   // the set-up state every restart starts from
extern ClothParticle* ClothAcc;    // accelerations of the current step (x, y, z)
extern ClothParticle* ClothNormals;  // particle normals (x, y, z)
// A seventh particle-sized array held with the others. The repulsion phase
// of the step uses it as scratch for its cell table while it runs (nothing
// else keeps data in it); when it is null the step repels with the plain
// all-pairs scan, with the same result.
extern ClothParticle* ClothSpare;
extern ClothConstraint* ClothConstraints;  // ClothConstraintCount constraints

// ---------------------------------------------------------------------------
// Set-up and pins

// Sets the weights of one panel stored from `particles` on: ClothWeight for
// every particle, then 0 for the pattern's particles. Positions untouched.
// With two panels it covers ClothPanelCount particles; pin the right panel
// with a second call at particles + ClothPanelCount.
void ClothSetPins(uint8_t fixation, ClothParticle* particles);

// Tie intervals of the pins and the rod: k = 8 for ClothBlindFrequency 2, 12
// for 3, else 5; column interval (W-1)/k and row interval (H-1)/k, each at
// least 1.
int32_t ClothColumnInterval();
int32_t ClothRowInterval();

// One panel over x = -ClothSize/2 .. +ClothSize/2 at z = 1.0. Needs ClothW,
// ClothH, ClothCount, ClothConstraintCount and ClothPosA, ClothPosB,
// ClothNormals, ClothConstraints bound. Leaves ClothCur = A, ClothPrev = B at
// rest, pinned, with normals computed.
void ClothInitSingle(uint8_t fixation);

// Two panels: left x = -ClothSize/2 .. 0 at z = 1.0, right x = 0 ..
// ClothSize/2 at z = 1.5. Needs ClothTwoPanels, ClothPanelCount and
// ClothPanelOffset as well. Writes neither the right panel's weights in A
// nor anything of the right panel in B: the restart completes them.
void ClothInitDouble(uint8_t fixation);

// Copies ClothRest (weights included) to both buffers, ClothCur = A,
// ClothPrev = B, computes every panel's normals and runs `steps` steps.
// Returns steps.
int32_t ClothResetAndPreroll(int32_t steps);

// ---------------------------------------------------------------------------
// Step

// Runs ClothStep `steps` times (none when steps <= 0); returns steps.
int32_t ClothSimulate(int32_t steps);

// Forces, integration with the rod, ten constraint passes, the collision
// phase chosen by ClothCollision, then fresh normals of every panel.
void ClothStep();

// Gravity (twice), wind along the normal and damping of the motion along the
// normal, into ClothAcc for every particle.
void ClothAccumulateForces();

// Swaps ClothCur and ClothPrev, advances every particle (Verlet), then moves
// the rod's hooks when ClothRodDrive is set.
void ClothIntegrate();

// The x shifts of the rod's hook at column `col` for one step: returns the
// right (or only) panel's and writes the left panel's to *left.
float ClothRodOffset(float halfW, int32_t col, float* left);

// One relaxation pass over all constraints, in array order, in place.
void ClothSatisfyConstraints();

// Normals of one panel from ClothCur into ClothNormals, both pointing at the
// panel's first particle (advance both by ClothPanelOffset floats for the
// right panel). Each is scaled to unit L1 norm, then blended with its
// neighbours; the left column is tilted toward -y and +z.
void ClothComputeNormals();

// The older variant without the tilt (not used by the effect).
void ClothComputeNormalsOld();

// ---------------------------------------------------------------------------
// Self-collision

// The repulsion distance d: pairs closer than d are pushed apart.
float ClothRepelDistance();

// Moves particle i of ClothCur away from every particle closer than d that is
// not within 4 rows and 4 columns of it on the grid (the two panels count as
// placed diagonally apart). Pinned particles never move. All-pairs scan: the
// reference for ClothRepelAll.
void ClothRepel(int32_t i);

// The repulsion phase of a step: the same as ClothRepel(i) for i = 0 ..
// ClothCount - 1 in turn, bit for bit, but visiting only the particles of
// nearby cells. Uses ClothSpare as its cell table; without it (null) it runs
// the plain scan.
void ClothRepelAll();

// Moves particle a of ClothCur back when its motion in this step crosses a
// cell of the first panel.
void ClothSelfIntersect(int32_t a);

// The segment S .. S + m against the triangle (V0, V1, V2), both ends
// excluded; on a hit writes the crossing point to X.
bool SegmentTriangleHit(const float S[3], const float m[3], const float V0[3], const float V1[3],
                        const float V2[3], float X[3]);

// The line O + t m against the triangles (P0, V1, V2) and (X, V1, V2): a hit
// when the line meets them on opposite sides of O (t of different signs) and
// both meeting points lie in the triangle (X, V1, V2). On a hit X = P0.
bool SegmentCrossesTrianglePair(const float O[3], const float m[3], const float P0[3], float X[3],
                                const float V1[3], const float V2[3]);

// ---------------------------------------------------------------------------
// Render mesh and transforms (declared below by the mesh's own sources)
#include "cloth/mesh.h"
