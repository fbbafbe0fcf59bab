/* Stand-in for the reader library "HFReader": a second high-frequency reader. */
#include "cardfile.h"
#include "rfidreaders.h"

READER_EXPORT int RFID_CALL hfReaderOpenUsb(int vendorId, int productId)
{
    char state[16];
    if (card_value("hf_reader", state, sizeof state) && strcmp(state, "off") == 0)
        return -1; /* no reader on the USB bus */
    return vendorId == 0x0505 && productId == 0x5050 ? 1 : -1;
}

READER_EXPORT int RFID_CALL iso15693GetUid(int handle, int flags, int mode, int afi,
                                           unsigned char *result, int reserved1, int reserved2)
{
    unsigned char uid[8];
    int count = 0;
    int i;
    (void)flags;
    (void)mode;
    (void)afi;
    (void)reserved1;
    (void)reserved2;
    if (handle < 1)
        return 0;
    if (card_bytes("hf", uid, 8) == 8) {
        count = 1;
        for (i = 0; i < 8; ++i)
            result[RFID_HF_UID_OFFSET + i] = uid[7 - i]; /* lowest byte first */
    }
    memcpy(result + RFID_HF_COUNT_OFFSET, &count, sizeof count);
    return 1;
}
