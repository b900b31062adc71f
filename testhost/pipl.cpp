#include "testhost/pipl.h"

#include <cstdio>

namespace {
constexpr uint32_t VENDOR = FourCC("8BIM");

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
}  // namespace

std::string FourCCString(uint32_t code) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((code >> shift) & 0xFF);
    s += (c >= 32 && c < 127) ? c : '?';
  }
  return s;
}

bool ParsePipl(const uint8_t* bytes, size_t size, PiplInfo& out, std::string& error) {
  out = PiplInfo();
  if (!bytes || size < 10) {
    error = "PiPL shorter than its 10-byte header";
    return false;
  }
  out.reserved = Le16(bytes);
  out.version = Le32(bytes + 2);
  uint32_t count = Le32(bytes + 6);
  if (out.version != 0) {
    error = "PiPL list version " + std::to_string(out.version) + ", expected 0";
    return false;
  }
  if (count > PIPL_MAX_PROPERTIES) {
    error = "PiPL claims " + std::to_string(count) + " properties";
    return false;
  }
  size_t at = 10;
  for (uint32_t i = 0; i < count; ++i) {
    if (size - at < 16) {
      error = "PiPL property " + std::to_string(i) + " is cut off";
      return false;
    }
    PiplProperty p;
    p.vendor = Le32(bytes + at);
    p.key = Le32(bytes + at + 4);
    p.id = Le32(bytes + at + 8);
    uint32_t length = Le32(bytes + at + 12);
    at += 16;
    uint64_t padded = (uint64_t(length) + 3) & ~uint64_t(3);
    if (length > size - at) {
      error = "PiPL property '" + FourCCString(p.key) + "' is longer than the list";
      return false;
    }
    p.data.assign(bytes + at, bytes + at + length);
    // the last property's padding may be missing
    at += padded <= size - at ? static_cast<size_t>(padded) : size - at;
    out.properties.push_back(std::move(p));
  }
  return true;
}

const PiplProperty* PiplFind(const PiplInfo& info, uint32_t key) {
  for (const PiplProperty& p : info.properties)
    if (p.vendor == VENDOR && p.key == key) return &p;
  return nullptr;
}

bool PiplLong(const PiplInfo& info, uint32_t key, uint32_t& value) {
  const PiplProperty* p = PiplFind(info, key);
  if (!p || p->data.size() < 4) return false;
  value = Le32(p->data.data());
  return true;
}

bool PiplShort(const PiplInfo& info, uint32_t key, uint16_t& value) {
  const PiplProperty* p = PiplFind(info, key);
  if (!p || p->data.size() < 2) return false;
  value = Le16(p->data.data());
  return true;
}

bool PiplFourCC(const PiplInfo& info, uint32_t key, uint32_t& value) { return PiplLong(info, key, value); }

bool PiplVersion(const PiplInfo& info, uint32_t key, uint16_t& major, uint16_t& minor) {
  const PiplProperty* p = PiplFind(info, key);
  if (!p || p->data.size() < 4) return false;
  major = Le16(p->data.data());
  minor = Le16(p->data.data() + 2);
  return true;
}

bool PiplPascalString(const PiplInfo& info, uint32_t key, std::string& value) {
  const PiplProperty* p = PiplFind(info, key);
  if (!p || p->data.empty()) return false;
  size_t n = p->data[0];
  if (n + 1 > p->data.size()) return false;
  value.assign(reinterpret_cast<const char*>(p->data.data()) + 1, n);
  return true;
}

bool PiplCString(const PiplInfo& info, uint32_t key, std::string& value) {
  const PiplProperty* p = PiplFind(info, key);
  if (!p) return false;
  for (size_t i = 0; i < p->data.size(); ++i) {
    if (p->data[i] == 0) {
      value.assign(reinterpret_cast<const char*>(p->data.data()), i);
      return true;
    }
  }
  return false;  // not terminated inside its data
}

bool PiplValidateEffect(const PiplInfo& info, std::string& entry, std::string& error) {
  uint32_t kind;
  if (!PiplFourCC(info, FourCC("kind"), kind)) {
    error = "PiPL has no 'kind' property";
    return false;
  }
  if (kind != FourCC("eFKT")) {
    error = "PiPL kind is '" + FourCCString(kind) + "', not an effect ('eFKT')";
    return false;
  }
  std::string name;
  if (!PiplPascalString(info, FourCC("name"), name) || name.empty()) {
    error = "PiPL has no effect name";
    return false;
  }
  if (!PiplCString(info, FourCC("8664"), entry) || entry.empty()) {
    error = "PiPL has no code entry for 64-bit Windows ('8664')";
    return false;
  }
  return true;
}

std::string PiplDescribe(const PiplInfo& info) {
  std::string s;
  char line[512];
  for (const PiplProperty& p : info.properties) {
    std::string value;
    uint32_t key = p.key;
    std::string text;
    uint32_t v = p.data.size() >= 4 ? Le32(p.data.data()) : 0;
    if ((key == FourCC("name") || key == FourCC("catg") || key == FourCC("eMNA")) &&
        PiplPascalString(info, key, text)) {
      value = "\"" + text + "\"";
    } else if (key == FourCC("8664") && PiplCString(info, key, text)) {
      value = "\"" + text + "\"";
    } else if (key == FourCC("kind")) {
      value = "'" + FourCCString(v) + "'";
    } else if (key == FourCC("ePVR") || key == FourCC("eSVR")) {
      uint16_t major = 0, minor = 0;
      PiplVersion(info, key, major, minor);
      value = std::to_string(major) + "." + std::to_string(minor);
    } else if (key == FourCC("eINF") && p.data.size() >= 2) {
      std::snprintf(line, sizeof line, "0x%X", unsigned(Le16(p.data.data())));
      value = line;
    } else {
      std::snprintf(line, sizeof line, "0x%X", v);
      value = line;
    }
    std::snprintf(line, sizeof line, "%s %s id %u, %zu bytes: %s\n", FourCCString(p.vendor).c_str(),
                  FourCCString(key).c_str(), p.id, p.data.size(), value.c_str());
    s += line;
  }
  return s;
}
