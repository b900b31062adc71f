// A quick wireframe of the cloth's first panel on a device context (Windows
// only; the effect does not call it).
#pragma once
#include <windows.h>

// Draws the grid lines of ClothCur's first panel, a point (x, y) at pixel
// (50x + 150, 50y + 150) (z ignored), black on white into a 400 x 400
// off-screen bitmap, and copies it to dc at (0, 0). Returns the result of
// deleting the off-screen device context (FALSE when the off-screen bitmap could not be made).
BOOL DrawClothPreviewGDI(HDC dc);
