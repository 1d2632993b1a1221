#pragma once

#include <QByteArray>
#include <QIODevice>

// A device that accepts `failAfter` bytes and then fails every further write (or read), to prove that
// writers notice a failed write and readers a failed read. Written bytes are kept for the test to check;
// reads are served from `readData` given to the constructor.
class FailDevice : public QIODevice {
public:
    explicit FailDevice(qint64 failAfter, QByteArray readData = {});

    const QByteArray &written() const { return written_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    qint64 failAfter_;
    QByteArray source_;
    qint64 readPos_ = 0;
    QByteArray written_;
};
