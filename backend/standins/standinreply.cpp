#include "standins/standinreply.h"

#include "server/json.h"

void standins::answer(httplib::Response &res, int status, const Json::Value &body)
{
    res.status = status;
    res.set_content(json::write(body), "application/json");
}

void standins::refuse(httplib::Response &res, int status, const std::string &error)
{
    Json::Value body(Json::objectValue);
    body["error"] = error;
    answer(res, status, body);
}
