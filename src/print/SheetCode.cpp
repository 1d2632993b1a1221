#include "print/SheetCode.h"

#include "print/PrintPlan.h"

#include <QCryptographicHash>
#include <QList>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr char kMagic[] = "ZXK1";
constexpr int kFields = 13; // with the check sum

QByteArray checkSum(QByteArrayView body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex().left(8);
}

QByteArray text(const QString &s)
{
    return s.left(kMaxSheetNameChars).toUtf8().toPercentEncoding();
}

bool refuse(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

bool number(const QByteArray &field, int min, int max, int &out)
{
    if (field.isEmpty() || field.size() > 10)
        return false;
    for (char c : field)
        if (c < '0' || c > '9')
            return false;
    bool ok = false;
    const qint64 v = field.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return false;
    out = static_cast<int>(v);
    return true;
}

bool name(const QByteArray &field, QString &out)
{
    for (char c : field)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            return false;
    const QByteArray utf8 = QByteArray::fromPercentEncoding(field);
    out = QString::fromUtf8(utf8);
    // Invalid UTF-8 does not survive the round trip; control characters are no name.
    if (out.toUtf8() != utf8 || out.size() > kMaxSheetNameChars)
        return false;
    for (QChar c : std::as_const(out))
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

} // namespace

QString SheetCode::pupilName() const
{
    if (firstName.isEmpty() || surname.isEmpty())
        return (firstName + surname).trimmed();
    return firstName + u' ' + surname;
}

QByteArray encodeSheetCode(const SheetCode &code)
{
    QByteArray scale = "-";
    if (code.classScale) {
        scale.clear();
        for (int t : *code.classScale)
            scale += (scale.isEmpty() ? "" : ",") + QByteArray::number(t);
    }
    const QList<QByteArray> fields{
        kMagic,
        code.fingerprint.toLatin1(),
        QByteArray::number(code.versions),
        QByteArray::number(code.version),
        QByteArray(code.shuffled ? "S" : "U") + QByteArray::number(code.seed),
        QByteArray::number(code.questions) + 'x' + QByteArray::number(code.answers),
        QByteArray::number(code.page) + '/' + QByteArray::number(code.pages),
        QByteArray::number(code.pupil),
        text(code.className),
        text(code.firstName),
        text(code.surname),
        scale,
        "",
    };
    QByteArray body = fields.mid(0, fields.size() - 1).join('|') + '|';
    return body + checkSum(body);
}

std::optional<SheetCode> decodeSheetCode(const QByteArray &bytes, QString *why)
{
    if (bytes.size() > kMaxSheetCodeBytes || !bytes.startsWith(QByteArray(kMagic) + '|')) {
        refuse(why, u"not the code of an answer sheet"_s);
        return std::nullopt;
    }
    const qsizetype last = bytes.lastIndexOf('|');
    if (checkSum(bytes.left(last + 1)) != bytes.mid(last + 1)) {
        refuse(why, u"the sheet's code does not add up (damaged or not made by the program)"_s);
        return std::nullopt;
    }
    const QList<QByteArray> f = bytes.split('|');
    SheetCode code;
    const auto bad = [why](const QString &what) {
        refuse(why, u"the sheet's code holds an impossible "_s + what);
        return std::nullopt;
    };
    if (f.size() != kFields)
        return bad(u"number of fields"_s);
    if (f[1].size() != 16 || !std::all_of(f[1].begin(), f[1].end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        }))
        return bad(u"test fingerprint"_s);
    code.fingerprint = QString::fromLatin1(f[1]);
    if (!number(f[2], 1, kMaxPrintVersions, code.versions) || !number(f[3], 0, code.versions - 1, code.version))
        return bad(u"version"_s);
    if (f[4].size() < 2 || (f[4][0] != 'S' && f[4][0] != 'U'))
        return bad(u"seed"_s);
    code.shuffled = f[4][0] == 'S';
    {
        bool ok = f[4].size() <= 11;
        const QByteArray digits = f[4].mid(1);
        ok = ok && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        const qulonglong seed = ok ? digits.toULongLong(&ok) : 0;
        if (!ok || seed > 0xffffffffULL || (!code.shuffled && code.versions > 1))
            return bad(u"seed"_s);
        code.seed = static_cast<quint32>(seed);
    }
    const QList<QByteArray> grid = f[5].split('x');
    if (grid.size() != 2 || !number(grid[0], 0, kMaxQuestions, code.questions) ||
        !number(grid[1], 1, kMaxAnswers, code.answers))
        return bad(u"grid"_s);
    const QList<QByteArray> page = f[6].split('/');
    if (page.size() != 2 || !number(page[1], 1, 9, code.pages) || !number(page[0], 1, code.pages, code.page))
        return bad(u"page"_s);
    if (!number(f[7], 0, 100000, code.pupil))
        return bad(u"pupil"_s);
    if (!name(f[8], code.className) || !name(f[9], code.firstName) || !name(f[10], code.surname))
        return bad(u"name"_s);
    if (f[11] != "-") {
        const QList<QByteArray> t = f[11].split(',');
        std::array<int, 5> scale{};
        if (t.size() != 5)
            return bad(u"grading scale"_s);
        for (int i = 0; i < 5; ++i)
            if (!number(t[i], 0, 100, scale[static_cast<size_t>(i)]))
                return bad(u"grading scale"_s);
        code.classScale = scale;
    }
    return code;
}

QString testFingerprint(const TestModel &test)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const int count = printedQuestionCount(test.header);
    const int answers = printedAnswerCount(test.header);
    hash.addData(QByteArray::number(count) + '/' + QByteArray::number(answers) + '\n');
    for (int k = 1; k <= count; ++k) {
        const Question &q = test.question(k);
        hash.addData(q.text.toUtf8() + '\x1f');
        for (int a = 0; a < answers; ++a) {
            hash.addData(q.answers[static_cast<size_t>(a)].toUtf8() + '\x1f');
            hash.addData(isCorrectAnswer(q, a) ? "1" : "0");
        }
        hash.addData("\x1e");
    }
    return QString::fromLatin1(hash.result().toHex().left(16));
}
