// Pixel worlds of the test host: allocation at 8 or 16 bits a channel,
// images from files (PNG, BMP, TGA, GIF, PSD, PIC through stb_image; not
// JPEG or PNM, whose decoders fail on hostile files) or a generated
// pattern, and frames written as PNG (8 bits a channel) and, for 16-bit
// worlds, losslessly as 16-bit PAM.
//
// Worlds hold host pixels: alpha, red, green, blue; 16-bit channels run
// 0..32768. Rows are padded beyond width so that a plug-in which confuses
// rowbytes with width x pixel size shows it.
//
// Failure behaviour: loads and writes answer false with a message (file,
// reason); sizes are checked against WORLD_MAX_SIDE before allocating.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sdk/AE_Effect.h"

constexpr int32_t WORLD_MAX_SIDE = 16384;
constexpr int32_t WORLD_ROW_PADDING_PIXELS = 3;

struct HostWorld {
  PF_EffectWorld world;
  std::vector<uint8_t> pixels;
};

// Zero-filled world; false when a side is not 1..WORLD_MAX_SIDE.
bool AllocWorld(HostWorld& w, int32_t width, int32_t height, bool deep);

// Loads a file into a world of the given depth (8-bit files are widened,
// 16-bit ones narrowed to 0..32768).
bool LoadImageWorld(const std::string& path, bool deep, HostWorld& w, std::string& error);
// A test card: coloured checks with gradients, opaque.
void FillPattern(HostWorld& w);

// Host channel values: 8-bit 0..255 <-> 16-bit 0..32768, rounded.
uint16_t Widen8(uint8_t v);
uint8_t Narrow16(uint16_t v);

// FNV-1a (64 bits) of the world's pixels, row by row, width pixels a row
// (padding excluded), 16-bit channels as two bytes, low byte first: the same
// value for the same pixels in every build.
uint64_t WorldHash(const HostWorld& w);

bool WritePng(const HostWorld& w, const std::string& path, std::string& error);
// P7 with MAXVAL 32768, RGB_ALPHA, big-endian samples; values above 32768
// (never valid host values) are clamped and counted in `clamped`.
bool WritePam16(const HostWorld& w, const std::string& path, int64_t& clamped, std::string& error);
