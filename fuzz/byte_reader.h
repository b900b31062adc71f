// Reads a fuzz input front to back into the values of a call.
//
// Front to back (unlike LLVM's FuzzedDataProvider, which takes numbers from
// the end), so a seed file reads in the order the harness documents, and an
// exhausted input yields zeros: a short seed leaves the rest at its first
// choice. Ranges are inclusive; a value outside is folded in by modulo, so
// every byte string decodes to a valid call of the harness.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Left() const { return size_ - at_; }

  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  bool Bool() { return (Byte() & 1) != 0; }
  uint16_t U16() { return uint16_t(Byte() | Byte() << 8); }
  uint32_t U32() { return uint32_t(U16()) | uint32_t(U16()) << 16; }
  int32_t I32() { return int32_t(U32()); }

  // lo..hi from one byte (ranges of up to 256 values) or four.
  int32_t Small(int32_t lo, int32_t hi) { return lo + int32_t(Byte() % uint32_t(hi - lo + 1)); }
  int32_t Range(int32_t lo, int32_t hi) {
    return int32_t(int64_t(lo) + int64_t(U32() % uint64_t(int64_t(hi) - lo + 1)));
  }

  // Any float bits: NaN, infinities, denormals and huge values included.
  float AnyFloat() {
    const uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

  // A float for geometry: mostly plain values near `scale` (a signed byte
  // times scale / 64), sometimes any bits. The tag byte comes first.
  float Coord(float scale) {
    const uint8_t tag = Byte();
    if (tag < 0xF0) return float(int8_t(Byte())) * scale / 64.0f;
    return AnyFloat();
  }

  // The next n bytes (fewer when the input ends; the rest read as 0).
  void Bytes(void* out, size_t n) {
    const size_t k = n < Left() ? n : Left();
    if (k) std::memcpy(out, data_ + at_, k);
    if (k < n) std::memset(static_cast<uint8_t*>(out) + k, 0, n - k);
    at_ += k;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};
