#pragma once

class ApiRegistry;

// The endpoint families, one per URL prefix. A family is its file api/<prefix in lower
// case>.cpp, defining api::<prefix>::registerEndpoints, and its one line here.
#define BRENVO_API_FAMILIES(FAMILY)                                                                \
    FAMILY(client)                                                                                 \
    FAMILY(cashier)                                                                                \
    FAMILY(wkMenu)                                                                                 \
    FAMILY(attachment)                                                                             \
    FAMILY(userInfo)                                                                               \
    FAMILY(userTag)                                                                                \
    FAMILY(userGroup)                                                                              \
    FAMILY(rfid)                                                                                   \
    FAMILY(userAddress)                                                                            \
    FAMILY(serviceTime)                                                                            \
    FAMILY(couponInfo)                                                                             \
    FAMILY(couponFCode)                                                                            \
    FAMILY(orderInfo)                                                                              \
    FAMILY(userExt)                                                                                \
    FAMILY(mercParam)                                                                              \
    FAMILY(tradePay)                                                                               \
    FAMILY(productBusiness)                                                                        \
    FAMILY(productType)                                                                            \
    FAMILY(productInfo)                                                                            \
    FAMILY(productService)                                                                         \
    FAMILY(productAnnex)                                                                           \
    FAMILY(productColor)                                                                           \
    FAMILY(productFlaw)                                                                            \
    FAMILY(productEffect)                                                                          \
    FAMILY(productBrand)                                                                           \
    FAMILY(productAddService)                                                                      \
    FAMILY(stockIn)                                                                                \
    FAMILY(orderProductRel)                                                                        \
    FAMILY(orderProductRelImg)                                                                     \
    FAMILY(mercCity)                                                                               \
    FAMILY(orderExt)                                                                               \
    FAMILY(orderProductBatchIn)                                                                    \
    FAMILY(orderProductBatchInRel)                                                                 \
    FAMILY(orderProductBatchOut)                                                                   \
    FAMILY(orderProductBatchOutRel)                                                                \
    FAMILY(tradeOrder)                                                                             \
    FAMILY(sysDicKey)                                                                              \
    FAMILY(tradeRefund)                                                                            \
    FAMILY(orderProductRelAudit)                                                                   \
    FAMILY(tradeOrderRefund)                                                                       \
    FAMILY(tradeAudit)                                                                             \
    FAMILY(print)                                                                                  \
    FAMILY(userCard)                                                                               \
    FAMILY(userRecharge)                                                                           \
    FAMILY(userRechargeRule)                                                                       \
    FAMILY(station)                                                                                \
    FAMILY(revenueSum)                                                                             \
    FAMILY(revenueCnt)                                                                             \
    FAMILY(revenueOrder)                                                                           \
    FAMILY(revenueRecharge)                                                                        \
    FAMILY(reportTradeOrder)                                                                       \
    FAMILY(reportTradeRecharge)                                                                    \
    FAMILY(factory)

#define BRENVO_DECLARE_API_FAMILY(prefix)                                                          \
    namespace api::prefix {                                                                        \
    void registerEndpoints(ApiRegistry &api);                                                      \
    }
BRENVO_API_FAMILIES(BRENVO_DECLARE_API_FAMILY)
#undef BRENVO_DECLARE_API_FAMILY

namespace api {
// Registers every family's endpoints.
void registerAll(ApiRegistry &registry);
} // namespace api
