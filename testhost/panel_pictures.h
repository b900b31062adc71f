// The panel's pictures read from their BMP files (resources/panel), for the
// native builds, where a plug-in has no module resources to read them from.
#pragma once
#include <cstdint>
#include <string>

#include "sdk/AE_Effect.h"

// Reads a 24-bit uncompressed BMP file into the layout of a module picture:
// bottom-up rows of blue, green, red, each padded to stride bytes. False
// unless the file holds exactly width x height pixels in rows of stride
// bytes.
bool ReadBmpPicture(const std::string& path, A_long width, A_long height, A_long stride,
                    uint8_t* rows);

// The file of panel picture `id` in the folder of the pictures; `banner` is
// the plug-in's banner file ("banner_theatre.bmp"). Empty for another id.
std::string PanelPictureFile(const std::string& folder, const std::string& banner, A_long id);
