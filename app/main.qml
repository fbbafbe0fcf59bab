import QtQuick 2.15
import QtQuick.Window 2.15
import Brenvo 1.0

Window {
    id: _Main
    visible: true
    width: 1300
    height: 900
    title: "Brenvo门店"
    Text { text: Session.exeVersion }
}
