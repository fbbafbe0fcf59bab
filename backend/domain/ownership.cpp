#include "domain/ownership.h"

#include "server/call.h"
#include "server/registry.h"
#include "store/database.h"

namespace ownership {

namespace records {
const Record member{"SELECT merc_id AS mercId, store_id AS storeId FROM users WHERE id = ?",
                    Scope::Merchant, "会员不存在", "非此门店会员"};
const Record address{"SELECT u.merc_id AS mercId, u.store_id AS storeId FROM user_addresses a "
                     "JOIN users u ON u.id = a.user_id WHERE a.id = ? AND a.deleted = 0",
                     Scope::Merchant, "地址不存在", "非此门店地址"};
const Record coupon{"SELECT merc_id AS mercId, 0 AS storeId FROM coupons WHERE id = ?",
                    Scope::Merchant, "优惠券不存在", "非此门店优惠券"};
const Record userCoupon{"SELECT u.merc_id AS mercId, u.store_id AS storeId FROM user_coupons c "
                        "JOIN users u ON u.id = c.user_id WHERE c.id = ?",
                        Scope::Merchant, "优惠券不存在", "非此门店优惠券"};
const Record tag{"SELECT merc_id AS mercId, 0 AS storeId FROM user_tags WHERE id = ?",
                 Scope::Merchant, "标签不存在", "非此门店标签"};
const Record group{"SELECT merc_id AS mercId, 0 AS storeId FROM user_groups WHERE id = ?",
                   Scope::Merchant, "分组不存在", "非此门店分组"};
const Record order{"SELECT merc_id AS mercId, store_id AS storeId FROM orders WHERE id = ?",
                   Scope::Store, "订单不存在", "非此门店订单"};
const Record garment{"SELECT o.merc_id AS mercId, o.store_id AS storeId FROM order_products p "
                     "JOIN orders o ON o.id = p.order_id WHERE p.id = ?",
                     Scope::Store, "衣物不存在", "非此门店衣物"};
const Record photo{"SELECT o.merc_id AS mercId, o.store_id AS storeId FROM order_product_imgs i "
                   "JOIN order_products p ON p.id = i.order_product_id "
                   "JOIN orders o ON o.id = p.order_id WHERE i.id = ?",
                   Scope::Store, "图片不存在", "非此门店衣物的图片"};
const Record bag{"SELECT s.merc_id AS mercId, b.store_id AS storeId FROM batch_in b "
                 "JOIN stores s ON s.id = b.store_id WHERE b.id = ?",
                 Scope::Store, "袋子不存在", "非此门店袋子"};
const Record batch{"SELECT s.merc_id AS mercId, bo.store_id AS storeId FROM batch_out bo "
                   "JOIN stores s ON s.id = bo.store_id WHERE bo.id = ?",
                   Scope::Store, "批次不存在", "非此门店批次"};
const Record trade{"SELECT s.merc_id AS mercId, t.store_id AS storeId FROM trades t "
                   "JOIN stores s ON s.id = t.store_id WHERE t.id = ?",
                   Scope::Store, "交易不存在", "非此门店交易"};
const Record businessLine{"SELECT merc_id AS mercId, 0 AS storeId FROM business_lines WHERE id = ?",
                          Scope::Merchant, "项目不存在", "非此门店项目"};
const Record product{"SELECT b.merc_id AS mercId, 0 AS storeId FROM products p "
                     "JOIN business_lines b ON b.id = p.business_id WHERE p.id = ?",
                     Scope::Merchant, "衣物不存在", "非此门店衣物"};
// A payment belongs to its order's store.
const Record payment{"SELECT o.merc_id AS mercId, o.store_id AS storeId FROM payments p "
                     "JOIN orders o ON o.id = p.order_id WHERE p.id = ?",
                     Scope::Store, "交易不存在", "非此门店交易"};
// A recharge belongs to the store that took it.
const Record recharge{"SELECT s.merc_id AS mercId, r.store_id AS storeId FROM recharges r "
                      "JOIN stores s ON s.id = r.store_id WHERE r.id = ?",
                      Scope::Store, "交易不存在", "非此门店交易"};
const Record store{"SELECT merc_id AS mercId, id AS storeId FROM stores WHERE id = ?", Scope::Store,
                   "门店不存在", "非此门店"};
const Record factory{"SELECT merc_id AS mercId, 0 AS storeId FROM factories WHERE id = ?",
                     Scope::Merchant, "工厂不存在", "非此门店工厂"};
} // namespace records

void check(Call &call, const Record &record, std::int64_t id, Scope scope)
{
    Query q = call.db.query(record.ownerSql, id);
    if (!q.next() || q.integer("mercId") != call.mercId)
        throw ApiError(codes::notFound, record.unknown);
    if (scope == Scope::Store && q.integer("storeId") != call.storeId)
        throw ApiError(codes::forbidden, record.otherStore);
}

void check(Call &call, const Record &record, std::int64_t id)
{
    check(call, record, id, record.scope);
}

std::int64_t owned(Call &call, const Record &record, const char *field)
{
    const std::int64_t id = call.integer(field);
    check(call, record, id);
    return id;
}

} // namespace ownership
