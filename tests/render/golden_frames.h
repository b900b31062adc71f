// Golden frames: small renders of each plug-in with the parameters of a
// named set, kept as 64-bit hashes of the output pixels
// (tests/render/golden/frames.txt, one line "plugin set depth frame hash",
// each set defined there by a "set" line) and, for some, as PNG files beside
// it. The comparison is exact: the frames are the same bit for bit in
// every build (native and the modules under Wine alike), and the same list
// is checked against the modules by the test host (module_golden.cmake).
//
// On a mismatch the test writes golden_<plugin>_<mode>_<depth>_<frame>
// _actual.png and, where a golden PNG exists, _diff.png (differences x 16,
// alpha full) into its working directory, and prints the line to put into
// frames.txt to accept a deliberate change.
#pragma once
#include <string>

constexpr int GOLDEN_WIDTH = 160;
constexpr int GOLDEN_HEIGHT = 90;

// Renders frames 0 .. 8 of the linked-in plug-in ("theatre", "tableau" or
// "drape") for each set and depth that frames.txt lists for it, with the
// set's parameters, and checks every listed frame. Returns the failures, one
// a line (empty when all match); `checked` counts the frames compared.
std::string CheckGoldenFrames(const std::string& plugin, int& checked);
