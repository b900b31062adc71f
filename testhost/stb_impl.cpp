// The image reader and writer (Debian's libstb-dev), compiled once here.
// The reader keeps to the formats it decodes soundly under fuzzing: its PNM
// header parser overflows a signed int on long numbers, and its JPEG
// Huffman table set-up writes past its table on counts above 256. It also
// keeps to the largest side a world may have, so that a hostile header
// cannot make it allocate more.
#include "testhost/image_io.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_HDR
#define STBI_NO_PNM
#define STBI_NO_JPEG
#define STBI_MAX_DIMENSIONS WORLD_MAX_SIDE
#include "stb_image.h"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
