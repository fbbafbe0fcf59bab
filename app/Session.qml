pragma Singleton
import QtQuick 2.15

// The signed-in terminal's state, shared by every screen. Names, types and initial values
// are the ones the screens and the backend conversation rely on.
QtObject {
    property var whoPost: ""
    property var messagePost: ""
    property var httpCode: ""
    property var msg: ""
    property var appSecret: ""
    property var serialNum: ""
    property var accessToken: ""
    property string storename: ""
    property string workername: ""
    property int workerid: 0
    property string workerHaedPic: ""
    property string storeId: ""
    property string storeAddr: ""
    property string storeCreatTime: ""
    property string storeSerial: ""
    property string logoPath: ""
    property string mainName: ""
    property string mainInfo: ""
    property string errormsg: ""
    property string enterFlag: "MAIN"
    property string loginFlag: "rfID"
    property bool accountchange: true
    readonly property string exeVersion: "V4.0.2"
    property string newestVersion: ""
    property string qiniuToken: ""
    property bool istackphoto: false
    property int isElectronicLabel: 0
    property string washPrinterName: ""
    property string ticketPriterName: ""
    property string certificatePrinterName: ""
    property string iniRegister: ""
    property string qualityFlagM: ""
    property string ischecks: ""
    property string printetype: ""

    // Milliseconds since 1970 as text -> "yyyy/MM/d h:m:s" in local time ("" stays "").
    function timerToDate(timestamp) {
        if (timestamp === "" || timestamp === undefined || timestamp === null)
            return ""
        var d = new Date(Number(timestamp))
        return timerToDates(timestamp) .trim() + " " + d.getHours() + ":" + d.getMinutes() + ":" + d.getSeconds()
    }

    // Milliseconds since 1970 as text -> "yyyy/MM/d " (with the trailing blank).
    function timerToDates(timestamp) {
        if (timestamp === "" || timestamp === undefined || timestamp === null)
            return ""
        var d = new Date(Number(timestamp))
        var month = d.getMonth() + 1
        return d.getFullYear() + "/" + (month < 10 ? "0" + month : month) + "/" + d.getDate() + " "
    }
}
