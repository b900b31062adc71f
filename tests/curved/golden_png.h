// Small RGBA PNG files for golden frames: 8 bits a channel, written with
// uncompressed (stored) deflate blocks, which is also all the reader takes.
// Reading fails (returns false) on anything else: another colour type or
// depth, compressed data, a filter other than none, a bad checksum, or a
// truncated file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace curved {

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
bool ReadPng(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgba);

// Golden comparison (a gtest expectation) of an RGBA frame against
// <golden dir>/<name>.png: at most 0.5 % of the pixels may differ by more
// than 2 levels in a channel (the per-pixel function's powers may round
// differently between C libraries). On failure the frame and a diff image
// (differing pixels white on black) are written into the working directory
// as <name>_actual.png and <name>_diff.png. VELARRA_UPDATE_GOLDEN=1 rewrites
// the golden file instead.
void ExpectGoldenFrame(const std::string& goldenDir, const std::string& name, int width, int height,
                       const std::vector<uint8_t>& rgba);

}  // namespace curved
