#pragma once

#include <cstdint>
#include <vector>

namespace orvane::testing {

// A PNG written out by hand with stored (uncompressed) deflate blocks: any
// size at little cost, for files the tests and benchmarks need.
// colourType and bitDepth as in the PNG header (0 grey, 6 RGBA ...); rows
// holds the packed pixels of every row, without filter bytes.
std::vector<uint8_t> storedPng(uint32_t width, uint32_t height, uint8_t colourType, uint8_t bitDepth,
                               const std::vector<uint8_t>& rows);

}  // namespace orvane::testing
