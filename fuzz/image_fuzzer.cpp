// Fuzz target: the test host's image reader (testhost/image_io.h), as
// --input and --layer use it, on any file.
//
// Input: the file's bytes. Skipped, as slow rather than wrong: files whose
// header declares more than MAX_PIXELS pixels (the reader accepts sides up
// to WORLD_MAX_SIDE), and PNG files with a chunk longer than the file (the
// reader reserves a chunk's declared length, up to 1 GiB, before reading
// it: instant natively, seconds under the sanitizers).
//
// Oracles besides the sanitizers: an accepted image is a world of the
// declared size and depth with padded rows and valid channels (16 bits: at
// most 32768); an 8-bit world written as PNG reads back the same.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "stb_image.h"
#include "testhost/image_io.h"

namespace {

constexpr int64_t MAX_PIXELS = 256 * 256;

// The scratch files of this process for the reader, which takes a path (in
// memory where the machine has /dev/shm); each input removes them again.
std::string ScratchPath(int which) {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/velarra-image-fuzz-" + std::to_string(getpid()) + "-" +
         std::to_string(which);
}

// Whether a PNG declares a chunk longer than the bytes after it.
bool PngChunkOverruns(const uint8_t* data, size_t size) {
  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < 8 || std::memcmp(data, signature, 8) != 0) return false;
  for (size_t at = 8; at + 8 <= size;) {
    const uint64_t length = uint64_t(data[at]) << 24 | uint64_t(data[at + 1]) << 16 |
                            uint64_t(data[at + 2]) << 8 | uint64_t(data[at + 3]);
    if (length + 12 > size - at) return true;
    at += size_t(length) + 12;
  }
  return false;
}

void CheckWorld(const HostWorld& w, bool deep) {
  const PF_LayerDef& d = w.world;
  FUZZ_CHECK(d.width >= 1 && d.width <= WORLD_MAX_SIDE && d.height >= 1 && d.height <= WORLD_MAX_SIDE);
  FUZZ_CHECK(((d.world_flags & PF_WorldFlag_DEEP) != 0) == deep);
  FUZZ_CHECK(d.rowbytes == (d.width + WORLD_ROW_PADDING_PIXELS) * (deep ? 8 : 4));
  FUZZ_CHECK(w.pixels.size() == size_t(d.rowbytes) * size_t(d.height));
  if (!deep) return;
  for (size_t i = 0; i + 1 < w.pixels.size(); i += 2) {
    uint16_t c;
    std::memcpy(&c, &w.pixels[i], 2);
    FUZZ_CHECK(c <= 32768);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > size_t(INT32_MAX)) return 0;
  int width = 0, height = 0, channels = 0;
  if (stbi_info_from_memory(data, int(size), &width, &height, &channels) &&
      int64_t(width) * int64_t(height) > MAX_PIXELS)
    return 0;
  if (PngChunkOverruns(data, size)) return 0;
  const std::string path = ScratchPath(0), copy = ScratchPath(1);
  FILE* f = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, f) == size);
  std::fclose(f);

  for (bool deep : {false, true}) {
    HostWorld w;
    std::string error;
    if (!LoadImageWorld(path, deep, w, error)) {
      FUZZ_CHECK(!error.empty());
      continue;
    }
    CheckWorld(w, deep);
    (void)WorldHash(w);
    if (deep) continue;
    // Written as PNG and read again: the same pixels.
    FUZZ_CHECK(WritePng(w, copy, error));
    HostWorld back;
    FUZZ_CHECK(LoadImageWorld(copy, false, back, error));
    FUZZ_CHECK(back.pixels == w.pixels);
  }
  unlink(path.c_str());
  unlink(copy.c_str());
  return 0;
}
