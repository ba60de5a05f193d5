#pragma once
// Colour values of the framework: plain RGB, or a system colour named by its index.
#include <cstdint>
#include <functional>

namespace forms {

// A colour value whose top byte is 0xFF names the system colour with the index in its
// low byte; systemColor gives that colour's RGB. Other values keep their low 24 bits.
std::uint32_t ResolveColor(std::uint32_t color, const std::function<std::uint32_t(int index)>& systemColor);

}  // namespace forms
