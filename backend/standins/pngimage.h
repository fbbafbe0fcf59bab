#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small RGB canvas that writes itself as PNG; enough for the map stand-in's pictures.
class PngImage
{
public:
    PngImage(int width, int height, std::uint32_t background);

    int width() const { return width_; }
    int height() const { return height_; }
    void setPixel(int x, int y, std::uint32_t rgb);
    void fillRect(int x, int y, int w, int h, std::uint32_t rgb);
    void fillCircle(int cx, int cy, int radius, std::uint32_t rgb);
    // Digits drawn from a 3x5 pixel font, each font pixel a square of the given size.
    void drawDigits(int x, int y, const std::string &digits, int pixel, std::uint32_t rgb);
    std::string encode() const;

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
