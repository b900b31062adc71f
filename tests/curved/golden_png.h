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

}  // namespace curved
