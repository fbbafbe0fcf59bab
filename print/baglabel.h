#pragma once

#include <json/value.h>

class PrintCanvas;

// The label on a factory bag, from the `data` of "print/batchIn/product".
namespace BagLabel {

void draw(PrintCanvas &canvas, const Json::Value &data);

} // namespace BagLabel
