// A small JPEG decoder for the skin pictures, so the program never has to load the system picture
// decoder for its own skins. Its pixels are the same, bit for bit, as those of libjpeg(-turbo) with
// its default settings (integer IDCT, fixed-point YCbCr to RGB): screenshots of the program must
// not change with the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace t30 {

// Rows top to bottom, each `width * 4` bytes: blue, green, red, 0 for every pixel (the layout of a
// 32-bit top-down device-independent bitmap).
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Decodes baseline (and 8-bit extended) sequential Huffman JPEG: greyscale, or YCbCr with every
// component sampled 1x1, restart intervals, 8- and 16-bit quantisation tables. Anything else
// (subsampled chroma, progressive, arithmetic, 12-bit, CMYK, RGB-coded, damaged or absurdly large
// pictures) gives nothing, and the caller uses the system decoder instead.
std::optional<DecodedPicture> DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace t30
