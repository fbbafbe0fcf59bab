// station/...: the store's quality check. A garment is passed by its scanned code, or every
// garment of an order at once; its accessories are checked one by one or all together.

#include "api/families.h"
#include "domain/garments.h"
#include "domain/ownership.h"
#include "domain/quality.h"
#include "domain/rail.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace {

// `scanCode`; `queryFlag` "true" when the worker types the order's slot (配单号) at the
// terminal, otherwise an order passed without one gets the store's lowest free slot.
Json::Value passGarment(Call &call)
{
    const std::int64_t garmentId =
        quality::garmentByCode(call, trimmed(call.requiredText("scanCode")));
    quality::pass(call.db, garmentId, call.workerId, call.now);
    if (call.optionalText("queryFlag") != "true")
        rail::giveSlot(call.db, call.storeId, garments::orderOf(call.db, garmentId));
    return quality::passAnswer(call.db, garmentId);
}

// `orderId`: "全部合格", every garment of the order in the store.
Json::Value passOrder(Call &call)
{
    const std::int64_t orderId = ownership::owned(call, ownership::records::order, "orderId");
    quality::passOrder(call.db, orderId, call.workerId, call.now);
    return Json::Value(Json::objectValue);
}

// `scanCode` of an accessory of the garment `pId`.
Json::Value checkAnnex(Call &call)
{
    const std::int64_t garmentId = ownership::owned(call, ownership::records::garment, "pId");
    quality::checkAnnex(call.db, garmentId, trimmed(call.requiredText("scanCode")), call.workerId,
                        call.now);
    return Json::Value(Json::objectValue);
}

// `pId`: every accessory of the garment.
Json::Value checkAnnexes(Call &call)
{
    const std::int64_t garmentId = ownership::owned(call, ownership::records::garment, "pId");
    quality::checkAnnexes(call.db, garmentId, call.workerId, call.now);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::station::registerEndpoints(ApiRegistry &api)
{
    api.write("station/newStoreScanCode", Access::Worker, passGarment);
    api.write("station/orderScanCode", Access::Worker, passOrder);
    api.write("station/storeScanAnnexCode", Access::Worker, checkAnnex);
    api.write("station/storeScanAnnexAll", Access::Worker, checkAnnexes);
}
