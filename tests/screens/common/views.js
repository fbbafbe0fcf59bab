.pragma library

// The delegate of row `index` of a ListView, once the view has made it: a view makes its rows
// when it is next polished, so right after its count changes itemAtIndex() still gives null.
function rowAt(testCase, list, index) {
    var row = null
    testCase.tryVerify(function () { row = list.itemAtIndex(index); return row !== null }, 5000,
                       "row " + index + " of " + list.objectName + " not made")
    return row
}
