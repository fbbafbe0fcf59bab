// wkMenu/...: the signed-in worker's menu rights.

#include "api/families.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

Json::Value menusOfWorker(Call &call)
{
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT m.id, m.name, m.sort FROM worker_menus wm "
                            "JOIN menus m ON m.id = wm.menu_id "
                            "WHERE wm.worker_id = ? ORDER BY m.sort",
                            call.workerId);
    while (q.next())
        list.append(q.object());
    return list;
}

} // namespace

void api::wkMenu::registerEndpoints(ApiRegistry &api)
{
    api.read("wkMenu/queryAllByWorkId", Access::Worker, menusOfWorker);
}
