#pragma once

#include <json/value.h>

class PrintCanvas;

// The customer's receipt for an order, from the `data` of "print/order/detail".
namespace OrderTicket {

enum class Roll { Mm80, Mm58 };

void draw(PrintCanvas &canvas, const Json::Value &data, Roll roll);

} // namespace OrderTicket
