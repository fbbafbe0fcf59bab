#pragma once

#include <QObject>
#include <QString>

class QLibrary;

// The counter's USB RFID readers, reached through two vendor libraries loaded at run time
// ("function": ISO 15693 and Mifare; "HFReader": a second high-frequency reader). A missing
// library is not fatal: reads then simply find no card.
//
// Reads block the calling thread for as long as the reader takes.
class CMRF800DriveHelper : public QObject
{
    Q_OBJECT

public:
    explicit CMRF800DriveHelper(QObject *parent = nullptr);

    // Loads "function", then "HFReader"; true when both loaded.
    bool init();

    // Identifier of the tag or card on the reader (16 hex digits for ISO 15693 and HF
    // tags, 8 for a Mifare serial). On true, cardId() holds it.
    bool readCardId();
    QString cardId() const { return m_cardId; }

    // Text stored in a block of the staff card on the reader. On true, cardText() holds
    // it ("" when the block starts with a zero byte).
    bool readCard(int block = 4);
    QString cardText() const { return m_cardText; }

private:
    bool readHfCardId();

    QLibrary *m_function;
    QLibrary *m_hfReader;
    QString m_cardId;
    QString m_cardText;
};
