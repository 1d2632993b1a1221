#include "GifFixture.h"

namespace GifFixture {

namespace {

void putWord(QByteArray &out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

class BitWriter {
public:
    void put(int code, int width)
    {
        m_bits |= static_cast<quint32>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.append(static_cast<char>(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(static_cast<char>(m_bits & 0xFF));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

} // namespace

QByteArray encode(const QImage &image)
{
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
    QByteArray out = "GIF89a";
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append(static_cast<char>(0xF7)); // global table of 256 colours
    out.append('\0');
    out.append('\0');
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : 0;
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    out.append(static_cast<char>(0x2C));
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append('\0');

    constexpr int Clear = 256, End = 257, Width = 9;
    BitWriter bits;
    int sinceClear = 0;
    bits.put(Clear, Width);
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear == 100) {
                bits.put(Clear, Width);
                sinceClear = 0;
            }
            bits.put(line[x], Width);
            ++sinceClear;
        }
    }
    bits.put(End, Width);
    const QByteArray data = bits.finish();

    out.append(static_cast<char>(8)); // minimum code size
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - at);
        out.append(static_cast<char>(n));
        out.append(data.mid(at, n));
    }
    out.append('\0');
    out.append(static_cast<char>(0x3B));
    return out;
}

} // namespace GifFixture
