#include "interchange/QuestionTransfer.h"

#include "core/TestModel.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace QuestionTransfer {

namespace {

using Issue = InterchangeNote::Issue;

InterchangeQuestion fromRecord(int number, int answerCount, bool multipleChoice, const QString &text,
                               const std::array<QString, kMaxAnswers> &answers, const QString &mask,
                               const QString &comment, const QString &imageName, const QString &textName,
                               TVfsPAK &archive, QList<InterchangeNote> &notes)
{
    InterchangeQuestion q;
    q.number = number;
    q.text = text;
    q.multipleChoice = multipleChoice;
    q.comment = comment;
    for (int i = 0; i < std::clamp(answerCount, 0, kMaxAnswers); ++i) {
        q.answers.append(answers[static_cast<size_t>(i)]);
        q.correct.append(i < mask.size() && mask[i] == u'1');
    }
    if (!imageName.isEmpty()) {
        if (const std::optional<QByteArray> bytes = ExtractStream(imageName, archive);
            bytes && !bytes->isEmpty()) {
            q.picture = *bytes;
            q.pictureName = imageName;
        } else {
            Interchange::note(notes, q, Issue::PictureUnreadable, imageName);
        }
    }
    if (!textName.isEmpty()) {
        if (const std::optional<QByteArray> bytes = ExtractStream(textName, archive)) {
            q.passage = Interchange::toModelLineBreaks(Cp1250::toUnicode(*bytes));
            q.passageName = textName;
        } else {
            Interchange::note(notes, q, Issue::PassageLeftOut, textName);
        }
    }
    return q;
}

bool keep(const InterchangeQuestion &q, QList<InterchangeNote> &notes)
{
    QString detail;
    if (const auto issue = Interchange::problemOf(q, &detail)) {
        Interchange::note(notes, q, *issue, detail);
        return false;
    }
    return true;
}

QString maskOf(const InterchangeQuestion &q)
{
    QString mask = u"00000"_s;
    for (qsizetype i = 0; i < std::min<qsizetype>(q.correct.size(), kMaxAnswers); ++i) {
        if (q.correct[i])
            mask[i] = u'1';
    }
    return mask;
}

// An answer is one line in the editor.
QString answerLine(const QString &answer, bool &joined)
{
    const QString plain = Interchange::toPlainLineBreaks(answer);
    if (!plain.contains(u'\n'))
        return plain;
    joined = true;
    return plain.split(u'\n', Qt::SkipEmptyParts).join(u' ');
}

struct Attachments {
    QString imageName;
    QString textName;
};

// Stores the question's picture and passage; false (and `error`) when the archive fails.
bool storeAttachments(const InterchangeQuestion &q, TVfsPAK &archive, Attachments &names,
                      QList<InterchangeNote> &notes, QString &error)
{
    if (!q.picture.isEmpty()) {
        const QString ext = u'.' + QFileInfo(q.pictureName).suffix();
        const bool known = pictureKind(ext) != PictureKind::None;
        names.imageName =
            storeMember(archive, storableName(q.pictureName, u"obraz"_s, known ? ext : u".jpg"_s), q.picture);
        if (names.imageName.isEmpty()) {
            error = archive.errorString();
            return false;
        }
    }
    if (!q.passage.isEmpty()) {
        const QString text = Interchange::toModelLineBreaks(q.passage);
        const QByteArray bytes = Cp1250::fromUnicode(text);
        if (bytes.count('?') != text.count(u'?'))
            Interchange::note(notes, q, Issue::PassageCharacters);
        names.textName = storeMember(archive, storableName(q.passageName, u"tekst"_s, u".txt"_s), bytes);
        if (names.textName.isEmpty()) {
            error = archive.errorString();
            return false;
        }
    }
    return true;
}

} // namespace

QList<InterchangeQuestion> fromTest(const TestModel &test, TVfsPAK &archive, QList<InterchangeNote> &notes)
{
    QList<InterchangeQuestion> out;
    const TestHeader &h = test.header;
    for (int k = 1; k <= std::clamp(h.questionCount, 0, kMaxQuestions); ++k) {
        const Question &r = test.question(k);
        InterchangeQuestion q = fromRecord(k, h.answerCount, h.multipleChoice != 0, r.text, r.answers,
                                           r.correct, r.comment, r.imageName, r.textName, archive, notes);
        if (keep(q, notes))
            out.append(std::move(q));
    }
    return out;
}

QList<InterchangeQuestion> fromSingleQuestion(const SingleQuestion &s, TVfsPAK &archive,
                                              QList<InterchangeNote> &notes)
{
    InterchangeQuestion q = fromRecord(1, s.answerCount, s.multipleChoice != 0, s.text, s.answers, s.correct,
                                       s.comment, s.imageName, s.textName, archive, notes);
    q.title = s.storedName;
    if (!keep(q, notes))
        return {};
    return {q};
}

bool headerHasMore(const TestHeader &h)
{
    const TestHeader fresh;
    return !h.author.trimmed().isEmpty() || h.time != 0 || h.gradingOn != 0 ||
           !h.remarks.trimmed().isEmpty() || h.thresholds != fresh.thresholds;
}

Appended appendToTest(TestModel &test, TVfsPAK &archive, const QList<InterchangeQuestion> &questions,
                      QList<InterchangeNote> &notes)
{
    Appended result;
    TestHeader &h = test.header;
    h.questionCount = std::clamp(h.questionCount, 0, kMaxQuestions);
    const bool fresh = h.questionCount == 0;
    for (const InterchangeQuestion &q : questions) {
        if (fresh && result.count == 0) {
            h.answerCount = static_cast<int>(q.answers.size());
            h.multipleChoice = q.multipleChoice ? 1 : 0;
        }
        if (h.questionCount >= kMaxQuestions) {
            Interchange::note(notes, q, Issue::TestFull);
            continue;
        }
        if (q.answers.size() != h.answerCount || q.multipleChoice != (h.multipleChoice != 0)) {
            Interchange::note(notes, q, Issue::DifferentShape);
            continue;
        }
        Attachments names;
        if (!storeAttachments(q, archive, names, notes, result.error))
            return result;
        const int k = ++h.questionCount;
        test.blankQuestion(k);
        Question &r = test.question(k);
        bool joined = false;
        r.text = Interchange::toModelLineBreaks(q.text);
        for (qsizetype i = 0; i < q.answers.size(); ++i)
            r.answers[static_cast<size_t>(i)] = answerLine(q.answers[i], joined);
        r.correct = maskOf(q);
        r.comment = Interchange::toModelLineBreaks(q.comment);
        r.imageName = names.imageName;
        r.textName = names.textName;
        r.unfinished = 0;
        if (joined)
            Interchange::note(notes, q, Issue::LineBreaksJoined);
        ++result.count;
    }
    return result;
}

bool toSingleQuestion(const InterchangeQuestion &q, SingleQuestion &out, TVfsPAK &archive,
                      QList<InterchangeNote> &notes, QString &error)
{
    Attachments names;
    if (!storeAttachments(q, archive, names, notes, error))
        return false;
    out.resetSingleQuestion();
    out.storedName = q.title;
    out.multipleChoice = q.multipleChoice ? 1 : 0;
    out.answerCount = static_cast<int>(q.answers.size());
    out.text = Interchange::toModelLineBreaks(q.text);
    bool joined = false;
    for (qsizetype i = 0; i < std::min<qsizetype>(q.answers.size(), kMaxAnswers); ++i)
        out.answers[static_cast<size_t>(i)] = answerLine(q.answers[i], joined);
    out.correct = maskOf(q);
    out.comment = Interchange::toModelLineBreaks(q.comment);
    out.imageName = names.imageName;
    out.textName = names.textName;
    if (joined)
        Interchange::note(notes, q, Issue::LineBreaksJoined);
    return true;
}

QString storableName(const QString &wanted, const QString &fallback, const QString &extension)
{
    QString name = wanted;
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    if (slash >= 0)
        name = name.mid(slash + 1);
    // An extension that fits is kept as it is spelled; any other stays part of the stem.
    QString ext = extension;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0 && name.mid(dot).compare(extension, Qt::CaseInsensitive) == 0) {
        ext = name.mid(dot);
        name.truncate(dot);
    }
    QString clean;
    for (QChar c : std::as_const(name)) {
        const bool unsafe = c.unicode() < 32 || QStringView(u"<>:\"/\\|?*").contains(c) ||
                            Cp1250::fromUnicode(c) == '?' || c.category() == QChar::Other_Format;
        clean += unsafe ? QChar(u'_') : c;
    }
    // Leading and trailing blanks and dots make names Windows cannot use.
    while (!clean.isEmpty() && (clean.front() == u' ' || clean.front() == u'.'))
        clean.remove(0, 1);
    while (!clean.isEmpty() && (clean.back() == u' ' || clean.back() == u'.'))
        clean.chop(1);
    if (clean.isEmpty())
        clean = fallback;
    // Room for the extension and a "_n" that makes the name unique.
    clean.truncate(TVfsPAK::MaxNameBytes - ext.size() - 8);
    return clean + ext;
}

QString storeMember(TVfsPAK &archive, const QString &name, const QByteArray &bytes)
{
    const QFileInfo info(name);
    const QString stem = info.completeBaseName();
    const QString ext = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (int n = 1;; ++n) {
        const QString candidate = n == 1 ? name : stem + u'_' + QString::number(n) + ext;
        if (HasMember(candidate, archive)) {
            if (ExtractStream(candidate, archive) == bytes)
                return candidate;
            continue;
        }
        return PutStream(candidate, bytes, archive) ? candidate : QString();
    }
}

} // namespace QuestionTransfer
