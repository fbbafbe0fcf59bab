// orderProductRelImg/...: photo records of garments, which stored pictures belong to which
// garment.
//   orderProductRelImg/list      orderProId             -> [{"id", "cameraImg", "compressImg"}]
//   orderProductRelImg/batchAdd  orderProId, imgs (JSON array text of {"cameraImg", "compressImg"})
//   orderProductRelImg/delete    id

#include "api/families.h"
#include "domain/ownership.h"
#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

using ownership::owned;
namespace records = ownership::records;

namespace {

// As many as the intake screen's photo window holds.
constexpr std::int64_t maxPhotosPerGarment = 9;

// The screens send the key the photo store answered; a full picture address is taken too.
std::string keyOf(const Call &call, std::string image)
{
    const std::string prefix = call.baseUrl + "/files/";
    if (image.compare(0, prefix.size(), prefix) == 0)
        image.erase(0, prefix.size());
    return image;
}

Json::Value listPhotos(Call &call)
{
    const std::int64_t garment = owned(call, records::garment, "orderProId");
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT id, ? || camera_img AS cameraImg, "
                            "compress_img AS compressImg FROM order_product_imgs "
                            "WHERE order_product_id = ? ORDER BY id",
                            call.baseUrl + "/files/", garment);
    while (q.next())
        list.append(q.object());
    return list;
}

// Each entry names a picture the caller's store uploaded, in cameraImg. A picture the garment
// holds already is not recorded again; a batch that would take the garment past nine photos
// is refused whole.
Json::Value addPhotos(Call &call)
{
    const std::int64_t garment = owned(call, records::garment, "orderProId");
    for (const Json::Value &item : call.jsonArray("imgs")) {
        if (!item.isObject() || !item["cameraImg"].isString() ||
            item["cameraImg"].asString().empty())
            throw ApiError(codes::badRequest, "参数格式错误: imgs");
        const std::string key = keyOf(call, item["cameraImg"].asString());
        const Json::Value &compress = item["compressImg"];
        // A record must point at a picture the photo store holds for this store, or the
        // screens show a broken image for ever, or another store's garment.
        if (call.db.scalar(0, "SELECT COUNT(*) FROM upload_files WHERE key = ? AND store_id = ?",
                           key, call.storeId) == 0)
            throw ApiError(codes::badRequest, "图片不存在: " + key);
        if (call.db.scalar(0,
                           "SELECT COUNT(*) FROM order_product_imgs WHERE order_product_id = ? "
                           "AND camera_img = ?",
                           garment, key) > 0)
            continue;
        if (call.db.scalar(0, "SELECT COUNT(*) FROM order_product_imgs WHERE order_product_id = ?",
                           garment) >= maxPhotosPerGarment)
            throw ApiError(codes::conflict,
                           "每件衣物最多" + std::to_string(maxPhotosPerGarment) + "张照片");
        call.db.exec("INSERT INTO order_product_imgs (order_product_id, camera_img, "
                     "compress_img, created_at) VALUES (?, ?, ?, ?)",
                     garment, key, compress.isString() ? compress.asString() : std::string(),
                     call.now);
    }
    return Json::Value(Json::objectValue);
}

Json::Value deletePhoto(Call &call)
{
    const std::int64_t id = owned(call, records::photo, "id");
    call.db.exec("DELETE FROM order_product_imgs WHERE id = ?", id);
    return Json::Value(Json::objectValue);
}

} // namespace

void api::orderProductRelImg::registerEndpoints(ApiRegistry &api)
{
    api.read("orderProductRelImg/list", Access::Worker, listPhotos);
    api.write("orderProductRelImg/batchAdd", Access::Worker, addPhotos);
    api.write("orderProductRelImg/delete", Access::Worker, deletePhoto);
}
