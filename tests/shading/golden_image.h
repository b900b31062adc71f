// Golden images of the shading tests: small 8-bit RGBA PNG files in
// tests/shading/golden/, built into the test program (so the comparison runs
// the same natively and under Wine).
//
// CompareGolden(name, rgba, w, h, tolerance): every channel of the image
// must lie within `tolerance` levels of the golden one. On a mismatch, or
// when the golden file is missing, it writes shading_<name>_actual.png and
// shading_<name>_diff.png (differences scaled x 16, alpha full) into the
// working directory and fails with the count of differing channels; copy the
// actual image into golden/ to accept a deliberate change.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct GoldenFile {
  const char* name;
  const unsigned char* data;
  unsigned size;
};
extern const GoldenFile kGoldenFiles[];
extern const unsigned kGoldenFileCount;

// Returns an empty string on a match, else the failure message.
std::string CompareGolden(const std::string& name, const std::vector<uint8_t>& rgba, int w, int h,
                          int tolerance);
