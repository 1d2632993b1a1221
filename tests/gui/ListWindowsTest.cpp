#include "ModalDriver.h"
#include "ProgramFixture.h"
#include "settings/TFIniTesty.h"
#include "documents/ListDocuments.h"
#include "core/StudentList.h"
#include "students/TFAutorListyKlas.h"
#include "students/TFEdycjaKlasy.h"
#include "students/TFEdycjaUcznia.h"
#include "students/TFListaUczniow.h"
#include "support/ScriptedPrompts.h"
#include "support/TempWorkspace.h"
#include "support/WindowTestSupport.h"
#include "testeditor/EntryTreeDrawing.h"
#include "testeditor/TFListaTestow.h"
#include "toolkit/LabelButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/SkinGeometry.h"
#include "toolkit/UpDown.h"
#include "toolkit/VScrollBar.h"

#include <QAccessible>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The middle of visible row `row` of the outline.
QPoint row(int r)
{
    return {60, EntryTreeDrawing::kFirstRowTop + r * EntryTree::RowHeight + 8};
}

class ListWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { t.ws.prompts = &prompts; }

    TempWorkspace t;
    ScriptedPrompts prompts;
    ModalWatchdog watchdog;
};

} // namespace

// Every command key of the test list editor, rows picked with the mouse, a double-click on a branch
// and the enabling of the captions.
TEST_F(ListWindowsTest, TestListKeysAndMouseRows)
{
    TFListaTestow window(t.ws);
    t.ws.workMode = WorkSetList;
    whenModal([&](QWidget *modal) {
        EXPECT_EQ(modal->objectName(), u"FListaTestow"_s);
        TestListEditor &e = window.editor();
        EXPECT_EQ(e.listKind, TestListEditor::Kind::SetList);
        EXPECT_FALSE(control<LabelButton>(modal, u"LEdytujWpis"_s)->isEnabled());
        EXPECT_FALSE(control(modal, u"ImZapisz"_s)->isVisible());
        press(Qt::Key_G, Qt::ControlModifier); // on an empty tree: the first entry
        press(Qt::Key_N, Qt::ControlModifier);
        press(Qt::Key_G, Qt::ControlModifier); // a child of entry 1
        press(Qt::Key_K, Qt::ControlModifier);
        press(Qt::Key_P, Qt::ControlModifier); // above the last one
        ASSERT_EQ(e.tree.entries().size(), 5);
        EXPECT_EQ(e.tree.entries().at(2).level, 1);
        EXPECT_EQ(e.tree.selected(), 3);
        EXPECT_TRUE(control(modal, u"ImZapisz"_s)->isVisible());
        EXPECT_TRUE(control<LabelButton>(modal, u"LEdytujWpis"_s)->isEnabled());
        EXPECT_TRUE(control<LabelButton>(modal, u"LPrzesunWGore"_s)->isEnabled());

        // Rows by the mouse: row 0 is the first entry, a click below the rows changes nothing.
        click(window.treeView(), row(0));
        EXPECT_EQ(e.tree.selected(), 0);
        EXPECT_FALSE(control<LabelButton>(modal, u"LPrzesunWGore"_s)->isEnabled());
        EXPECT_TRUE(control<LabelButton>(modal, u"LPrzesunWDol"_s)->isEnabled());
        click(window.treeView(), row(20));
        EXPECT_EQ(e.tree.selected(), 0);
        press(Qt::Key_Down);
        EXPECT_EQ(e.tree.selected(), 1);
        press(Qt::Key_Left); // collapse the branch
        EXPECT_EQ(e.tree.countVisible(), 4);
        QTest::mouseDClick(window.treeView(), Qt::LeftButton, Qt::NoModifier, row(1));
        EXPECT_EQ(e.tree.countVisible(), 5);
        click(window.treeView(), row(4));
        EXPECT_EQ(e.tree.selected(), 4);
        prompts.queueAnswer(MessageResult::Yes);
        press(Qt::Key_Delete);
        EXPECT_EQ(e.tree.entries().size(), 4);

        // Editing before the first save is refused; the move captions follow the selection.
        press(Qt::Key_F2);
        EXPECT_EQ(prompts.lastMessageText(),
                  u"Aby edytować wpisy musisz najpierw zapisać listę.\rZapoznaj się z pomocą do programu."_s);
        click(control(modal, u"LPrzesunWGore"_s));
        EXPECT_EQ(e.tree.selected(), 1);
        press(Qt::Key_F1);
        EXPECT_EQ(prompts.helpPages, QStringList{u"listatest_new.htm"_s});
        prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape);
    });
    window.newTestList();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(prompts.unusedAnswers(), 0);
    // The dropped changes are no unsaved work any more (a drop would be refused otherwise).
    EXPECT_FALSE(window.editor().modified);
}

// More rows than the outline shows: the scroll bar appears with its steps, follows the arrow keys
// and moves the drawing; a click then picks the row under the mouse at the scrolled position.
TEST_F(ListWindowsTest, TestListScrollBar)
{
    TFListaTestow window(t.ws);
    t.ws.workMode = WorkTestList;
    whenModal([&](QWidget *) {
        TestListEditor &e = window.editor();
        VScrollBar *bar = window.scrollBar();
        const int page = SkinGeometry::ListaTestow::tree.height() / EntryTree::RowHeight;
        for (int i = 0; i < page; ++i)
            press(Qt::Key_K, Qt::ControlModifier);
        EXPECT_FALSE(bar->isVisible());
        for (int i = 0; i < 4; ++i)
            press(Qt::Key_K, Qt::ControlModifier);
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->maximum(), 4);
        EXPECT_EQ(bar->largeStep(), page - 1);
        EXPECT_EQ(bar->smallStep(), page - 2);

        click(window.treeView(), row(0));
        EXPECT_EQ(e.tree.selected(), 0);
        for (int i = 0; i < page + 1; ++i)
            press(Qt::Key_Down);
        EXPECT_EQ(e.tree.selected(), page + 1);
        EXPECT_EQ(e.tree.topRow(), 2);
        EXPECT_EQ(bar->value(), 2);

        // The bar's arrows step by the small step (here up to the ends), then a click on the first row
        // shown picks the row at the scrolled position.
        ASSERT_GT(page - 2, 2);
        click(bar, {8, bar->height() - 4});
        EXPECT_EQ(e.tree.topRow(), 4);
        click(bar, {8, 4});
        EXPECT_EQ(e.tree.topRow(), 0);
        click(bar, {8, bar->height() - 4});
        click(window.treeView(), row(0));
        EXPECT_EQ(e.tree.selected(), 4);
        // Dragging the thumb shows where the drag has got to.
        const QRect thumb = bar->thumbRect();
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, thumb.center());
        EXPECT_TRUE(bar->hintShown());
        QMouseEvent move(QEvent::MouseMove, QPointF(thumb.center() - QPoint(0, 400)),
                         bar->mapToGlobal(QPointF(8, 0)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        EXPECT_EQ(e.tree.topRow(), 0);
        EXPECT_EQ(bar->shownHint(), u"Wiersz 1 z 30"_s);
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, thumb.center());
        EXPECT_FALSE(bar->hintShown());

        e.modified = false;
        press(Qt::Key_Escape);
    });
    window.newTestList();
}

// The rows from y = 5, an expander only on branches, the name in the colour of its state.
TEST(EntryTreeDrawingTest, RowsExpandersAndColours)
{
    QImage expanded(16, 16, QImage::Format_RGB32);
    expanded.fill(Qt::red);
    QImage collapsed(16, 16, QImage::Format_RGB32);
    collapsed.fill(Qt::blue);
    EntryTree tree;
    tree.reset(200);
    tree.addBelow();
    tree.addChild();
    tree.addBelow();
    tree.setSelectedNameAndLink(u"WWWWWW"_s, {});
    QImage image(300, 100, QImage::Format_RGB32);
    QPainter p(&image);
    EntryTreeDrawing::draw(p, tree, expanded, collapsed, 300, 100, 0);
    p.end();
    EXPECT_EQ(image.pixelColor(1 + 8, 5 + 8), QColor(Qt::red));     // row 0: an open branch
    EXPECT_EQ(image.pixelColor(1 + 8, 4), QColor(Qt::white));       // nothing above the first row
    EXPECT_EQ(image.pixelColor(21 + 8, 21 + 8), QColor(Qt::white)); // row 1: a leaf, level 1
    bool black = false;
    for (int x = 20 + 18; x < 120; ++x) {
        for (int y = 37; y < 53; ++y)
            black = black || image.pixelColor(x, y) == QColor(Qt::black); // row 2: the selected entry
    }
    EXPECT_TRUE(black);
    EXPECT_EQ(EntryTreeDrawing::stateColour(0), QColor(91, 90, 92));
    EXPECT_EQ(EntryTreeDrawing::stateColour(3), QColor(128, 128, 128));
    EXPECT_TRUE(EntryTreeDrawing::underlined(4, false));
    EXPECT_TRUE(EntryTreeDrawing::underlined(0, true));
    EXPECT_FALSE(EntryTreeDrawing::underlined(2, false));

    // Collapsed, scrolled by one row: the branch is gone from the top and the leaf after it stands there.
    tree.mouseDown(5);
    tree.collapseSelected();
    image.fill(Qt::white);
    QPainter q(&image);
    EntryTreeDrawing::draw(q, tree, expanded, collapsed, 300, 100, 0);
    q.end();
    EXPECT_EQ(image.pixelColor(9, 13), QColor(Qt::blue));
}

// The entry window from F2 after the list has a file: the name typed, the file picked with F10,
// Enter accepts.
TEST_F(ListWindowsTest, EntryWindowByKeyboard)
{
    TFListaTestow window(t.ws);
    const QString list = t.dir.filePath(u"lista.skg"_s);
    ASSERT_TRUE(WriteTestList(t.ws, list, {u"Jan"_s, u"2026-01-02"_s, {}}, {u"0*0*0*-1*1*0*Pierwszy*"_s}));
    prompts.queueFileName(t.dir.filePath(u"testy/t1.skt"_s));
    whenModal([&](QWidget *) { press(Qt::Key_F2); });
    whenModalNamed(u"FEdycjaWpisu"_s, [&](QWidget *entry) {
        auto *name = control<QLineEdit>(entry, u"EWpis"_s);
        EXPECT_EQ(name->text(), u"Pierwszy"_s);
        EXPECT_EQ(name->selectedText(), u"Pierwszy"_s);
        EXPECT_EQ(control<QLabel>(entry, u"LSciezka"_s)->text(), u"Brak pliku testu"_s);
        typeText(name, u"Sprawdzian z ułamków"_s);
        press(Qt::Key_F10);
        // Links are written with "\\", as the student-side modules read them.
        EXPECT_EQ(control<QLabel>(entry, u"LSciezka"_s)->text(), u"testy\\t1.skt"_s);
        EXPECT_EQ(entry->focusWidget(), name);
        press(Qt::Key_Return);
        whenModalNamed(u"FListaTestow"_s, [&](QWidget *) {
            EXPECT_EQ(window.editor().tree.selectedNameAndLink().name, u"Sprawdzian z ułamków"_s);
            EXPECT_EQ(window.editor().tree.selectedNameAndLink().link, u"testy\\t1.skt"_s);
            press(Qt::Key_S, Qt::ControlModifier);
            press(Qt::Key_Escape);
        });
    });
    window.openTestListFile(list);
    ListInfo info;
    QStringList lines;
    ASSERT_TRUE(ReadTestList(t.ws, list, info, lines));
    EXPECT_EQ(lines, QStringList{u"0*0*0*-1*1*2*Sprawdzian z ułamków*testy\\t1.skt*"_s});
}

// The student list: the scroll bar beside the list box only over 23 lines, the enabling of the
// commands, and the wheel doing nothing.
TEST_F(ListWindowsTest, StudentListScrollBarAndEnabling)
{
    TFListaUczniow window(t.ws);
    whenModal([&](QWidget *modal) {
        StudentListEditor &e = window.editor();
        EXPECT_FALSE(control<LabelButton>(modal, u"LUsun"_s)->isEnabled());
        EXPECT_FALSE(control<LabelButton>(modal, u"LListaUczniow"_s)->isEnabled());
        SchoolClass c = e.newClassDefaults();
        c.name = u"1a"_s;
        e.addClass(c);
        for (int i = 0; i < 23; ++i)
            e.list.classes[0].students.append({u"Imię"_s + QString::number(i), u"Nazwisko"_s});
        window.refresh();
        EXPECT_TRUE(control<LabelButton>(modal, u"LListaUczniow"_s)->isEnabled());
        EXPECT_FALSE(control<LabelButton>(modal, u"LPrzesunTop"_s)->isEnabled());
        EXPECT_FALSE(control<LabelButton>(modal, u"LPrzesunDown"_s)->isEnabled());
        press(Qt::Key_U, Qt::ControlModifier);
        ASSERT_EQ(window.listBox()->count(), 23);
        EXPECT_EQ(control<LabelButton>(modal, u"LListaUczniow"_s)->text(), u"Importuj listę         Ctrl+I"_s);
        EXPECT_FALSE(window.scrollBar()->isVisible());
        EXPECT_TRUE(control(modal, u"ImWprowadz"_s)->isVisible());
        EXPECT_FALSE(control(modal, u"ImZapisz"_s)->isVisible());
        e.addStudent(u"Ostatni"_s, u"Uczeń"_s);
        window.refresh();
        EXPECT_TRUE(window.scrollBar()->isVisible());
        EXPECT_EQ(window.scrollBar()->maximum(), 1);
        EXPECT_EQ(window.scrollBar()->value(), 1); // the new line is selected and shown
        press(Qt::Key_Home);
        EXPECT_EQ(window.scrollBar()->value(), 0);
        QWheelEvent wheel(QPointF(20, 20), window.listBox()->mapToGlobal(QPointF(20, 20)), {},
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window.listBox()->viewport(), &wheel);
        EXPECT_EQ(window.scrollBar()->value(), 0);
        press(Qt::Key_End);
        EXPECT_EQ(e.studentView.current, 23);
        EXPECT_EQ(window.scrollBar()->value(), 1);
        prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape); // leave the view without applying
        EXPECT_EQ(e.view, StudentListEditor::View::Classes);
        prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape);
    });
    window.newStudentList();
    EXPECT_EQ(t.ws.workMode, WorkStudentList);
    EXPECT_TRUE(window.editor().list.classes.isEmpty());
}

// A class or a student that is not selected opens at the first double-click, and so does an entry
// of the test list.
TEST_F(ListWindowsTest, ADoubleClickOnARowThatIsNotSelectedOpensIt)
{
    TFListaUczniow students(t.ws);
    QString dialogShown;
    QString dialogSurname;
    whenModal([&](QWidget *) {
        StudentListEditor &e = students.editor();
        for (const QString &name : {u"1a"_s, u"2b"_s}) {
            SchoolClass c = e.newClassDefaults();
            c.name = name;
            e.addClass(c);
        }
        e.list.classes[1].students = {{u"Ala"_s, u"Kowalska"_s}, {u"Olek"_s, u"Nowak"_s}};
        e.selectLine(0);
        students.refresh();
        QListWidget *list = students.listBox();
        doubleClickAt(list->viewport(), list->visualItemRect(list->item(1)).center());
        ASSERT_EQ(e.view, StudentListEditor::View::Students);
        EXPECT_EQ(e.studentView.classIndex, 1);
        ASSERT_EQ(list->count(), 2);
        ASSERT_EQ(e.studentView.current, 0);
        whenModal([&](QWidget *dialog) {
            dialogShown = dialog->objectName();
            dialogSurname = control<QLineEdit>(dialog, u"ENazwisko"_s)->text();
            qobject_cast<QDialog *>(dialog)->done(0);
        });
        doubleClickAt(list->viewport(), list->visualItemRect(list->item(1)).center());
        press(Qt::Key_Escape);
        prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape);
    });
    students.newStudentList();
    EXPECT_EQ(dialogShown, u"FEdycjaUcznia"_s);
    EXPECT_EQ(dialogSurname, u"Nowak"_s);

    TFListaTestow tests(t.ws);
    t.ws.workMode = WorkTestList;
    whenModal([&](QWidget *) {
        TestListEditor &e = tests.editor();
        press(Qt::Key_G, Qt::ControlModifier);
        press(Qt::Key_N, Qt::ControlModifier);
        ASSERT_EQ(e.tree.selected(), 1);
        // The first entry, a leaf, asks to be edited: before the first save that is refused aloud.
        doubleClickAt(tests.treeView(), row(0));
        EXPECT_EQ(e.tree.selected(), 0);
        EXPECT_EQ(prompts.lastMessageText(),
                  u"Aby edytować wpisy musisz najpierw zapisać listę.\rZapoznaj się z pomocą do programu."_s);
        prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape);
    });
    tests.newTestList();
}

// The class dialog from Ctrl+N: the defaults of the editor settings, the time stepped by 5 within
// 0..300, an empty name refused.
TEST_F(ListWindowsTest, ClassDialogDefaultsAndSteps)
{
    t.ws.settings.dft = 45;
    t.ws.settings.sk = 1;
    t.ws.settings.cel = 90;
    t.ws.settings.bdb = 75;
    t.ws.settings.db = 60;
    t.ws.settings.dst = 45;
    t.ws.settings.dp = 30;
    TFListaUczniow window(t.ws);
    whenModal([&](QWidget *) { press(Qt::Key_N, Qt::ControlModifier); });
    whenModalNamed(u"FEdycjaKlasy"_s, [&](QWidget *dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, u"ECzas"_s)->text(), u"45"_s);
        EXPECT_TRUE(control<QCheckBox>(dialog, u"ChJestSkala"_s)->isChecked());
        QStringList shown;
        for (const QString &n : {u"ECel"_s, u"EBdb"_s, u"EDb"_s, u"EDst"_s, u"EDp"_s})
            shown << control<QLineEdit>(dialog, n)->text();
        EXPECT_EQ(shown, (QStringList{u"90"_s, u"75"_s, u"60"_s, u"45"_s, u"30"_s}));
        EXPECT_TRUE(control<QLineEdit>(dialog, u"ECzas"_s)->isReadOnly());
        auto *arrows = control<UpDown>(dialog, u"UpDown"_s);
        for (int i = 0; i < 60; ++i)
            click(arrows->upArrow());
        EXPECT_EQ(control<QLineEdit>(dialog, u"ECzas"_s)->text(), u"300"_s);
        click(arrows->downArrow());
        EXPECT_EQ(control<QLineEdit>(dialog, u"ECzas"_s)->text(), u"295"_s);
        press(Qt::Key_Return);
        EXPECT_EQ(prompts.lastMessageText(), u"Wpisz poprawnie wymagane dane."_s);
        typeText(control(dialog, u"ENazwaKlasy"_s), u"2b"_s);
        press(Qt::Key_Down);
        EXPECT_EQ(dialog->focusWidget()->objectName(), u"ESciezka"_s);
        press(Qt::Key_Return);
        whenModalNamed(u"FListaUczniow"_s, [&](QWidget *) {
            ASSERT_EQ(window.editor().list.classes.size(), 1);
            EXPECT_EQ(window.editor().list.classes.at(0).time, 295);
            EXPECT_EQ(window.editor().list.classes.at(0).name, u"2b"_s);
            prompts.queueAnswer(MessageResult::No);
            press(Qt::Key_Escape);
        });
    });
    window.newStudentList();
}

// Accepted unchanged, the list information and the class dialog change nothing: CR LF remarks, a
// time off the grid of 5 and thresholds outside 10..99 stay as stored and the list is not modified.
// An edit writes CR LF, and only a stepped value is brought into its range.
TEST_F(ListWindowsTest, StoredValuesSurviveDialogsAcceptedUnchanged)
{
    const QString file = t.dir.filePath(u"szkoła.sku"_s);
    StudentList stored;
    stored.reset();
    stored.author = u"Anna Nowak"_s;
    stored.remarks = u"Pierwsza\r\nDruga"_s;
    SchoolClass odd;
    odd.name = u"3c"_s;
    odd.time = 47;
    odd.gradingOn = 1;
    odd.thresholds = {120, 85, 70, 50, 5};
    stored.classes = {odd};
    ASSERT_TRUE(WriteStudentList(t.ws, file, stored));

    TFListaUczniow window(t.ws);
    StudentListEditor &e = window.editor();
    const auto shown = [](QWidget *dialog) {
        QStringList numbers{control<QLineEdit>(dialog, u"ECzas"_s)->text()};
        for (const QString &n : {u"ECel"_s, u"EBdb"_s, u"EDb"_s, u"EDst"_s, u"EDp"_s})
            numbers << control<QLineEdit>(dialog, n)->text();
        return numbers;
    };
    whenModal([&](QWidget *modal) {
        whenModalNamed(u"FAutorListyKlas"_s, [&](QWidget *) { press(Qt::Key_Return); });
        click(control(modal, u"LInfoOLiscie"_s));
        EXPECT_EQ(e.list.remarks, u"Pierwsza\r\nDruga"_s);
        EXPECT_FALSE(e.list.modified);

        whenModalNamed(u"FEdycjaKlasy"_s, [&](QWidget *dialog) {
            EXPECT_EQ(shown(dialog), (QStringList{u"47"_s, u"120"_s, u"85"_s, u"70"_s, u"50"_s, u"5"_s}));
            press(Qt::Key_Return);
        });
        press(Qt::Key_F2);
        EXPECT_EQ(e.list.classes.at(0).time, 47);
        EXPECT_EQ(e.list.classes.at(0).thresholds, odd.thresholds);
        EXPECT_FALSE(e.list.modified);

        whenModalNamed(u"FEdycjaKlasy"_s, [&](QWidget *dialog) {
            click(control<UpDown>(dialog, u"UpDown"_s)->upArrow());
            click(control<UpDown>(dialog, u"UpDp"_s)->downArrow());
            click(control<UpDown>(dialog, u"UpCel"_s)->downArrow());
            EXPECT_EQ(shown(dialog), (QStringList{u"50"_s, u"99"_s, u"85"_s, u"70"_s, u"50"_s, u"10"_s}));
            click(control<UpDown>(dialog, u"UpDown"_s)->downArrow());
            click(control<UpDown>(dialog, u"UpDown"_s)->downArrow());
            EXPECT_EQ(control<QLineEdit>(dialog, u"ECzas"_s)->text(), u"40"_s);
            press(Qt::Key_Return);
        });
        press(Qt::Key_F2);
        EXPECT_EQ(e.list.classes.at(0).time, 40);
        EXPECT_EQ(e.list.classes.at(0).thresholds, (std::array<int, 5>{99, 85, 70, 50, 10}));
        EXPECT_TRUE(e.list.modified);

        whenModalNamed(u"FAutorListyKlas"_s, [&](QWidget *dialog) {
            QWidget *remarks = control(dialog, u"MUwagi"_s);
            remarks->setFocus();
            QTest::keyClick(remarks, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(remarks, Qt::Key_Return, Qt::ShiftModifier);
            typeText(remarks, u"Trzecia"_s);
            press(Qt::Key_Return);
        });
        click(control(modal, u"LInfoOLiscie"_s));
        EXPECT_EQ(e.list.remarks, u"Pierwsza\r\nDruga\r\nTrzecia"_s);
        prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape);
    });
    window.openStudentListFile(file);
}

// The remarks of a test list keep the CR LF of the file: opening marks nothing, a line typed in
// is written with CR LF.
TEST_F(ListWindowsTest, TestListRemarksKeepCrLf)
{
    const QString list = t.dir.filePath(u"lista.skg"_s);
    ASSERT_TRUE(WriteTestList(t.ws, list, {u"Jan"_s, u"2026-01-02"_s, u"a\r\nb"_s}, {u"0*0*0*-1*1*0*Pierwszy*"_s}));
    TFListaTestow window(t.ws);
    whenModal([&](QWidget *modal) {
        EXPECT_FALSE(window.editor().modified);
        QWidget *remarks = control(modal, u"MUwagi"_s);
        remarks->setFocus();
        QTest::keyClick(remarks, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(remarks, Qt::Key_Return);
        typeText(remarks, u"c"_s);
        EXPECT_EQ(window.editor().listRemarks, u"a\r\nb\r\nc"_s);
        press(Qt::Key_S, Qt::ControlModifier);
        press(Qt::Key_Escape);
    });
    window.openTestListFile(list);
    ListInfo info;
    QStringList lines;
    ASSERT_TRUE(ReadTestList(t.ws, list, info, lines));
    EXPECT_EQ(info.remarks, u"a\r\nb\r\nc"_s);
}

// What a screen reader finds: every label button is a button named by its caption with its key as
// the shortcut, and its press action runs the command; the window tells its title; the rows of the
// outline and of the list box tell their text and which one is selected.
TEST_F(ListWindowsTest, ReachableThroughAssistiveTechnology)
{
    TFListaTestow tests(t.ws);
    tests.prepareNew(TestListEditor::Kind::TestList);
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&tests);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->text(QAccessible::Name), u"Lista testów"_s);

    QAccessibleInterface *below = QAccessible::queryAccessibleInterface(control(&tests, u"LNowyPonizej"_s));
    ASSERT_NE(below, nullptr);
    EXPECT_EQ(below->role(), QAccessible::Button);
    EXPECT_EQ(below->text(QAccessible::Name), u"Nowy poniżej"_s);
    EXPECT_EQ(below->text(QAccessible::Accelerator), u"Ctrl+N"_s);
    QAccessibleActionInterface *action = below->actionInterface();
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_EQ(action->keyBindingsForAction(QAccessibleActionInterface::pressAction()), QStringList{u"Ctrl+N"_s});
    action->doAction(QAccessibleActionInterface::pressAction());
    action->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tests.editor().tree.entries().size(), 2);
    EXPECT_TRUE(tests.editor().modified);

    // A disabled command is reported so and does nothing when pressed.
    auto *up = control<LabelButton>(&tests, u"LPrzesunWGore"_s);
    tests.editor().tree.keyDown(Qt::Key_Up);
    tests.refresh();
    ASSERT_FALSE(up->isEnabled());
    QAccessibleInterface *upIface = QAccessible::queryAccessibleInterface(up);
    EXPECT_TRUE(upIface->state().disabled);
    EXPECT_TRUE(upIface->text(QAccessible::Accelerator).isEmpty());
    upIface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tests.editor().tree.selectedRow(), 0);

    QAccessibleInterface *outline = QAccessible::queryAccessibleInterface(tests.treeView());
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->role(), QAccessible::List);
    ASSERT_EQ(outline->childCount(), 2);
    const QString firstName = tests.editor().tree.entries().at(tests.editor().tree.indexAtRow(0)).name;
    EXPECT_EQ(outline->child(0)->text(QAccessible::Name), firstName);
    EXPECT_TRUE(outline->child(0)->state().selected);
    EXPECT_FALSE(outline->child(1)->state().selected);
    EXPECT_EQ(outline->indexOfChild(outline->child(1)), 1);

    tests.prepareNew(TestListEditor::Kind::SetList);
    EXPECT_EQ(window->text(QAccessible::Name), u"Lista zestawów pytań"_s);
    EXPECT_EQ(outline->childCount(), 0);

    // Every label button of the student list and its dialogs; signs read as words.
    TFListaUczniow students(t.ws);
    for (SkinnedWindow *w : std::initializer_list<SkinnedWindow *>{
             &students, &students.classDialog(), &students.studentDialog(), &students.infoDialog()}) {
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            << w->objectName().toStdString();
        QList<QWidget *> commands;
        for (LabelButton *b : w->findChildren<LabelButton *>())
            commands << b;
        for (PictureButton *b : w->findChildren<PictureButton *>())
            commands << b;
        for (QWidget *b : std::as_const(commands)) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(b);
            EXPECT_EQ(iface->role(), QAccessible::Button) << b->objectName().toStdString();
            const QString name = iface->text(QAccessible::Name);
            EXPECT_GT(name.size(), 1) << b->objectName().toStdString();
            EXPECT_FALSE(name.contains(u"  "_s)) << b->objectName().toStdString();
        }
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&students)->text(QAccessible::Name), u"Lista uczniów"_s);
    QAccessibleInterface *save = QAccessible::queryAccessibleInterface(control(&students, u"ImZapisz"_s));
    EXPECT_EQ(save->text(QAccessible::Name), u"Zapisz"_s);
    EXPECT_EQ(save->text(QAccessible::Accelerator), u"Ctrl+S"_s);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(control(&students.classDialog(), u"LFolder"_s))
                  ->text(QAccessible::Accelerator),
              u"F10"_s);
    students.editor().newStudentList();
    for (const QString &name : {u"1a"_s, u"1b"_s}) {
        SchoolClass c = students.editor().newClassDefaults();
        c.name = name;
        students.editor().addClass(c);
    }
    students.refresh();
    QAccessibleInterface *rows = QAccessible::queryAccessibleInterface(students.listBox());
    ASSERT_NE(rows, nullptr);
    QStringList texts;
    QStringList selected;
    for (int i = 0; i < rows->childCount(); ++i) {
        texts << rows->child(i)->text(QAccessible::Name);
        if (rows->child(i)->state().selected)
            selected << rows->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(texts, (QStringList{u"1a"_s, u"1b"_s}));
    EXPECT_EQ(selected, QStringList{u"1b"_s});
}

// Through the real windows: a student list given on the command line, a student added with the
// keyboard, Ctrl+S; the file holds exactly that.
TEST(StudentListInTheProgram, CommandLineListGetsAStudentByKeyboard)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"szkoła.sku"_s);
    {
        TempWorkspace t;
        StudentList list;
        list.reset();
        list.author = u"Anna Nowak"_s;
        list.date = u"2026-09-01"_s;
        SchoolClass c;
        c.name = u"3c"_s;
        c.students = {{u"Ewa"_s, u"Lis"_s}};
        list.classes = {c};
        ASSERT_TRUE(WriteStudentList(t.ws, file, list));
    }
    Program program(dir.path(), {file});
    ModalWatchdog watchdog;
    whenModalNamed(u"FListaUczniow"_s, [&](QWidget *) {
        press(Qt::Key_U, Qt::ControlModifier);
        // The dialog's step is queued before the key that opens it and runs inside its exec().
        whenModalNamed(u"FEdycjaUcznia"_s, [&](QWidget *) {
            typeText(QApplication::activeModalWidget()->focusWidget(), u"Łukasz"_s);
            press(Qt::Key_Down);
            typeText(QApplication::activeModalWidget()->focusWidget(), u"Żak"_s);
            press(Qt::Key_Return);
        });
        press(Qt::Key_N, Qt::ControlModifier);
        press(Qt::Key_Return); // apply the view
        press(Qt::Key_S, Qt::ControlModifier);
        press(Qt::Key_Escape);
    });
    program.start();
    EXPECT_FALSE(program.app->studentListEditor().isVisible());
    EXPECT_TRUE(program.prompts.messages.isEmpty());
    EXPECT_TRUE(program.prompts.fileRequests.isEmpty());
    EXPECT_EQ(program.prompts.clockPositions.size(), 1);
    EXPECT_EQ(program.ws().workMode, WorkStudentList);
    TempWorkspace t;
    StudentList read;
    ASSERT_TRUE(ReadStudentList(t.ws, file, read));
    EXPECT_EQ(read.author, u"Anna Nowak"_s);
    EXPECT_EQ(read.date, u"2026-09-01"_s);
    ASSERT_EQ(read.classes.size(), 1);
    const QList<Student> &students = read.classes.at(0).students;
    ASSERT_EQ(students.size(), 2);
    EXPECT_EQ(students.at(0).firstName, u"Ewa"_s);
    EXPECT_EQ(students.at(1).firstName, u"Łukasz"_s);
    EXPECT_EQ(students.at(1).surname, u"Żak"_s);
    EXPECT_EQ(read.totalStudents(), 2);
}

// The module settings window: the note of the control under the mouse, the threshold arrows, the
// check of LZapiszIni.
TEST_F(ListWindowsTest, ModuleSettingsHelpAndThresholds)
{
    TFIniTesty window(t.ws);
    whenModal([&](QWidget *modal) {
        EXPECT_TRUE(control(modal, u"PIniTesty"_s)->isVisible());
        EXPECT_FALSE(control(modal, u"PIniNauka"_s)->isVisible());
        QWidget *option = control(modal, u"CWieleOcen"_s);
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), option->mapToGlobal(QPointF(4, 4)));
        QCoreApplication::sendEvent(option, &enter);
        EXPECT_TRUE(window.helpText().startsWith(u"Zaznaczenie tej opcji ukrywa przycisk \"Oceń\""_s));
        EXPECT_TRUE(window.helpText().contains(u'\n'));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(option, &leave);
        EXPECT_TRUE(window.helpText().isEmpty());

        auto *db = control<UpDown>(modal, u"UpDb"_s);
        for (int i = 0; i < 15; ++i)
            click(db->upArrow());
        EXPECT_EQ(control<QLineEdit>(modal, u"EDb"_s)->text(), u"85"_s);
        click(control(modal, u"LZapiszIni"_s));
        EXPECT_EQ(prompts.lastMessageText(), u"Błędne dane.\rUstaw poprawnie progi procentowe."_s);
        click(control<QCheckBox>(modal, u"COstrzegaj"_s));
        EXPECT_FALSE(window.form().testing.al);
        prompts.queueAnswer(MessageResult::No);
        click(control(modal, u"LCloseIni"_s));
    });
    window.newTestSettings();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(t.ws.workMode, WorkTestModuleSettings);
}

// A list of question sets named on the command line opens in the list editor as a list of sets; an
// unchanged close leaves the program with no unsaved work.
TEST(TestListInTheProgram, CommandLineSetListOpensAsASetList)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"zestawy.skz"_s);
    {
        TempWorkspace t;
        ASSERT_TRUE(WriteSetList(t.ws, file, {u"Jan"_s, u"2026-03-04"_s, u"uwagi"_s},
                                 {u"0*0*0*-1*1*0*Zestaw 1*zestaw1*"_s}));
    }
    Program program(dir.path(), {file});
    ModalWatchdog watchdog;
    whenModalNamed(u"FListaTestow"_s, [&](QWidget *modal) {
        TFListaTestow &window = program.app->testListEditor();
        EXPECT_EQ(window.editor().listKind, TestListEditor::Kind::SetList);
        EXPECT_EQ(program.ws().workMode, WorkSetList);
        EXPECT_EQ(control<QLineEdit>(modal, u"EAutorListy"_s)->text(), u"Jan"_s);
        EXPECT_EQ(window.editor().tree.entries().at(0).link, u"zestaw1"_s);
        EXPECT_FALSE(program.app->editors().anyDocumentModified());
        press(Qt::Key_N, Qt::ControlModifier);
        EXPECT_TRUE(program.app->editors().anyDocumentModified());
        program.prompts.queueAnswer(MessageResult::No);
        press(Qt::Key_Escape);
    });
    program.start();
    EXPECT_FALSE(program.app->testListEditor().isVisible());
    EXPECT_FALSE(program.app->editors().anyDocumentModified());
}
