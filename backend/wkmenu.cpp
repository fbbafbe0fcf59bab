// Menu rights of the signed-in worker.

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"

namespace {

Json::Value menusOfWorker(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT m.id, m.name, m.sort FROM worker_menus wm "
                            "JOIN menus m ON m.id = wm.menu_id "
                            "WHERE wm.worker_id = ? ORDER BY m.sort",
                            call.workerId);
    while (q.next()) {
        Json::Value menu(Json::objectValue);
        menu["id"] = reply::number(q.integer(0));
        menu["name"] = q.text(1);
        menu["sort"] = reply::number(q.integer(2));
        list.append(menu);
    }
    return list;
}

} // namespace

void registerWkMenuEndpoints(ApiRegistry &api)
{
    api.add("wkMenu/queryAllByWorkId", Access::Worker, menusOfWorker);
}
