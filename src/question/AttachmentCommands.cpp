#include "question/AttachmentCommands.h"

#include "core/TextHelpers.h"
#include "core/Workspace.h"
#include "question/AttachmentFiles.h"
#include "question/PictureIntake.h"
#include "question/QuestionEditor.h"
#include "storage/ArchiveAccess.h"
#include "storage/Cp1250.h"
#include "storage/TVfsPAK.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;
namespace AF = AttachmentFiles;

namespace {

const QString kTextFromTestFailed = u"Problem z wczytaniem pliku tekstowego z PakTemp"_s;
const QString kTextFromDiskFailed = u"Problem z wczytaniem pliku tekstowego z dysku"_s;
const QString kPictureFailed = u"Problem z wczytaniem pliku obrazu z PakTemp"_s;

QString missingOrUnreadable(const QString &name)
{
    return u"Nie można odczytać pliku „%1”.\rByć może plik został usunięty lub jest uszkodzony."_s.arg(name);
}

QString unreadableDiskFile(const QString &path)
{
    return u"Nie można odczytać pliku\r„%1”.\rPytanie pozostaje bez zmian."_s.arg(path);
}

QString copyFailed(const QString &name)
{
    return u"Nie udało się skopiować pliku „%1” do testu.\rPytanie zachowuje poprzedni plik."_s.arg(name);
}

} // namespace

AttachmentCommands::AttachmentCommands(QuestionEditor &editor, Kind kind)
    : m_editor(editor), m_ws(editor.workspace()), m_kind(kind)
{}

bool AttachmentCommands::inTest() const
{
    return m_editor.inTest();
}

bool AttachmentCommands::isOfKind(const QString &name, Kind kind)
{
    const QString upper = name.toUpper();
    if (kind == Kind::Text)
        return upper.endsWith(u".TXT"_s);
    return upper.endsWith(u".JPG"_s) || upper.endsWith(u".GIF"_s) || upper.endsWith(u".BMP"_s);
}

bool AttachmentCommands::isNameInUse(const TestModel &test, const QString &name, Kind kind)
{
    // Members are found without regard to case, so a reference in another case still uses the file.
    for (const Question &q : test.questions) {
        const QString &used = kind == Kind::Text ? q.textName : q.imageName;
        if (!used.isEmpty() && used.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

FileDialogRequest AttachmentCommands::chooserRequest(Kind kind, const QString &folder)
{
    FileDialogRequest r;
    r.startFolder = folder;
    if (kind == Kind::Text) {
        r.title = u"Wskaż plik tekstowy"_s;
        r.filter = u"Pliki tekstowe (*.txt)"_s;
        r.defaultExtension = u"txt"_s;
    } else {
        r.title = u"Dokonaj wyboru pliku obrazka"_s;
        r.filter =
            u"All (*.jpg *.bmp *.gif);;Bitmaps (*.bmp);;JPEG Image File (*.jpg);;GIF Image File (*.gif)"_s;
    }
    return r;
}

QString &AttachmentCommands::recordName()
{
    auto a = m_editor.attachments();
    return m_kind == Kind::Text ? a.textName : a.imageName;
}

QString &AttachmentCommands::recordSource()
{
    auto a = m_editor.attachments();
    return m_kind == Kind::Text ? a.textSource : a.imageSource;
}

QString &AttachmentCommands::lastName()
{
    LastAttachments &l = m_ws.lastAttachments;
    return m_kind == Kind::Text ? l.textName : l.imageName;
}

QString &AttachmentCommands::lastSource()
{
    LastAttachments &l = m_ws.lastAttachments;
    return m_kind == Kind::Text ? l.textSource : l.imageSource;
}

// --- Opening ------------------------------------------------------------------------------------

void AttachmentCommands::rebuildTestNames()
{
    testNames.clear();
    if (!m_ws.workingTest)
        return;
    QStringList members;
    ListMembers(members, *m_ws.workingTest);
    for (const QString &name : std::as_const(members)) {
        if (isOfKind(name, m_kind))
            testNames.append(name);
    }
}

void AttachmentCommands::rebuildListLines()
{
    listLines.clear();
    for (const QString &name : std::as_const(testNames)) {
        const auto lines = AF::memberLines(m_ws.workingTest.get(), name);
        listLines.append(lines ? shortenText(normaliseText(AF::joinedText(*lines)), 70) : QString());
    }
}

void AttachmentCommands::buildStrip()
{
    QList<QImage> pictures;
    if (m_ws.workingTest)
        pictures = m_thumbnails.thumbnails(*m_ws.workingTest, testNames);
    for (const QImage &picture : std::as_const(pictures)) {
        if (picture.isNull())
            m_ws.logEvent(0, kPictureFailed);
    }
    strip.build(pictures);
}

void AttachmentCommands::preparePreview()
{
    const QString last = lastName();
    textPreview.clear();
    picturePreview = QImage();
    pictureNote.clear();
    picturePreviewShown = false;
    lastEnabled = !last.isEmpty();
    if (m_kind == Kind::Text) {
        if (last.isEmpty()) {
            textPreview = inTest() ? u"Test nie zawiera jeszcze dodatkowych\rplików tekstowych"_s
                                   : u"Nie wstawiano jeszcze dodatkowych plików tekstowych"_s;
            return;
        }
        const auto lines =
            inTest() ? AF::memberLines(m_ws.workingTest.get(), last) : AF::diskLines(lastSource());
        if (lines) {
            textPreview = normaliseText(AF::joinedText(*lines));
        } else {
            m_ws.logEvent(0, inTest() ? kTextFromTestFailed : kTextFromDiskFailed);
            textPreview = missingOrUnreadable(last);
        }
        return;
    }
    if (last.isEmpty())
        return;
    picturePreviewShown = true;
    QImage picture;
    // A single question's picture without a source waits in its own archive (a reduced photo).
    const bool read =
        inTest()                ? AF::memberPicture(m_ws.workingTest.get(), last, picture, previewBox)
        : lastSource().isEmpty() ? AF::memberPicture(m_ws.workingQuestion.get(), last, picture, previewBox)
                                 : LoadPictureFile(lastSource(), picture, fitInto(previewBox)) && !picture.isNull();
    if (read) {
        picturePreview = picture;
    } else {
        m_ws.logEvent(0, kPictureFailed);
        pictureNote = missingOrUnreadable(last);
    }
}

void AttachmentCommands::open()
{
    listShown = false;
    removeEnabled = !recordName().isEmpty();
    testNames.clear();
    listLines.clear();
    strip.clear();
    if (inTest()) {
        rebuildTestNames();
        // Without a last-used file the test's latest file of this kind is offered.
        if (lastName().isEmpty() && !testNames.isEmpty())
            lastName() = testNames.constLast();
        // The strip's cells stand from the start; its pictures are decoded when it is first shown,
        // so a dialog opened to attach a new file never waits for the test's photos.
        if (m_kind == Kind::Image)
            strip.build(QList<QImage>(testNames.size()));
        m_stripDecoded = false;
        listEnabled = !testNames.isEmpty();
    } else {
        listEnabled = false;
    }
    preparePreview();
}

// --- Commands -----------------------------------------------------------------------------------

AttachmentCommands::Outcome AttachmentCommands::refuse(const QString &text)
{
    m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon, text);
    return Outcome::StayOpen;
}

AttachmentCommands::Outcome AttachmentCommands::attach(const QString &name, const QString &source)
{
    recordName() = name;
    recordSource() = source;
    m_editor.markChanged();
    return Outcome::Close;
}

AttachmentCommands::Outcome AttachmentCommands::newFile()
{
    listShown = false;
    if (!m_ws.prompts)
        return Outcome::StayOpen;
    const QString folder = m_chooserFolder.isEmpty() ? m_ws.paths.programFolder : m_chooserFolder;
    const QString chosen = m_ws.prompts->openFileName(chooserRequest(m_kind, folder));
    if (chosen.isEmpty())
        return Outcome::StayOpen;
    const QFileInfo info(chosen);
    const QString name = info.fileName();
    const QString path = info.absoluteFilePath();
    m_chooserFolder = info.absolutePath();
    if (!AF::storableName(name))
        return refuse(AF::unstorableNameMessage(name));
    if (inTest())
        return newFileInTest(name, path);
    // The single question's file stays on disk until the question is saved.
    if (!info.isFile() || !info.isReadable())
        return refuse(unreadableDiskFile(path));
    QString source = path;
    if (m_kind == Kind::Image) {
        // A reduced photo has no file on disk: it waits in the question's own archive.
        const std::optional<QByteArray> bytes = AF::diskBytes(path);
        if (!bytes)
            return refuse(unreadableDiskFile(path));
        const std::optional<QByteArray> stored = storedBytes(name, *bytes);
        if (!stored)
            return Outcome::StayOpen;
        if (*stored != *bytes) {
            if (!m_ws.workingQuestion || !PutStream(name, *stored, *m_ws.workingQuestion))
                return refuse(copyFailed(name));
            source.clear();
        }
    }
    lastName() = name;
    lastSource() = source;
    return attach(name, source);
}

AttachmentCommands::Outcome AttachmentCommands::newFileInTest(const QString &name, const QString &path)
{
    TVfsPAK *test = m_ws.workingTest.get();
    const std::optional<QByteArray> bytes = AF::diskBytes(path);
    if (!bytes)
        return refuse(unreadableDiskFile(path));
    if (!test)
        return refuse(copyFailed(name));

    if (!HasMember(name, *test)) {
        const std::optional<QByteArray> stored = storedBytes(name, *bytes);
        if (!stored)
            return Outcome::StayOpen;
        if (!PutStream(name, *stored, *test)) {
            m_ws.logEvent(0, test->errorString());
            return refuse(copyFailed(name));
        }
        // A reduced photo is no longer the disk file.
        const QString source = *stored == *bytes ? path : QString();
        lastName() = name;
        lastSource() = source;
        return attach(name, source);
    }

    // The test already has a file of that name: the user says whether it is the same one.
    const int index = test->IndexOfName(name);
    const QString memberName = test->Names().value(index, name);
    const QByteArray inTestBytes = ExtractStream(memberName, *test).value_or(QByteArray());
    const bool text = m_kind == Kind::Text;
    const ClashAnswer answer =
        text ? m_ws.prompts->resolveTextClash(name, Cp1250::toUnicode(inTestBytes), Cp1250::toUnicode(*bytes))
             : m_ws.prompts->resolveImageClash(name, inTestBytes, memberName, *bytes, name);
    switch (answer.result) {
    case ClashAnswer::Cancel:
        return Outcome::Close;
    case ClashAnswer::SameFile:
        lastName() = name;
        // The text keeps no source (the test's copy serves it); the picture keeps the path it was chosen at.
        return attach(name, m_kind == Kind::Text ? QString() : path);
    case ClashAnswer::OtherFile:
        break;
    }
    const QString newName = AF::typedName(text, answer.newName, name);
    // The program's dialog refuses such a name before it closes; whatever answered is held to the same rule.
    if (const QString refusal = AF::clashNameProblem(text, answer.newName, name, test); !refusal.isEmpty())
        return refuse(refusal);
    const std::optional<QByteArray> stored = storedBytes(newName, *bytes);
    if (!stored)
        return Outcome::StayOpen;
    if (!PutStream(newName, *stored, *test)) {
        m_ws.logEvent(0, test->errorString());
        return refuse(copyFailed(newName));
    }
    lastName() = newName;
    lastSource().clear();
    return attach(newName, {});
}

std::optional<QByteArray> AttachmentCommands::storedBytes(const QString &name, const QByteArray &bytes)
{
    return m_kind == Kind::Image ? pictureToStore(m_ws, name, bytes) : bytes;
}

AttachmentCommands::Outcome AttachmentCommands::useLast()
{
    if (!lastEnabled || lastName().isEmpty())
        return Outcome::StayOpen;
    // A last file that has gone would be named by the question and missing from every save.
    if (inTest()) {
        if (!m_ws.workingTest || !HasMember(lastName(), *m_ws.workingTest))
            return refuse(missingOrUnreadable(lastName()));
    } else if (!lastSource().isEmpty() && !AF::diskBytes(lastSource())) {
        return refuse(unreadableDiskFile(lastSource()));
    }
    return attach(lastName(), lastSource());
}

void AttachmentCommands::toggleList()
{
    if (listShown) {
        listShown = false;
        return;
    }
    if (!inTest())
        return;
    if (m_kind == Kind::Text) {
        rebuildTestNames();
        rebuildListLines();
        listShown = !testNames.isEmpty();
    } else {
        // The strip shows the pictures the test had when the dialog opened.
        if (!m_stripDecoded) {
            buildStrip();
            m_stripDecoded = true;
        }
        listShown = strip.count() > 0;
    }
}

QString AttachmentCommands::firstSourceOf(const QString &name) const
{
    for (const Question &q : m_ws.test.questions) {
        const QString &used = m_kind == Kind::Text ? q.textName : q.imageName;
        if (used == name)
            return m_kind == Kind::Text ? q.textSource : q.imageSource;
    }
    return {};
}

AttachmentCommands::Outcome AttachmentCommands::pickFromList(int i)
{
    listShown = false;
    if (!inTest() || i < 0 || i >= testNames.size())
        return Outcome::StayOpen;
    const QString name = testNames.at(i);
    const QString source = firstSourceOf(name);
    lastName() = name;
    lastSource() = source;
    return attach(name, source);
}

AttachmentCommands::Outcome AttachmentCommands::pickThumbnailAt(int x)
{
    const int i = strip.indexAt(x);
    if (i < 0)
        return Outcome::StayOpen;
    return pickFromList(i);
}

AttachmentCommands::Outcome AttachmentCommands::remove()
{
    const QString name = recordName();
    if (name.isEmpty()) {
        m_ws.showMessage(MessageKind::CloseOnly, MessageIcon::InfoIcon,
                         m_kind == Kind::Text ? u"To pytanie nie zawiera dołączonego tekstu."_s
                                              : u"To pytanie nie zawiera dołączonego obrazu."_s);
        return Outcome::StayOpen;
    }
    recordName().clear();
    recordSource().clear();
    m_editor.markChanged();
    if (inTest()) {
        TVfsPAK *test = m_ws.workingTest.get();
        if (test && !isNameInUse(m_ws.test, name, m_kind) && HasMember(name, *test))
            DeleteMember(name, *test);
    } else if (TVfsPAK *own = m_ws.workingQuestion.get(); own && HasMember(name, *own)) {
        DeleteMember(name, *own);
    }
    return Outcome::Close;
}
