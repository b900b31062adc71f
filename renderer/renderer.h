// Velarra software renderer: the module's programming interface.
//
// A flat interface of free functions over module-level switches: one call,
// __RasterScene, draws a list of triangles over a vertex array into a packed
// pixel buffer; the others sort the triangles by depth, apply a perspective
// division, exchange the depth buffer, set a default light, convert buffers
// between 8 and 16 bits per channel and read or write the switches.
//
// Conventions
//   - Packed pixel buffer: rows of 4 channels per pixel stored end to end,
//     8 bits a channel (largest value 255) or 16 bits (largest value 32768,
//     not 32767) as _Deep says. The frame is R, G, B, A; textures B, G, R, A.
//     Pixel (x, y), channel c is channel value number y * stride + 4x + c.
//   - Vertices are relative to the image centre; larger z is nearer the
//     viewer. A depth buffer holds one float a pixel; a larger value wins
//     only when strictly greater; a cleared buffer has every byte 0xFE.
//   - Nothing here reports an error and nothing checks pointers or sizes:
//     the caller hands consistent arrays (see each function). Buffers that a
//     function releases and replaces (converters, textures, a depth buffer of
//     another size) must come from the page allocator (platform/page_memory.h).
//   - One call at a time: all state is module-level and unguarded.
//
// Every function and global marked "exported" is exported from each plug-in
// module under the Windows compiler's decorated name of exactly the
// signature below (renderer_exports.def); keep these signatures unchanged.
#pragma once
#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Scene records. Sizes are fixed (other modules share them by layout); the
// offsets are stated beside each field and checked below.
// ---------------------------------------------------------------------------

// Mesh vertex, 40 bytes.
struct __Point3ds {
  float x, y, z;              //  0  4  8  position; larger z is nearer
  unsigned char textured;     // 12       non-zero: u and v are valid
  float u, v;                 // 16 20    texture coordinates
  unsigned char normalCount;  // 24       face normals averaged in so far
  float nx, ny, nz;           // 28 32 36 vertex normal (any length)
};

// Triangle, 16 bytes.
struct __Triangle3ds {
  uint32_t vert[3];           //  0       vertex indices, below pointCount
  uint16_t flags;             // 12       carried, never interpreted
  uint16_t material;          // 14       material (and glass) index
};

// One map block of a material, 272 bytes.
struct map3ds {
  char name[252];             //   0
  float amount;               // 252      strength (fraction)
  float uScale, vScale;       // 256 260
  float uOffset, vOffset;     // 264 268
};

// Material, 2296 bytes. Of the eight map blocks the renderer uses 0 texture,
// 2 opacity, 3 bump and 7 reflection.
struct material3ds {
  char name[68];              //    0
  float ambient[3];           //   68
  float diffuse[3];           //   80     fractions 0..1
  float specular[3];          //   92
  float shininess;            //  104     specular exponent / 100
  float shinStrength;         //  108     specular level
  float transparency;         //  112     stored negated: -0.4 is 40 %
  float selfIllum;            //  116     self-illumination share
  map3ds maps[8];             //  120
};

// Texture slot, 32 bytes; four per material (texture, opacity, bump,
// reflection). Texels are packed B, G, R, A at the renderer's channel depth.
struct __Texture {
  unsigned char enabled;      //  0
  int32_t width;              //  4
  int32_t height;             //  8
  unsigned char* pixels;      // 16       width * height texels, page memory
  unsigned char deep;         // 24       non-zero: 16 bits a channel
};

// Light, 72 bytes. Position in the space of the centre-relative pixels.
struct light3ds {
  char name[44];              //  0
  float x, y, z;              // 44 48 52
  float color[3];             // 56       fractions 0..1
  float multiplier;           // 68
};

// Glass setting, 16 bytes; one per material.
struct GlassProp {
  unsigned char enabled;      //  0
  float optical;              //  4       optical coefficient
  float refraction;           //  8       displacement distance in pixels
  float aberration;           // 12       channel separation in percent
};

// The previously shaded pixel of a span, 32 bytes.
struct __PrevInfo {
  float nx, ny, nz;           //  0  4  8 its normal
  unsigned char valid;        // 12
  float x, y;                 // 16 20    relative to the image centre
  float u, v;                 // 24 28
};

// The normal handed to the per-pixel function.
struct __Point {
  float x, y, z;
};

static_assert(sizeof(__Point3ds) == 40, "__Point3ds is 40 bytes");
static_assert(offsetof(__Point3ds, textured) == 12 && offsetof(__Point3ds, u) == 16 &&
                  offsetof(__Point3ds, v) == 20 && offsetof(__Point3ds, normalCount) == 24 &&
                  offsetof(__Point3ds, nx) == 28 && offsetof(__Point3ds, nz) == 36,
              "__Point3ds layout");
static_assert(sizeof(__Triangle3ds) == 16, "__Triangle3ds is 16 bytes");
static_assert(offsetof(__Triangle3ds, flags) == 12 && offsetof(__Triangle3ds, material) == 14,
              "__Triangle3ds layout");
static_assert(sizeof(map3ds) == 272, "map3ds is 272 bytes");
static_assert(offsetof(map3ds, amount) == 252 && offsetof(map3ds, uScale) == 256 &&
                  offsetof(map3ds, vScale) == 260 && offsetof(map3ds, uOffset) == 264 &&
                  offsetof(map3ds, vOffset) == 268,
              "map3ds layout");
static_assert(sizeof(material3ds) == 2296, "material3ds is 2296 bytes");
static_assert(offsetof(material3ds, ambient) == 68 && offsetof(material3ds, diffuse) == 80 &&
                  offsetof(material3ds, specular) == 92 &&
                  offsetof(material3ds, shininess) == 104 &&
                  offsetof(material3ds, shinStrength) == 108 &&
                  offsetof(material3ds, transparency) == 112 &&
                  offsetof(material3ds, selfIllum) == 116 && offsetof(material3ds, maps) == 120,
              "material3ds layout");
static_assert(sizeof(__Texture) == 32, "__Texture is 32 bytes");
static_assert(offsetof(__Texture, width) == 4 && offsetof(__Texture, height) == 8 &&
                  offsetof(__Texture, pixels) == 16 && offsetof(__Texture, deep) == 24,
              "__Texture layout");
static_assert(sizeof(light3ds) == 72, "light3ds is 72 bytes");
static_assert(offsetof(light3ds, x) == 44 && offsetof(light3ds, y) == 48 &&
                  offsetof(light3ds, z) == 52 && offsetof(light3ds, color) == 56 &&
                  offsetof(light3ds, multiplier) == 68,
              "light3ds layout");
static_assert(sizeof(GlassProp) == 16, "GlassProp is 16 bytes");
static_assert(offsetof(GlassProp, optical) == 4 && offsetof(GlassProp, refraction) == 8 &&
                  offsetof(GlassProp, aberration) == 12,
              "GlassProp layout");
static_assert(sizeof(__PrevInfo) == 32, "__PrevInfo is 32 bytes");
static_assert(offsetof(__PrevInfo, valid) == 12 && offsetof(__PrevInfo, x) == 16 &&
                  offsetof(__PrevInfo, u) == 24 && offsetof(__PrevInfo, v) == 28,
              "__PrevInfo layout");
static_assert(sizeof(__Point) == 12, "__Point is three floats");

// ---------------------------------------------------------------------------
// The per-pixel function. Called once per covered pixel (and per
// anti-aliasing pass); fills out0..out2 in channel units 0..MaxChannel and
// returns the pixel's opacity 0..1. The parameter types are part of the
// exported name of __SetNewRenderOnePixel: float, not double; references for
// the outputs; a plain unsigned char for `textured`.
// ---------------------------------------------------------------------------
typedef float (*RenderOnePixelFunc)(
    float centerX, float centerY,        // image centre in pixels
    unsigned char* dst,                  // the buffer drawn into
    unsigned char* src,                  // the source frame (glass)
    float px, float py,                  // pixel relative to the centre
    float pz,                            // depth on the triangle
    __Triangle3ds* tri,                  // the triangle; .material selects
    material3ds* materials, int materialCount,
    float& out0, float& out1, float& out2,
    __Point* normal,                     // interpolated normal, any length
    unsigned char textured, float u, float v,
    __Texture* textures,                 // four slots per material
    int lightCount, light3ds* lights,
    __PrevInfo* prev,                    // previous pixel of the span, or null
    GlassProp* glass,                    // one per material, or null
    float planeA, float planeB, float planeC, float planeD);
    // plane in absolute image coordinates:
    // depth at (x, y) = -(planeD + planeA x + planeB y) / planeC

// ---------------------------------------------------------------------------
// Exported switches (one byte each, behind get and set functions).
// ---------------------------------------------------------------------------
extern unsigned char _DrawMode;         // 6: 0 rough, 1 line, 2 wire, 3 flat,
                                        // 6 Phong, 8 patches, 9 Bezier,
                                        // 10 contour; other values draw nothing
extern unsigned char _Quality;          // 1: anti-aliased edges, bilinear maps
extern unsigned char _Deep;             // 0: non-zero is 16 bits a channel
extern unsigned char _DubleSide;        // 0: every face passes the face test
extern unsigned char _DrawBackFaces;    // 0: a back-face pass before the front
extern unsigned char _UseMultyRefract;  // 1: glass sees glass drawn before it
extern unsigned char _UsePhong2;        // 0: quadratic normals with _Quality
extern unsigned char _UseGlass;         // 0: stored and returned only
extern unsigned char _UsePersp;         // 0: stored and returned only
extern unsigned char _UseReflection;    // 0: stored and returned only
extern unsigned char _UseCustomMats;    // 1: stored and returned only

// Other exported globals.
extern unsigned char _DrawBackFaces1;   // 1 during the back-face pass only
extern float _WireSize;                 // 1.0: line width of the line modes
extern float _Persp_Val;                // 0: non-zero after __AddPersp
extern float _Persp_x, _Persp_y;        // 0, 0: centre of the division
extern float _Persp_Far;                // 1000: far distance of the division
extern float* ZBuff;                    // null: the depth buffer
extern int Zwidth, Zheight;             // 0, 0: the frame of the last call

// ---------------------------------------------------------------------------
// Exported functions.
// ---------------------------------------------------------------------------

// Draws the scene into dst (width x height pixels at the depth of _Deep,
// stride = 4 * width channel values) over what it holds; a shorter stride
// draws nothing (but in the rough mode, which addresses by width). src is
// the glass background, copied, never written. Vertices are offset by
// (centerX, centerY). materials/textures (four a material)/glass (one a
// material) and lights are handed to the per-pixel function. Every vertex
// index must lie below pointCount.
void __RasterScene(unsigned char* dst, unsigned char* src, int width, int height, int stride,
                   int pointCount, int triangleCount, __Triangle3ds* triangles,
                   __Point3ds* points, int centerX, int centerY, int materialCount,
                   material3ds* materials, __Texture* textures, int lightCount,
                   light3ds* lights, GlassProp* glass);

// Fills every triangle in array order in one colour (channel units) with the
// given opacity: no face test, no depth buffer, no per-pixel function. A
// stride shorter than 4 * width draws nothing.
void __RasterSolid(unsigned char* dst, int width, int height, int stride, int pointCount,
                   int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                   int centerX, int centerY, float c0, float c1, float c2, float opacity);

// Draws the three edges of every front-facing triangle (every one with
// _DubleSide) as solid anti-aliased lines. Uses the frame geometry
// (_Stride, MaxChannel, Zwidth, Zheight) that the last __RasterScene or
// __RasterSolid left (nothing when its stride was shorter than a frame row);
// its own width and height are not used for clipping.
void __DrawScenesLineColor(float lineWidth, int c0, int c1, int c2, unsigned char* dst,
                           unsigned char* src, int width, int height, int unused,
                           int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                           int centerX, int centerY);

// Sorts the triangles far to near by the sum of their three vertex depths.
// Stable: equal sums keep their order; a NaN sum counts as the farthest.
void __Sort(int triangleCount, __Triangle3ds* triangles, __Point3ds* points);

// Stores the perspective globals; unless far or val is 0, divides every
// point's offset from (px, py) by 1 - z / far (kept at least 1e-8 away
// from 0).
void __AddPersp(int pointCount, __Point3ds* points, float val, float px, float py, float far);

// The light used when a scene has no lights; the caller keeps ownership.
void __SetLightDef(light3ds* light);

void __GetZBuff(float*& buffer, int& width, int& height);
// Adopts a caller's depth buffer (page memory); null or a size of 0 or
// less removes it. A __RasterScene of another size releases it.
void __SetZBuff(float* buffer, int width, int height);

// Replace *pixels (height * stride channel values, page memory) by a new
// buffer at the other channel depth; the old buffer is released.
void __ConvertBYTE16TO8(unsigned char** pixels, int width, int height, int stride);
void __ConvertBYTE8TO16(unsigned char** pixels, int width, int height, int stride);
// Brings an enabled texture to the channel depth of _Deep.
void __ConvertText(__Texture* texture);

unsigned char __mmx_present();  // 1, always

// The per-pixel function: restore the default, or install a caller's one
// (null restores the default).
void __SetDefRenderOnePixel();
void __SetNewRenderOnePixel(RenderOnePixelFunc function);

unsigned char __GetDrawMode();
unsigned char __GetQuality();
unsigned char __GetDeep();
unsigned char __GetDubleSide();
unsigned char __GetDrawBackFaces();
unsigned char __GetUseMultyRefract();
unsigned char __GetUsePhong2();
unsigned char __GetUseGlass();
unsigned char __GetUsePersp();
unsigned char __GetUseReflection();
unsigned char __GetUseCustomMats();

void __SetDrawMode(unsigned char value);
void __SetQuality(unsigned char value);  // any non-zero value stores 1
void __SetDeep(unsigned char value);
void __SetDubleSide(unsigned char value);
void __SetDrawBackFaces(unsigned char value);
void __SetUseMultyRefract(unsigned char value);
void __SetUsePhong2(unsigned char value);
void __SetUseGlass(unsigned char value);
void __SetUsePersp(unsigned char value);
void __SetUseReflection(unsigned char value);
void __SetUseCustomMats(unsigned char value);

// ---------------------------------------------------------------------------
// Module-internal (not exported): for the render handler of this module.
// ---------------------------------------------------------------------------

// True when the last __RasterScene could not get one of its buffers and so
// drew nothing (the effect then reports out-of-memory instead of an empty
// frame). Cleared by every __RasterScene that gets all its buffers.
bool RasterSceneOutOfMemory();
