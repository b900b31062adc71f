// Golden images of the panel, and the real pictures read from BMP files.
#pragma once
#include <cstdint>
#include <string>

#include "sdk/AE_Effect.h"

// Compares two PNG files pixel by pixel: a pixel differs when a channel
// differs by more than `tolerance`. On a difference (or a file that cannot be
// read) writes an image of the differing pixels (red, over a dimmed copy of
// the golden one) to diff_path and says what differs in `message`.
bool ComparePngFiles(const std::string& actual, const std::string& golden, int tolerance, const std::string& diff_path,
                     std::string& message);

// Reads a 24-bit uncompressed BMP file into the layout of a module picture
// (bottom-up rows of blue, green, red, each padded to stride bytes); false
// unless the file holds exactly width x height pixels.
bool ReadBmpPicture(const std::string& path, A_long width, A_long height, A_long stride, uint8_t* rows);
