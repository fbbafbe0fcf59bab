#pragma once

#include <json/value.h>

class PrintCanvas;

// The quality certificate of a garment, from the `data` of "print/product/qualified", in the
// three styles a store can choose.
namespace Certificate {

enum class Style { One = 1, Two = 2, Three = 3 };

void draw(PrintCanvas &canvas, const Json::Value &data, Style style);

} // namespace Certificate
