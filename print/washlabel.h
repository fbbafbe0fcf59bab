#pragma once

#include <QVector>
#include <json/value.h>

class PrintCanvas;

// The wash label of a garment and the labels of its accessories.
namespace WashLabel {

// The labels one print call makes, each a complete field set: the item of `element` (with the
// order's own fields taken from `order` when given, as for "print/product/all"), then one
// accessory label for each element of its `annexList`.
QVector<Json::Value> labels(const Json::Value &element, const Json::Value *order);

void draw(PrintCanvas &canvas, const Json::Value &label);

} // namespace WashLabel
