#pragma once
// Writing pictures as PNG files through GDI+ (the flat API); GDI+ must be started.
#include <string>

namespace ear::gdiplus {

// Writes width x height pixels as a PNG file with an alpha channel. `bgra` holds rows of
// blue, green, red and alpha (not premultiplied), top row first, `stride` bytes apart.
// `fileName` is in the active code page (Shift-JIS). False when GDI+ could not write it.
bool SavePng(const std::string& fileName, int width, int height, int stride, const void* bgra);

// The same PNG in memory: `png` gets the file's bytes. False when GDI+ could not encode it.
bool EncodePng(int width, int height, int stride, const void* bgra, std::string& png);

}  // namespace ear::gdiplus
