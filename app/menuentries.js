.pragma library

// The twelve functions of the home menu, in their default order.
var all = [
    { menuId: "525", label: "下单", screen: "PlaceOrder", flag: "PlaceOrder", icon: "btn_PlaceOrder1", hover: "btn_PlaceOrder2" },
    { menuId: "526", label: "取衣", screen: "TakeCloth", flag: "TakeCloth", icon: "takeclothes1", hover: "takeclothes2" },
    { menuId: "527", label: "到店", screen: "BatchArrivalStore", flag: "BatchArrival", icon: "arrivestore1", hover: "arrivestore2" },
    { menuId: "528", label: "送厂", screen: "SendFactory", flag: "SendFactory", icon: "sendfcatory1", hover: "sendfcatory2" },
    { menuId: "529", label: "会员管理", screen: "MemberManagement", flag: "MemberMage", icon: "MemberManagement1", hover: "MemberManagement2" },
    { menuId: "530", label: "订单管理", screen: "OrderInquiry", flag: "OrderList", icon: "OrderInquiry1", hover: "OrderInquiry2" },
    { menuId: "531", label: "衣物管理", screen: "ClothList", flag: "ClothList", icon: "ClothQuery1", hover: "ClothQuery2" },
    { menuId: "532", label: "设置", screen: "Setting", flag: "Setting", icon: "setting1", hover: "setting2" },
    { menuId: "533", label: "入库", screen: "PutStorage", flag: "PutStorage", icon: "PutStorage1", hover: "PutStorage2" },
    { menuId: "534", label: "门店质检", screen: "qualityTest", flag: "Quality", icon: "Quality1", hover: "Quality2" },
    { menuId: "535", label: "营收分析", screen: "RevenueAnalysis", flag: "RevenueAnalysis", icon: "RevenueAnalysis1", hover: "RevenueAnalysis2" },
    { menuId: "536", label: "上挂", screen: "HangUp", flag: "HangUp", icon: "HangUp", hover: "HangUpC" }
]

// The entries a worker may use, in the order the backend lists the rights; ids the menu
// does not know are skipped.
function entriesForRights(ids) {
    var byId = {}
    for (var i = 0; i < all.length; ++i)
        byId[all[i].menuId] = all[i]
    var entries = []
    for (var j = 0; j < ids.length; ++j) {
        var entry = byId[String(ids[j])]
        if (entry !== undefined)
            entries.push(entry)
    }
    return entries
}
