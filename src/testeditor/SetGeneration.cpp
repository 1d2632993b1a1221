#include "testeditor/SetGeneration.h"

#include "core/Workspace.h"
#include "documents/QuestionDocument.h"
#include "documents/TestDocument.h"

#include <algorithm>

using namespace Qt::StringLiterals;

void SetGeneration::clear()
{
    sourceTest.clear();
    targetFolder.clear();
    prefix.clear();
}

bool SetGeneration::isPrefixCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_';
}

QString SetGeneration::filterPrefix(const QString &typed)
{
    QString out;
    for (const QChar c : typed) {
        if (isPrefixCharacter(c))
            out += c;
    }
    return out;
}

bool SetGeneration::isValidPrefix(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), isPrefixCharacter);
}

const QString &SetGeneration::editPrefix(const QString &edited)
{
    prefix = filterPrefix(edited);
    return prefix;
}

bool SetGeneration::canGenerate() const
{
    return !sourceTest.isEmpty() && !targetFolder.isEmpty() && !prefix.isEmpty();
}

QString SetGeneration::questionFilePath(const QString &folder, const QString &prefix, int n)
{
    const bool separated = folder.endsWith(u'/');
    return folder + (separated ? QString() : u"/"_s) + prefix + QString::number(n) + u".skq"_s;
}

SetGeneration::Result SetGeneration::generate(Workspace &ws) const
{
    Result result;
    if (!canGenerate() || !isValidPrefix(prefix))
        return result;
    if (!ReadTestDocument(ws, sourceTest))
        return result;
    result.testRead = true;
    const int count = std::clamp(ws.test.header.questionCount, 0, kMaxQuestions);
    for (int n = 1; n <= count; ++n) {
        const QString path = questionFilePath(targetFolder, prefix, n);
        const bool ok =
            ws.workingTest && CopyTestQuestion(ws, n) && WriteQuestionDocument(ws, path, *ws.workingTest);
        if (!ok) {
            result.failedQuestion = n;
            ws.showMessage(MessageKind::CloseOnly, MessageIcon::QuestionIcon,
                           u"Problemy z utworzeniem pytania nr "_s + QString::number(n) +
                               u"\rZgłoś problem autorowi."_s);
            break;
        }
        ++result.written;
    }
    return result;
}
