#pragma once

#include <string>

#include <httplib.h>
#include <json/value.h>

// The stand-ins answer in plain JSON, outside the backend's signed envelope.
namespace standins {

void answer(httplib::Response &res, int status, const Json::Value &body);
// {"error": error} with that status.
void refuse(httplib::Response &res, int status, const std::string &error);

} // namespace standins
