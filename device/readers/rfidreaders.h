/* Calls of the two RFID reader libraries, "function" and "HFReader", shared by the card-reader
 * helper and the stand-in libraries so both sides agree on every argument. */
#ifndef BRENVO_RFIDREADERS_H
#define BRENVO_RFIDREADERS_H

#ifdef _WIN32
#define RFID_CALL __stdcall
#else
#define RFID_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* function: ISO 15693 tag in the field. Returns 0 when found; bytes 2..9 of the 16-byte
 * buffer are its identifier. */
typedef int(RFID_CALL *ISO15693_Inventory_fn)(unsigned short *flags, unsigned char *buffer);

/* function: Mifare card serial. Returns 0 when found; bytes 0..3 of value (16 bytes). */
typedef int(RFID_CALL *MF_Getsnr_fn)(int mode, int halt, unsigned char *snr, unsigned char *value);

/* function: read blocks of a Mifare card with a 6-byte key. Returns 0 on success; buffer
 * (64 bytes) holds the blocks, the first 4 bytes of key then hold the card's serial. */
typedef int(RFID_CALL *MF_Read_fn)(int mode, int block, int blockCount, unsigned char *key,
                                   unsigned char *buffer);

/* HFReader: open the USB reader by vendor and product id; returns a device handle. */
typedef int(RFID_CALL *hfReaderOpenUsb_fn)(int vendorId, int productId);

/* HFReader: inventory. Returns at least 1 on success; result (228 bytes) holds the number
 * of tags as a 32-bit count at offset 224 and the first tag's identifier, lowest byte
 * first, at bytes 20..27. */
typedef int(RFID_CALL *iso15693GetUid_fn)(int handle, int flags, int mode, int afi,
                                          unsigned char *result, int reserved1, int reserved2);

#define RFID_HF_RESULT_SIZE 228
#define RFID_HF_COUNT_OFFSET 224
#define RFID_HF_UID_OFFSET 20

#ifdef __cplusplus
}
#endif

#endif
