// Photo records of garments: which stored pictures belong to which garment.
//   orderProductRelImg/list      orderProId             -> [{"id", "cameraImg", "compressImg"}]
//   orderProductRelImg/batchAdd  orderProId, imgs (JSON array text of {"cameraImg", "compressImg"})
//   orderProductRelImg/delete    id

#include <memory>
#include <vector>

#include <json/json.h>

#include "apiregistry.h"
#include "database.h"
#include "endpoints.h"

namespace {

// A garment of the caller's merchant; another merchant's garment is as unknown as a missing one.
std::int64_t garmentOf(Call &call, const char *field)
{
    const std::int64_t id = call.integer(field);
    const std::int64_t found = call.db.scalar(0,
                                              "SELECT p.id FROM order_products p "
                                              "JOIN orders o ON o.id = p.order_id "
                                              "WHERE p.id = ? AND o.merc_id = ?",
                                              id, call.mercId);
    if (found == 0)
        throw ApiError(codes::notFound, "衣物不存在");
    return found;
}

// The screens send the key the photo store answered; a full picture address is taken too.
std::string keyOf(const Call &call, std::string image)
{
    const std::string prefix = call.baseUrl + "/files/";
    if (image.compare(0, prefix.size(), prefix) == 0)
        image.erase(0, prefix.size());
    return image;
}

// The image list text: a JSON array of objects, each naming a stored picture in cameraImg.
std::vector<std::pair<std::string, std::string>> parseImages(const std::string &text)
{
    Json::Value list;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(text.data(), text.data() + text.size(), &list, &errors) || !list.isArray())
        throw ApiError(codes::badRequest, "参数格式错误: imgs");
    std::vector<std::pair<std::string, std::string>> images;
    for (const Json::Value &item : list) {
        if (!item.isObject() || !item["cameraImg"].isString() ||
            item["cameraImg"].asString().empty())
            throw ApiError(codes::badRequest, "参数格式错误: imgs");
        const Json::Value &compress = item["compressImg"];
        images.emplace_back(item["cameraImg"].asString(),
                            compress.isString() ? compress.asString() : std::string());
    }
    return images;
}

Json::Value listPhotos(Call &call)
{
    const std::int64_t garment = garmentOf(call, "orderProId");
    Json::Value list(Json::arrayValue);
    Query q = call.db.query("SELECT id, camera_img, compress_img FROM order_product_imgs "
                            "WHERE order_product_id = ? ORDER BY id",
                            garment);
    while (q.next()) {
        Json::Value photo(Json::objectValue);
        photo["id"] = reply::number(q.integer(0));
        photo["cameraImg"] = call.baseUrl + "/files/" + q.text(1);
        photo["compressImg"] = q.text(2);
        list.append(photo);
    }
    return list;
}

Json::Value addPhotos(Call &call)
{
    const std::int64_t garment = garmentOf(call, "orderProId");
    const auto images = parseImages(call.text("imgs"));
    for (const auto &image : images) {
        const std::string key = keyOf(call, image.first);
        // A record must point at a picture the store really holds, or the screens show a
        // broken image for ever.
        if (call.db.scalar(0, "SELECT 1 FROM upload_files WHERE key = ?", key) == 0)
            throw ApiError(codes::badRequest, "图片不存在: " + key);
        call.db.exec("INSERT INTO order_product_imgs (order_product_id, camera_img, "
                     "compress_img, created_at) VALUES (?, ?, ?, ?)",
                     garment, key, image.second, call.now);
    }
    return Json::Value(Json::objectValue);
}

Json::Value deletePhoto(Call &call)
{
    const std::int64_t id = call.integer("id");
    const int removed = call.db.exec("DELETE FROM order_product_imgs WHERE id = ? AND "
                                     "order_product_id IN (SELECT p.id FROM order_products p "
                                     "JOIN orders o ON o.id = p.order_id WHERE o.merc_id = ?)",
                                     id, call.mercId);
    if (removed == 0)
        throw ApiError(codes::notFound, "图片不存在");
    return Json::Value(Json::objectValue);
}

} // namespace

void registerPhotoEndpoints(ApiRegistry &api)
{
    api.add("orderProductRelImg/list", Access::Worker, listPhotos);
    api.add("orderProductRelImg/batchAdd", Access::Worker, addPhotos);
    api.add("orderProductRelImg/delete", Access::Worker, deletePhoto);
}
