import QtQuick 2.15
import QtTest 1.2
import "qrc:/money.js" as Money

// Money in whole fen: what is typed in yuan, what is shown, and shares of an amount.
TestCase {
    name: "Money"

    function test_fen_to_yuan_data() {
        return [
            { tag: "whole", fen: "1234", text: "12.34" },
            { tag: "under a yuan", fen: "5", text: "0.05" },
            { tag: "zero", fen: "0", text: "0.00" },
            { tag: "negative", fen: "-150", text: "-1.50" },
            { tag: "number", fen: 43500, text: "435.00" },
            { tag: "big", fen: "123456789012", text: "1234567890.12" },
            { tag: "past 32 bits", fen: 4294967301, text: "42949673.01" },
            { tag: "largest exact", fen: 9007199254740991, text: "90071992547409.91" },
            { tag: "empty", fen: "", text: "0.00" },
            { tag: "not a number", fen: "1.5", text: "0.00" }
        ]
    }
    function test_fen_to_yuan(row) { compare(Money.fenToYuan(row.fen), row.text) }

    function test_yuan_to_fen_data() {
        return [
            // 19.99 * 100 is 1998.9999999999998 in floating point.
            { tag: "19.99", text: "19.99", fen: 1999 },
            { tag: "0.29", text: "0.29", fen: 29 },
            { tag: "1.1", text: "1.1", fen: 110 },
            { tag: "whole", text: "20", fen: 2000 },
            { tag: "trailing point", text: "3.", fen: 300 },
            { tag: "leading point", text: ".5", fen: 50 },
            { tag: "blanks", text: " 8.88 ", fen: 888 },
            { tag: "big", text: "12345678.91", fen: 1234567891 },
            // A 32-bit int would make it 5 fen.
            { tag: "past 32 bits", text: "42949673.01", fen: 4294967301 },
            { tag: "largest exact", text: "90071992547409.91", fen: 9007199254740991 },
            { tag: "leading zeros", text: "000042949673.01", fen: 4294967301 },
            { tag: "past the exact range", text: "90071992547409.92", fen: NaN },
            { tag: "twenty digits", text: "99999999999999999999", fen: NaN },
            { tag: "two points", text: "1.2.3", fen: NaN },
            { tag: "three decimals", text: "1.234", fen: NaN },
            { tag: "empty", text: "", fen: NaN },
            { tag: "point only", text: ".", fen: NaN },
            { tag: "negative", text: "-1", fen: NaN },
            { tag: "letters", text: "12a", fen: NaN }
        ]
    }
    function test_yuan_to_fen(row) {
        var fen = Money.yuanToFen(row.text)
        if (isNaN(row.fen)) {
            verify(isNaN(fen), row.text + " gave " + fen)
            verify(!Money.isYuan(row.text))
        } else {
            compare(fen, row.fen)
            compare(Money.fenToYuan(fen), Money.fenToYuan(row.fen))
        }
    }

    // "修改总价" takes any number of decimals and rounds half up to the fen.
    function test_yuan_to_fen_rounded_data() {
        return [
            { tag: "19.99", text: "19.99", fen: 1999 },
            { tag: "whole", text: "7", fen: 700 },
            { tag: "half up", text: "12.345", fen: 1235 },
            { tag: "below half", text: "12.344", fen: 1234 },
            { tag: "up into the next yuan", text: "0.995", fen: 100 },
            { tag: "tiny", text: "0.004", fen: 0 },
            { tag: "past 32 bits", text: "42949673.005", fen: 4294967301 },
            { tag: "up to the largest exact", text: "90071992547409.905", fen: 9007199254740991 },
            { tag: "up past the largest exact", text: "90071992547409.915", fen: NaN },
            { tag: "twenty digits", text: "99999999999999999999", fen: NaN },
            { tag: "trailing point", text: "3.", fen: 300 },
            { tag: "two points", text: "1.2.3", fen: NaN },
            { tag: "empty", text: "", fen: NaN },
            { tag: "negative", text: "-1", fen: NaN }
        ]
    }
    function test_yuan_to_fen_rounded(row) {
        var got = Money.yuanToFenRounded(row.text)
        if (isNaN(row.fen))
            verify(isNaN(got), row.tag + ": " + got)
        else
            compare(got, row.fen)
    }

    function test_percent_of_data() {
        return [
            { tag: "half, rounded down", fen: 3333, percent: 50, share: 1666 },
            { tag: "85 %", fen: 1999, percent: 85, share: 1699 },
            { tag: "all", fen: 1999, percent: 100, share: 1999 },
            { tag: "none", fen: 1999, percent: 0, share: 0 },
            { tag: "text", fen: "1000", percent: "95", share: 950 }
        ]
    }
    function test_percent_of(row) { compare(Money.percentOf(row.fen, row.percent), row.share) }
}
