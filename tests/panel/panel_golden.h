// Golden images of the panel.
#pragma once
#include <string>

// Compares two PNG files pixel by pixel: a pixel differs when a channel
// differs by more than `tolerance`. On a difference (or a file that cannot be
// read) writes an image of the differing pixels (red, over a dimmed copy of
// the golden one) to diff_path and says what differs in `message`.
bool ComparePngFiles(const std::string& actual, const std::string& golden, int tolerance,
                     const std::string& diff_path, std::string& message);
