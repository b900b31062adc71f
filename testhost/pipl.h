// Reading a module's PiPL resource (the property list through which the
// host finds and classifies an effect).
//
// Layout (little-endian): u16 reserved, u32 list version, u32 property
// count, then per property: u32 vendor, u32 key, u32 id, u32 data length,
// data padded to a multiple of 4 (the length may count the padding or not).
// Four-character codes are 32-bit numbers; versions are two u16, major
// first; the info flags ('eINF') are one u16.
//
// Failure behaviour: ParsePipl checks every length against the bytes it was
// given and answers false with a message for any list it cannot read
// completely; it never reads outside [bytes, bytes + size).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t PIPL_MAX_PROPERTIES = 1024;

constexpr uint32_t FourCC(const char (&c)[5]) {
  return (uint32_t(uint8_t(c[0])) << 24) | (uint32_t(uint8_t(c[1])) << 16) | (uint32_t(uint8_t(c[2])) << 8) |
         uint32_t(uint8_t(c[3]));
}
std::string FourCCString(uint32_t code);

struct PiplProperty {
  uint32_t vendor;
  uint32_t key;
  uint32_t id;
  std::vector<uint8_t> data;  // data length bytes, without padding
};

struct PiplInfo {
  uint16_t reserved = 0;
  uint32_t version = 0;
  std::vector<PiplProperty> properties;
};

bool ParsePipl(const uint8_t* bytes, size_t size, PiplInfo& out, std::string& error);

// Decoded views of one property (vendor '8BIM'); false when it is missing or
// malformed.
const PiplProperty* PiplFind(const PiplInfo& info, uint32_t key);
bool PiplFourCC(const PiplInfo& info, uint32_t key, uint32_t& value);
bool PiplLong(const PiplInfo& info, uint32_t key, uint32_t& value);
bool PiplShort(const PiplInfo& info, uint32_t key, uint16_t& value);
bool PiplPascalString(const PiplInfo& info, uint32_t key, std::string& value);
bool PiplCString(const PiplInfo& info, uint32_t key, std::string& value);
// Versions: major, then minor.
bool PiplVersion(const PiplInfo& info, uint32_t key, uint16_t& major, uint16_t& minor);

// An effect the host can use: kind 'eFKT', a name and a 64-bit Windows code
// entry. On success entry holds the entry point's name.
bool PiplValidateEffect(const PiplInfo& info, std::string& entry, std::string& error);

// One line per property, for --pipl.
std::string PiplDescribe(const PiplInfo& info);
