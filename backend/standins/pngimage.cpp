#include "standins/pngimage.h"

#include <zlib.h>

namespace {

void putU32(std::string &out, std::uint32_t v)
{
    out += static_cast<char>((v >> 24) & 0xff);
    out += static_cast<char>((v >> 16) & 0xff);
    out += static_cast<char>((v >> 8) & 0xff);
    out += static_cast<char>(v & 0xff);
}

void chunk(std::string &out, const char *type, const std::string &data)
{
    putU32(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    putU32(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(typed.data()),
                                                 static_cast<uInt>(typed.size()))));
}

// Rows of a 3x5 font for 0-9, three bits a row.
const std::uint8_t font[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

} // namespace

PngImage::PngImage(int width, int height, std::uint32_t background)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height * 3))
{
    fillRect(0, 0, width, height, background);
}

void PngImage::setPixel(int x, int y, std::uint32_t rgb)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const size_t at = (static_cast<size_t>(y) * width_ + x) * 3;
    pixels_[at] = static_cast<std::uint8_t>(rgb >> 16);
    pixels_[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
    pixels_[at + 2] = static_cast<std::uint8_t>(rgb);
}

void PngImage::fillRect(int x, int y, int w, int h, std::uint32_t rgb)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            setPixel(i, j, rgb);
}

void PngImage::fillCircle(int cx, int cy, int radius, std::uint32_t rgb)
{
    for (int j = -radius; j <= radius; ++j)
        for (int i = -radius; i <= radius; ++i)
            if (i * i + j * j <= radius * radius)
                setPixel(cx + i, cy + j, rgb);
}

void PngImage::drawDigits(int x, int y, const std::string &digits, int pixel, std::uint32_t rgb)
{
    for (char c : digits) {
        if (c >= '0' && c <= '9') {
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (font[c - '0'][row] & (4 >> col))
                        fillRect(x + col * pixel, y + row * pixel, pixel, pixel, rgb);
        }
        x += 4 * pixel;
    }
}

std::string PngImage::encode() const
{
    std::string raw;
    raw.reserve(static_cast<size_t>(height_) * (width_ * 3 + 1));
    for (int y = 0; y < height_; ++y) {
        raw += '\0'; // no filter
        raw.append(reinterpret_cast<const char *>(&pixels_[static_cast<size_t>(y) * width_ * 3]),
                   static_cast<size_t>(width_) * 3);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef *>(packed.data()), &size,
              reinterpret_cast<const Bytef *>(raw.data()), static_cast<uLong>(raw.size()), 6);
    packed.resize(size);

    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putU32(header, static_cast<std::uint32_t>(width_));
    putU32(header, static_cast<std::uint32_t>(height_));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    chunk(out, "IHDR", header);
    chunk(out, "IDAT", packed);
    chunk(out, "IEND", {});
    return out;
}
