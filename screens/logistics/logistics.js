.pragma library
// The factory road's rules: the bags sent to the factory and what a bag offers, the bag
// contents, the arrival back in the store, the rail and the quality test. Its screens
// (SendFactory, IntoFactoryBatch, BatchArrivalStore, HangUp, qualityTest) read their rules
// from here.

// --- Factory bags ---------------------------------------------------------------------------

// The status tabs of the bag grid: "全部" sends no status.
var bagFilters = [
    { status: "", label: "全部" },
    { status: "1", label: "等待物流人员收取" },
    { status: "2", label: "送往工厂途中" },
    { status: "3", label: "到工厂" }
]

// What a bag ({ annexCnt, productCnt }) holds: its garments and their accessories.
function garmentCount(bag) {
    return (parseInt(bag.annexCnt, 10) || 0) + (parseInt(bag.productCnt, 10) || 0)
}

// What a bag's cell offers: a completed bag ("isFinish" "1") prints its label; any other may
// be deleted; an open one ("0") with something in it may be completed.
function bagActions(bag) {
    var finish = String(bag.isFinish)
    return { print: finish === "1", remove: finish !== "1", complete: finish === "0" && garmentCount(bag) > 0 }
}
