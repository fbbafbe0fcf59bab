// Stand-in for the vendor's web host: the two version files of the update check.
//   GET /vendor/upgrade_pc.txt, GET /vendor/upgrade_content_pc.txt

#include <httplib.h>

#include "server/backendserver.h"
#include "standins/standins.h"
#include "store/database.h"

void standins::registerVendorFiles(BackendServer &server)
{
    server.http().Get(
        "/vendor/(upgrade_pc\\.txt|upgrade_content_pc\\.txt)",
        [&server](const httplib::Request &req, httplib::Response &res) {
            const std::string name = req.matches[1];
            if (name == "upgrade_pc.txt" && !server.options().vendorVersion.empty())
                return res.set_content(server.options().vendorVersion, "text/plain;charset=UTF-8");
            auto conn = server.database().acquire(Connection::Mode::ReadOnly);
            Query q = conn->query("SELECT content FROM vendor_files WHERE name = ?", name);
            if (!q.next()) {
                res.status = 404;
                return;
            }
            res.set_content(q.text("content"), "text/plain;charset=UTF-8");
        });
}
