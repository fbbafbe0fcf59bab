.pragma library
// Paging of the backend's lists. Pages count from 1; a list asks for the next page only
// when the last page it received was full, and only one page at a time.
//
// A pager is a plain object: { page, size, lastCount, loading }.

function start(size) {
    return { page: 1, size: size, lastCount: 0, loading: true }
}

// The request fields of the page the pager stands at, as the backend takes them.
function fields(pager) {
    return { pageNum: String(pager.page), pageSize: String(pager.size) }
}

// Whether rows of a reply replace the list (the first page) or are appended to it.
function replaces(pager) {
    return pager.page === 1
}

// A page of `count` rows arrived.
function received(pager, count) {
    return { page: pager.page, size: pager.size, lastCount: count, loading: false }
}

// The request of a page failed: the pager stays where it was and may ask again.
function failed(pager) {
    var back = pager.page > 1 && pager.loading ? pager.page - 1 : pager.page
    return { page: back, size: pager.size, lastCount: pager.page > 1 ? pager.size : 0, loading: false }
}

// Whether the list may ask for the next page: the last page was full and none is out.
function hasMore(pager) {
    return !pager.loading && pager.lastCount >= pager.size
}

// The pager at the next page, loading.
function next(pager) {
    return { page: pager.page + 1, size: pager.size, lastCount: 0, loading: true }
}
