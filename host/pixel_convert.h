// Moving pixels between the host's worlds and the renderer's packed buffers,
// and three rectangle routines over the same buffers.
//
// Layouts (a channel value is a byte or an unsigned 16-bit word, as the
// renderer's __GetDeep() says at the time of the call; 8-bit channels run
// 0..255, 16-bit ones 0..32768, and values are copied unchanged):
//   host    pixel (x, y), channel c (0 alpha, 1 red, 2 green, 3 blue) is
//           channel value y * stride + 4x + c; stride is the host's rowbytes
//           counted in channel values (halved by the caller at 16 bits).
//   packed  pixel (x, y), channel c is channel value (y * width + x) * 4 + c;
//           the frame holds R, G, B, A, texture maps B, G, R, A.
// Only `width` pixels of a host row are read or written: row padding is left
// alone.
//
// The three converters take the address of the caller's buffer pointer; when
// it holds null they allocate the buffer from the page allocator (the caller
// releases it with PageFree), store it there and fill it.
//
// Failure behaviour: a converter returns false and changes nothing when its
// buffer cannot be allocated or its arguments cannot describe a buffer (a
// null host buffer, a width or height below 1, a stride shorter than 4 x
// width); the rectangle routines skip pixels outside the buffer.
#pragma once
#include <cstdint>

#include "renderer/renderer.h"

// Host A, R, G, B into packed R, G, B, A. A buffer it allocates holds height
// x stride channel values (the host's full rows).
bool CopyPixelsARGBtoRGBA(unsigned char** packed, const void* host, int width, int height, int stride);
// Host A, R, G, B into packed B, G, R, A (a texture); allocates width x
// height x 4 channel values.
bool CopyPixelsARGBtoBGRA(unsigned char** packed, const void* host, int width, int height, int stride);
// Packed R, G, B, A back into host A, R, G, B; allocates height x stride
// channel values.
bool CopyPixelsRGBAtoARGB(void** host, const unsigned char* packed, int width, int height, int stride);

// Host A, R, G, B of a width x height rectangle into a packed R, G, B, A
// buffer whose rows are packedWidth pixels long (packedWidth >= width). For
// a layer smaller than the frame it is copied into.
void CopyRectARGBtoRGBA(unsigned char* packed, int packedWidth, const void* host, int width, int height,
                        int stride);

// Sets the 4 channels of every pixel of [x0, x1) x [y0, y1) inside the
// width x height buffer to 0.
void ClearRect(unsigned char* pixels, int width, int height, int stride, int x0, int y0, int x1, int y1);

// Composites packed R, G, B, A src over dst in host order (alpha first) in
// [x0, x1) x [y0, y1), clipped to the buffer: a transparent source leaves
// the pixel, an opaque one replaces it, a partial one blends over an opaque
// or partial destination (alpha the larger of the two) and is copied as it
// is over a transparent one.
void CompositeRectOver(unsigned char* dst, const unsigned char* src, int width, int height, int stride,
                       int x0, int y0, int x1, int y1);

// Fills the triangles in one colour (fractions 0..1) into scratch with
// __RasterSolid and composites their bounding box, padded by 3 pixels, over
// dst.
void RasterSolidComposite(unsigned char* scratch, unsigned char* dst, int width, int height, int stride,
                          int pointCount, int triangleCount, __Triangle3ds* triangles, __Point3ds* points,
                          float centerX, float centerY, float red, float green, float blue, float opacity);
