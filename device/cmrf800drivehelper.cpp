#include "device/cmrf800drivehelper.h"

#include "app/appconfig.h"
#include "device/devicelog.h"
#include "device/readers/rfidreaders.h"

#include <QLibrary>
#include <QtEndian>

#include <cstring>

namespace {

QString hexDigits(const unsigned char *bytes, int count)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(bytes), count).toHex());
}

// The key the store's staff cards are written with: six characters from the configuration.
void staffCardKey(unsigned char key[6])
{
    const QByteArray configured = AppConfig::readerKey().toLatin1();
    if (configured.size() != 6)
        qCWarning(lcDevice, "reader key must be six characters, has %d", int(configured.size()));
    std::memset(key, 0, 6);
    std::memcpy(key, configured.constData(), size_t(qMin(configured.size(), 6)));
}

} // namespace

CMRF800DriveHelper::CMRF800DriveHelper(QObject *parent)
    : QObject(parent), m_function(new QLibrary(QStringLiteral("function"), this)),
      m_hfReader(new QLibrary(QStringLiteral("HFReader"), this))
{
}

bool CMRF800DriveHelper::init()
{
    if (m_function->load() && m_hfReader->load()) {
        qCDebug(lcDevice, "dll 加载成功");
        return true;
    }
    qCDebug(lcDevice, "dll 加载失败");
    return false;
}

bool CMRF800DriveHelper::readCardId()
{
    m_cardId.clear();
    const auto inventory =
        reinterpret_cast<ISO15693_Inventory_fn>(m_function->resolve("ISO15693_Inventory"));
    if (inventory) {
        qCDebug(lcDevice, "readcard");
        unsigned short flags = 0;
        unsigned char buffer[16] = {};
        if (inventory(&flags, buffer) == 0) {
            const unsigned char *b = buffer;
            qCDebug(lcDevice,
                    "the receive card number is : %02x %02x %02x %02x %02x %02x %02x %02x "
                    "%02x %02x %02x\r\n",
                    b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10]);
            m_cardId = hexDigits(buffer + 2, 8);
            qCDebug(lcDevice).noquote() << "cardid:" << m_cardId;
            return true;
        }
        qCDebug(lcDevice, "ios15693 failure");
    } else {
        qCDebug(lcDevice, "can't find method ios15693");
        const auto getSnr = reinterpret_cast<MF_Getsnr_fn>(m_function->resolve("MF_Getsnr"));
        if (!getSnr)
            return false;
        unsigned char snr[16] = {};
        unsigned char value[16] = {};
        if (getSnr(0x26, 0, snr, value) == 0) {
            qCDebug(lcDevice, "the receive card number is : %02x %02x %02x %02x\r\n", value[0],
                    value[1], value[2], value[3]);
            m_cardId = hexDigits(value, 4);
            qCDebug(lcDevice).noquote() << "cardid:" << m_cardId;
            return true;
        }
        qCDebug(lcDevice, "getsnr failure");
    }
    return readHfCardId();
}

bool CMRF800DriveHelper::readHfCardId()
{
    const auto getUid = reinterpret_cast<iso15693GetUid_fn>(m_hfReader->resolve("iso15693GetUid"));
    const auto openUsb =
        reinterpret_cast<hfReaderOpenUsb_fn>(m_hfReader->resolve("hfReaderOpenUsb"));
    if (!openUsb) {
        qCDebug(lcDevice, "filed to open USB  HF");
        return false;
    }
    const int handle = openUsb(0x0505, 0x5050);
    if (!getUid) {
        qCDebug(lcDevice, "filed to getCard UID  HF");
        return false;
    }
    unsigned char result[RFID_HF_RESULT_SIZE] = {};
    if (getUid(handle, 0, 1, 0, result, 0, 0) < 1) {
        qCDebug(lcDevice, "filed to read card  HF");
        return false;
    }
    if (qFromUnaligned<qint32>(result + RFID_HF_COUNT_OFFSET) <= 0) {
        qCDebug(lcDevice, "none card");
        return false;
    }
    // The reader gives the identifier lowest byte first.
    unsigned char uid[8];
    for (int i = 0; i < 8; ++i)
        uid[i] = result[RFID_HF_UID_OFFSET + 7 - i];
    m_cardId = hexDigits(uid, 8);
    return true;
}

bool CMRF800DriveHelper::readCard(int block)
{
    m_cardText.clear();
    qCDebug(lcDevice, "----------------read card--------------");
    const auto mfRead = reinterpret_cast<MF_Read_fn>(m_function->resolve("MF_Read"));
    if (!mfRead) {
        qCDebug(lcDevice, "can't find method readCard");
        return false;
    }
    unsigned char key[6];
    staffCardKey(key);
    unsigned char buffer[64] = {};
    if (mfRead(1, block, 1, key, buffer) != 0) {
        qCDebug(lcDevice, "filed to read card");
        return false;
    }
    qCDebug(lcDevice, "卡号: %02x %02x %02x %02x\r\n卡的内容:", key[0], key[1], key[2], key[3]);
    m_cardText =
        QString::fromLatin1(reinterpret_cast<const char *>(buffer),
                            int(qstrnlen(reinterpret_cast<const char *>(buffer), sizeof buffer)));
    return true;
}
