#include "interchange/InterchangeQuestion.h"

#include "core/TestModel.h"
#include "storage/Cp1250.h"
#include "storage/Pictures.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QStringConverter>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

int InterchangeQuestion::correctCount() const
{
    return static_cast<int>(std::count(correct.begin(), correct.end(), true));
}

namespace {

using I = InterchangeNote::Issue;

// The wording of every note in both languages, "%1" standing for the note's detail; in the order of
// the enumeration.
struct Wording {
    I issue;
    const char16_t *english;
    const char16_t *polish;
};
constexpr Wording kWordings[] = {
    {I::OtherType, u"skipped: a question of type \"%1\", not multiple choice.",
     u"pominięte: pytanie typu \"%1\", nie wielokrotnego wyboru."},
    {I::Description, u"skipped: text without answers.", u"pominięte: tekst bez odpowiedzi."},
    {I::AnswerCount, u"skipped: %1 answers; a test question has 3 to 5.",
     u"pominięte: odpowiedzi %1, a pytanie testu ma od 3 do 5."},
    {I::NoCorrectAnswer, u"skipped: no answer is marked correct.",
     u"pominięte: żadna odpowiedź nie jest poprawna."},
    {I::SeveralCorrectInSingle, u"skipped: a single-choice question with more than one correct answer.",
     u"pominięte: jednokrotny wybór z kilkoma poprawnymi odpowiedziami."},
    {I::EmptyAnswer, u"skipped: answer %1 is empty.", u"pominięte: odpowiedź %1 jest pusta."},
    {I::NoText, u"skipped: no question text and no picture.", u"pominięte: brak treści pytania i obrazka."},
    {I::PictureNotCarried, u"skipped: it shows a picture, which GIFT cannot carry.",
     u"pominięte: pokazuje obrazek, którego GIFT nie przenosi."},
    {I::UnbalancedBraces, u"skipped: a \"{\" without its \"}\" or the other way round.",
     u"pominięte: nawias \"{\" bez \"}\" lub odwrotnie."},
    {I::SeveralAnswerBlocks, u"skipped: more than one answer block.",
     u"pominięte: więcej niż jeden blok odpowiedzi."},
    {I::NoAnswerLine, u"skipped: no \"ANSWER:\" line after the answers.",
     u"pominięte: brak wiersza \"ANSWER:\" po odpowiedziach."},
    {I::BadAnswerLetter, u"skipped: \"ANSWER: %1\" names no answer.",
     u"pominięte: \"ANSWER: %1\" nie wskazuje żadnej odpowiedzi."},
    {I::NotSingleChoice, u"skipped: multiple choice, which Aiken cannot hold.",
     u"pominięte: wielokrotny wybór, którego Aiken nie przenosi."},
    {I::MatchingTable, u"skipped: its answers are a table (matching), not a list of choices.",
     u"pominięte: odpowiedzi w tabeli (dopasowywanie), a nie lista do wyboru."},
    {I::DifferentShape, u"skipped: its answer count or choice type differs from the test's.",
     u"pominięte: inna liczba odpowiedzi lub rodzaj wyboru niż w teście."},
    {I::TestFull, u"skipped: a test holds at most %1 questions.",
     u"pominięte: test mieści najwyżej %1 pytań."},
    {I::PictureUnreadable, u"picture \"%1\" is not a picture that can be read; left out.",
     u"obrazek \"%1\" nie daje się odczytać; pominięty."},
    {I::PictureLeftOut, u"picture \"%1\" left out: the format cannot carry it.",
     u"obrazek \"%1\" pominięty: format go nie przenosi."},
    {I::PassageLeftOut, u"text passage \"%1\" left out: the format cannot carry it.",
     u"tekst \"%1\" pominięty: format go nie przenosi."},
    {I::CommentLeftOut, u"comment left out: the format cannot carry it.",
     u"komentarz pominięty: format go nie przenosi."},
    {I::AnswerFeedbackLeftOut, u"feedback of single answers left out.",
     u"komentarze do poszczególnych odpowiedzi pominięte."},
    {I::WeightsSimplified, u"answer weights read as plain right or wrong.",
     u"wagi odpowiedzi odczytane jako dobra lub zła."},
    {I::LineBreaksJoined, u"line breaks joined into spaces.", u"podziały wierszy zamienione na spacje."},
    {I::PassageCharacters, u"characters Windows-1250 cannot hold became \"?\" in the text passage.",
     u"znaki spoza Windows-1250 w tekście zamienione na \"?\"."},
    {I::HeaderLeftOut, u"the test's author, time, grading scale and remarks are not carried by the format.",
     u"autor, czas, skala ocen i uwagi testu nie są przenoszone przez format."},
    {I::Damaged, u"the file is damaged (%1); nothing after this was read.",
     u"plik jest uszkodzony (%1); dalsza część nie została odczytana."},
    {I::TooManyQuestions, u"more than %1 questions; nothing after this was read.",
     u"ponad %1 pytań; dalsza część nie została odczytana."},
    {I::ExtraPictures, u"%1 pictures; the first is kept.", u"obrazków: %1; zachowano pierwszy."},
};

static_assert(std::size(kWordings) == static_cast<size_t>(I::ExtraPictures) + 1);

QString wordingOf(const InterchangeNote &n, bool polish)
{
    const Wording &w = kWordings[static_cast<int>(n.issue)];
    Q_ASSERT(w.issue == n.issue);
    QString what = QString::fromUtf16(polish ? w.polish : w.english);
    if (what.contains(u"%1"_s)) {
        what = n.issue == I::TestFull           ? what.arg(kMaxQuestions)
               : n.issue == I::TooManyQuestions ? what.arg(Interchange::MaxQuestionsInFile)
                                                : what.arg(n.detail);
    }
    QString place;
    const QString line =
        n.paragraph ? (polish ? u"akapit"_s : u"paragraph"_s) : (polish ? u"wiersz"_s : u"line"_s);
    if (n.number > 0 && n.line > 0)
        place =
            (polish ? u"Pytanie %1 (%2 %3)"_s : u"question %1 (%2 %3)"_s).arg(n.number).arg(line).arg(n.line);
    else if (n.number > 0)
        place = (polish ? u"Pytanie %1"_s : u"question %1"_s).arg(n.number);
    else if (n.line > 0)
        place = line + u' ' + QString::number(n.line);
    if (polish && !place.isEmpty())
        place[0] = place[0].toUpper();
    if (place.isEmpty() && polish)
        what[0] = what[0].toUpper();
    return place.isEmpty() ? what : place + u": "_s + what;
}

} // namespace

QString InterchangeNote::englishText() const
{
    return wordingOf(*this, false);
}

QString InterchangeNote::polishText() const
{
    return wordingOf(*this, true);
}

namespace Interchange {

std::optional<InterchangeNote::Issue> problemOf(const InterchangeQuestion &q, QString *detail)
{
    using I = InterchangeNote::Issue;
    const qsizetype count = q.answers.size();
    if (count < 3 || count > kMaxAnswers) {
        if (detail)
            *detail = QString::number(count);
        return I::AnswerCount;
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (q.answers[i].trimmed().isEmpty()) {
            if (detail)
                *detail = QString::number(i + 1);
            return I::EmptyAnswer;
        }
    }
    const int correct = q.correctCount();
    if (correct == 0)
        return I::NoCorrectAnswer;
    if (!q.multipleChoice && correct > 1)
        return I::SeveralCorrectInSingle;
    if (q.text.trimmed().isEmpty() && q.picture.isEmpty())
        return I::NoText;
    return std::nullopt;
}

void note(QList<InterchangeNote> &notes, const InterchangeQuestion &q, InterchangeNote::Issue issue,
          const QString &detail)
{
    notes.append({q.line, q.number, issue, detail, q.lineIsParagraph});
}

void sortByPlace(QList<InterchangeNote> &notes)
{
    std::stable_sort(notes.begin(), notes.end(), [](const InterchangeNote &a, const InterchangeNote &b) {
        return a.line != b.line ? a.line < b.line : a.number < b.number;
    });
}

bool refuseLarge(QByteArrayView bytes, InterchangeContent &content)
{
    if (bytes.size() <= MaxFileBytes)
        return false;
    content.error = u"larger than %1 MB; no question bank needs that much."_s.arg(MaxFileBytes >> 20);
    return true;
}

bool isFull(InterchangeContent &content, const InterchangeQuestion &q)
{
    if (++content.seen <= MaxQuestionsInFile)
        return false;
    note(content.notes, q, InterchangeNote::Issue::TooManyQuestions);
    return true;
}

void accept(InterchangeContent &content, InterchangeQuestion q)
{
    QString detail;
    if (const auto issue = problemOf(q, &detail)) {
        note(content.notes, q, *issue, detail);
        return;
    }
    content.questions.append(std::move(q));
}

QString decodeTextFile(QByteArrayView bytes)
{
    QString text;
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom, QStringConverter::Flag::ConvertInvalidToNull);
        text = decoder(bytes);
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8(bytes);
        if (utf8.hasError())
            text = Cp1250::toUnicode(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return toPlainLineBreaks(text);
}

QString toPlainLineBreaks(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString toModelLineBreaks(QStringView text)
{
    return toPlainLineBreaks(text).replace(u'\n', u"\r\n"_s);
}

QString categoryPath(const QString &name)
{
    return u"$course$/"_s + name.trimmed().replace(u'\n', u' ').replace(u"/"_s, u"//"_s);
}

QString categoryName(QStringView path)
{
    QString part;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] == u'/') {
            if (i + 1 < path.size() && path[i + 1] == u'/') {
                part += u'/';
                ++i;
            } else {
                part.clear();
            }
        } else {
            part += path[i];
        }
    }
    part = part.trimmed();
    return part == u"top"_s || part.startsWith(u'$') ? QString() : part;
}

QString shareText(int correctCount)
{
    if (correctCount <= 1)
        return u"100"_s;
    QString s = QString::number(100.0 / correctCount, 'f', 5);
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(u'.'))
        s.chop(1);
    return s;
}

namespace {

QString withExtension(const QString &name, const QString &extension)
{
    const QString stem = QFileInfo(name).completeBaseName();
    return (stem.isEmpty() ? u"obraz"_s : stem) + extension;
}

bool isPng(QByteArrayView b)
{
    return b.startsWith("\x89PNG\r\n\x1a\n");
}

} // namespace

bool takePicture(const QByteArray &bytes, QString &name, QByteArray &kept)
{
    QString extension;
    if (bytes.startsWith("\xFF\xD8\xFF"))
        extension = u".jpg"_s;
    else if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        extension = u".gif"_s;
    else if (bytes.startsWith("BM"))
        extension = u".bmp"_s;
    if (!extension.isEmpty()) {
        // Keep the name's own spelling of a fitting extension.
        const QString fitting =
            pictureKind(name) == pictureKind(extension) ? name : withExtension(name, extension);
        QImage image;
        if (!decodePicture(bytes, fitting, image))
            return false;
        name = fitting;
        kept = bytes;
        return true;
    }
    if (!isPng(bytes))
        return false;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxPictureSide || size.height() > MaxPictureSide ||
        qint64(size.width()) * size.height() > MaxPicturePixels)
        return false;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return false;
    // JPEG has no transparency: what was see-through shows as a white page would.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, "jpeg");
    writer.setQuality(90);
    if (!writer.write(flat))
        return false;
    name = withExtension(name, u".jpg"_s);
    kept = out.data();
    return true;
}

bool weightsAreShares(const QList<double> &weights)
{
    const auto correct = std::count_if(weights.begin(), weights.end(), [](double w) { return w > 0; });
    if (correct == 0)
        return true;
    const double share = 100.0 / static_cast<double>(correct);
    return std::all_of(weights.begin(), weights.end(),
                       [share](double w) { return w <= 0 || std::abs(w - share) < 0.01; });
}

} // namespace Interchange
