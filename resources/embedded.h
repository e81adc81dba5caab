// The pictures and the icon built into the Linux program, found by their resource ids.
#pragma once
// The game's pictures built into the Linux program (the Windows program has them as resources).

#include <cstddef>

struct EmbeddedResource {
    const unsigned char* data;
    std::size_t size;
};

// The BMP file bytes of bitmap `id`, or {nullptr, 0} for an id the program does not have.
EmbeddedResource findEmbeddedBitmap(int id);

// The window icon as BMP file bytes (32x32).
EmbeddedResource embeddedIcon();
