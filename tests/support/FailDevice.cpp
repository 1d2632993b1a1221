#include "support/FailDevice.h"

#include <algorithm>

FailDevice::FailDevice(qint64 failAfter, QByteArray readData)
    : failAfter_(failAfter), source_(std::move(readData))
{
}

qint64 FailDevice::readData(char *data, qint64 maxSize)
{
    if (readPos_ >= failAfter_) {
        setErrorString(QStringLiteral("Simulated read failure"));
        return -1;
    }
    const qint64 n = std::min({maxSize, failAfter_ - readPos_, static_cast<qint64>(source_.size()) - readPos_});
    if (n <= 0)
        return readPos_ < source_.size() ? -1 : 0;
    std::copy_n(source_.constData() + readPos_, n, data);
    readPos_ += n;
    return n;
}

qint64 FailDevice::writeData(const char *data, qint64 size)
{
    const qint64 room = failAfter_ - written_.size();
    if (room <= 0) {
        setErrorString(QStringLiteral("Simulated write failure"));
        return -1;
    }
    const qint64 n = std::min(size, room);
    written_.append(data, n);
    return n;
}
