/* Stand-in for the reader library "function": an ISO 15693 and Mifare reader. */
#include "cardfile.h"
#include "rfidreaders.h"

#ifndef READER_WITHOUT_ISO15693
READER_EXPORT int RFID_CALL ISO15693_Inventory(unsigned short *flags, unsigned char *buffer)
{
    unsigned char uid[8];
    (void)flags;
    if (card_bytes("iso15693", uid, 8) != 8)
        return 1;  /* no tag in the field */
    buffer[0] = 1; /* tags found */
    memcpy(buffer + 2, uid, 8);
    return 0;
}
#endif

#ifndef READER_WITHOUT_GETSNR
READER_EXPORT int RFID_CALL MF_Getsnr(int mode, int halt, unsigned char *snr, unsigned char *value)
{
    unsigned char serial[4];
    (void)mode;
    (void)halt;
    if (card_bytes("mifare_serial", serial, 4) != 4)
        return 1; /* no card */
    snr[0] = 0;   /* single card */
    memcpy(value, serial, 4);
    return 0;
}
#endif

READER_EXPORT int RFID_CALL MF_Read(int mode, int block, int blockCount, unsigned char *key,
                                    unsigned char *buffer)
{
    unsigned char serial[4];
    unsigned char data[16] = {0};
    char name[32];
    char text[64];
    (void)mode;
    if (card_bytes("mifare_serial", serial, 4) != 4 || blockCount != 1)
        return 1; /* no card */
    /* A card written with a key answers only to that key. */
    if (card_value("mifare_key", text, sizeof text)) {
        if (strlen(text) != 6 || memcmp(text, key, 6) != 0)
            return 2;
    }
    snprintf(name, sizeof name, "mifare_block%d", block);
    if (card_bytes(name, data, 16) < 0) {
        snprintf(name, sizeof name, "mifare_block%d_text", block);
        /* A block is 16 bytes: longer text is cut, shorter is padded with zero bytes. */
        if (card_value(name, text, sizeof text)) {
            size_t length = strlen(text);
            memcpy(data, text, length < sizeof data ? length : sizeof data);
        }
    }
    memcpy(buffer, data, sizeof data);
    memcpy(key, serial, 4);
    return 0;
}
