#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the windows put their controls over the skin pictures. The pictures are drawn by
// resources/art/make-art.sh with the same numbers: change both together.
namespace SkinGeometry {

// Every dialog: a title strip at the top (the drag strip, with the close label at its right end) and,
// in most, a command bar at the bottom. Both are a middle tone on which labels read in the normal and
// the hover colour.
inline constexpr int dialogStripHeight = 34;
inline constexpr QRect closeLabel(int windowWidth) { return {windowWidth - 38, 0, 36, dialogStripHeight}; }
// The column of command labels on a list window's light field: one label a row, 30 px apart.
struct CommandColumn {
    int left;
    int top;
    int width;
    constexpr QRect row(int i) const { return {left, top + i * 30, width, 26}; }
};
// Picture buttons: "buttak", "butnie", "butanuluj", "butzamknij" (the message box's, with the letter
// key underlined) and "anuluj", "zapisz" (editors'), each with its "akt" highlighted picture.
inline constexpr QSize pictureButtonSize{96, 32};

namespace Glowny { // 788 × 580, corners cut by 4 px
inline constexpr int stripHeight = 44;
inline constexpr QPoint menuPicture{20, 60};     // MStart … MPomoc, 260 × 480
inline constexpr QRect description{360, 112, 388, 388}; // LOpisMenu, on the squared paper
// Inside a menu picture: group g (1..5) header k-th from the top, 44 high on a pitch of 50; the open
// group's items from 10 px below its header, 30 px apart, text from x = 36; the next header 26 px
// below the last item's slot (20 px of padding and a 6 px gap).
inline constexpr int headerHeight = 44;
inline constexpr int headerPitch = 50;
inline constexpr int itemPitch = 30;
inline constexpr int itemTextLeft = 36;
inline constexpr int itemItemsTop = 10;
} // namespace Glowny

namespace Warning { // 440 × 210
inline constexpr QRect icon{24, 60, 64, 64};
inline constexpr QRect text{104, 44, 318, 108};
inline constexpr int buttonTop = 168;
inline constexpr int buttonLefts[3] = {66, 172, 278}; // yes, no, cancel; close takes the middle one
} // namespace Warning

namespace Zbieznosc { // 600 × 400, both name-clash dialogs
inline constexpr QRect nameLine{20, 42, 560, 24};
inline constexpr QRect leftPanel{20, 96, 270, 196};
inline constexpr QRect rightPanel{310, 96, 270, 196};
inline constexpr QRect newName{126, 304, 282, 22}; // inside the field drawn at (122, 302)–(410, 328)
inline constexpr QRect sameFile{20, 356, 150, 32};
inline constexpr QRect otherFile{180, 356, 150, 32};
inline constexpr QPoint cancel{484, 356};
} // namespace Zbieznosc

namespace Zegar { // 44 × 44
inline constexpr QRect icon{1, 1, 42, 42};
} // namespace Zegar

namespace Zdarzenia { // 588 × 506, command bar from y = 454
inline constexpr QRect levelList{141, 47, 135, 25};     // the field drawn at (140, 46)–(300, 72)
inline constexpr QRect levelListButton{276, 47, 24, 25}; // its arrow
inline constexpr QRect log{21, 85, 546, 356};           // the panel (20, 84)–(567, 441)
inline constexpr int barTop = 454;
} // namespace Zdarzenia

namespace IniEdytor { // 540 × 530, command bar from y = 478
inline constexpr QRect options{16, 46, 508, 217};   // the seven option boxes
inline constexpr QRect timeAndScale{16, 272, 508, 99};
inline constexpr QRect help{16, 380, 508, 89};      // the note where LPodpowiedz stands
inline constexpr int barTop = 478;
inline constexpr QPoint save{316, 488};   // picture "zapisz"
inline constexpr QPoint cancel{424, 488}; // picture "anuluj"
} // namespace IniEdytor

namespace Pytanie { // "oknopytanienew3/4/5": 760 wide, the height grows with the answer count
inline constexpr int width = 760;
inline constexpr int bandTop = 34;    // the command band under the title strip, to y = 73
inline constexpr int bandHeight = 40;
inline constexpr QRect typeLabel{14, 40, 190, 28};      // LJednokrotny
inline constexpr QRect countLabel{208, 40, 190, 28};    // LIleOdpowiedzi
inline constexpr QRect textAttachment{412, 40, 110, 28}; // LPlikZTekstem
inline constexpr QRect imageAttachment{526, 40, 100, 28}; // LPlikZObrazem
inline constexpr QRect properties{630, 40, 120, 28};    // LZobaczWlasnosci
inline constexpr QRect text{21, 107, 718, 98};          // MTekst, in the panel (20, 106)–(739, 205)
inline constexpr int answersTop = 238;
inline constexpr int answerPitch = 40;
// Answer i (1..5): the mark in the panel (20, y)–(94, y + 29), the field in (100, y)–(739, y + 29).
// The marks stand in a column of their own, the groups POdpPojedyncze and POdpWielokrotne.
inline constexpr QRect marks(int answers) { return {20, answersTop, 76, answers * answerPitch}; }
inline constexpr QRect mark(int i) { return {4, (i - 1) * answerPitch + 1, 68, 28}; } // in the column
inline constexpr QRect answer(int i) { return {101, answersTop + (i - 1) * answerPitch + 1, 638, 28}; }
inline constexpr int commentTop(int answers) { return answersTop + answers * answerPitch + 8; }
inline constexpr QRect comment(int answers) { return {101, commentTop(answers) + 1, 638, 28}; }
inline constexpr int barHeight = 52;
inline constexpr int height(int answers) { return commentTop(answers) + 30 + 22 + barHeight; }
inline constexpr int barTop(int answers) { return height(answers) - barHeight; }
inline constexpr int popupItemHeight = 28;
inline constexpr int popupWidth = 190;
} // namespace Pytanie

namespace Winieta { // 366 × 239
inline constexpr QRect closeLabel{270, 197, 90, 41}; // on the bar at the bottom right
} // namespace Winieta

namespace Test { // "FTest", 640 × 556: the outline on the left, the commands on the right, bar from 504
inline constexpr int width = 640;
inline constexpr int rowHeight = 20;
inline constexpr int rows = 22;
inline constexpr QRect outline{17, 47, 360, 444};   // in the panel (16, 46)–(395, 491)
inline constexpr QRect scrollBar{378, 47, 17, 444};
// Command i (0..) on the column (404, 35)–(639, 503).
inline constexpr QRect command(int i) { return {412, 44 + i * 34, 220, 28}; }
inline constexpr QRect todoLegend{418, 404, 210, 24};  // on the field (412, 396)–(631, 472)
inline constexpr QRect doneLegend{418, 438, 210, 24};
inline constexpr int barTop = 504;
inline constexpr QPoint save{420, 514};  // picture "zapisz"
inline constexpr QPoint close{530, 514}; // picture "zamknij"
} // namespace Test

namespace InfoOTescie { // "FInfoOTescie", 560 × 530, bar from 478
inline constexpr QRect name{21, 67, 518, 24};
inline constexpr QRect author{21, 121, 518, 24};
inline constexpr QRect comment{21, 175, 518, 66};
inline constexpr QRect time{21, 281, 56, 24};
inline constexpr QRect timeArrows{80, 280, 20, 26};
inline constexpr QRect singleChoice{150, 270, 200, 22};
inline constexpr QRect multipleChoice{150, 296, 200, 22};
inline constexpr QRect answers(int n) { return {360, 266 + (n - 3) * 22, 180, 22}; } // n = 3, 4, 5
inline constexpr QRect scale{20, 344, 320, 22};
// Threshold i (0 cel .. 4 dp): the field in the panel (x, 394)–(x + 47, 419), x = 20 + 104 i.
inline constexpr QRect threshold(int i) { return {21 + i * 104, 395, 46, 24}; }
inline constexpr QRect thresholdArrows(int i) { return {70 + i * 104, 394, 20, 26}; }
inline constexpr int barTop = 478;
inline constexpr QPoint accept{340, 488}; // picture "zatwierdz"
inline constexpr QPoint cancel{444, 488}; // picture "anuluj"
} // namespace InfoOTescie

namespace Menu { // the test editor's context menu, drawn by the program
inline constexpr int width = 230;
inline constexpr int itemHeight = 26;
inline constexpr int separatorHeight = 7;
} // namespace Menu

namespace Generuj { // "FGeneruj", 520 × 310, bar from 258
inline constexpr QRect testLabel{16, 46, 235, 30};    // LPlikZTestem on (16, 46)–(250, 75)
inline constexpr QRect testPath{22, 79, 478, 22};     // in the panel (16, 78)–(503, 102)
inline constexpr QRect folderLabel{16, 110, 235, 30}; // LFolderNaPytania on (16, 110)–(250, 139)
inline constexpr QRect folderPath{22, 143, 478, 22};
inline constexpr QRect prefix{21, 201, 200, 24};      // in the panel (20, 200)–(221, 225)
inline constexpr QRect saveIcon{456, 190, 44, 44};    // PZapisIkona
inline constexpr int barTop = 258;
inline constexpr QRect generatePanel{300, 268, 96, 32}; // PPodGeneruj with ImGeneruj
inline constexpr QPoint cancel{404, 268};
} // namespace Generuj
namespace ListaTestow { // 640 × 540, command bar from y = 488
inline constexpr QRect treePanel{16, 46, 360,
                                 432};         // PPodDrzewo with PPodListwe, the panel (16, 46)–(375, 477)
inline constexpr QRect tree{17, 47, 342, 430}; // ImDrzewo's viewport
inline constexpr QRect scrollBar{359, 47, 16, 430}; // ListwaV
inline constexpr CommandColumn commands{392, 50, 232};
inline constexpr QRect author{393, 321, 230, 24};   // EAutorListy, in the field (392, 320)–(623, 346)
inline constexpr QRect remarks{393, 377, 230, 100}; // MUwagi, in the panel (392, 376)–(623, 477)
inline constexpr int barTop = 488;
inline constexpr QRect saveAs{16, 498, 190, 32};
inline constexpr QPoint save{420, 498};   // picture "zapisz"
inline constexpr QPoint cancel{528, 498}; // picture "anuluj"
} // namespace ListaTestow

namespace EdycjaWpisu {                        // 480 × 210, command bar from y = 158
inline constexpr QRect name{21, 69, 438, 24};  // EWpis, in the field (20, 68)–(459, 94)
inline constexpr QRect link{21, 123, 334, 24}; // LSciezka, on the panel (20, 122)–(355, 148)
inline constexpr QRect pick{364, 120, 96, 30}; // LOpenPlik
inline constexpr int barTop = 158;
inline constexpr QRect accept{16, 168, 180, 32};  // LWprowadz
inline constexpr QRect cancel{300, 168, 160, 32}; // LAnuluj
} // namespace EdycjaWpisu

namespace ListaUczniow {                         // 620 × 540, command bar from y = 488
inline constexpr QRect heading{18, 44, 356, 24}; // the view's title above the list
inline constexpr QRect list{17, 71, 342, 414}; // the list box: 23 lines of 18 px, panel (16, 70)–(375, 485)
inline constexpr QRect scrollBar{359, 71, 16, 414};
inline constexpr int lineHeight = 18;
inline constexpr int visibleLines = 23;
inline constexpr CommandColumn commands{392, 74, 212};
inline constexpr QRect infoMark{392, 400, 24, 28}; // LKreska
inline constexpr QRect info{420, 400, 184, 28};    // LInfoOLiscie
inline constexpr int barTop = 488;
inline constexpr QRect saveAs{16, 498, 190, 32};
inline constexpr QPoint save{400, 498};   // picture "zapisz" (class view)
inline constexpr QPoint apply{400, 498};  // picture "wprowadz" (student view)
inline constexpr QPoint cancel{508, 498}; // picture "anuluj"
} // namespace ListaUczniow

namespace EdycjaKlasy {                        // 460 × 330, command bar from y = 278
inline constexpr QRect name{141, 51, 298, 24}; // ENazwaKlasy, in the field (140, 50)–(439, 76)
inline constexpr QRect time{141, 89, 40, 24};  // ECzas
inline constexpr QRect timeArrows{181, 89, 16, 24};
inline constexpr QRect folder{141, 127, 230, 24};    // ESciezka, in the field (140, 126)–(371, 152)
inline constexpr QRect pickFolder{378, 124, 64, 30}; // LFolder
inline constexpr QRect scale{20, 172, 300, 24};      // ChJestSkala
inline constexpr int thresholdsTop = 228;
inline constexpr int thresholdsLeft = 40;
inline constexpr int thresholdPitch = 80;
inline constexpr int barTop = 278;
inline constexpr QRect accept{16, 288, 180, 32};
inline constexpr QRect cancel{280, 288, 164, 32};
} // namespace EdycjaKlasy

namespace EdycjaUcznia {                            // 420 × 190, command bar from y = 138
inline constexpr QRect firstName{121, 51, 278, 24}; // EImie, in the field (120, 50)–(399, 76)
inline constexpr QRect surname{121, 91, 278, 24};   // ENazwisko, in the field (120, 90)–(399, 116)
inline constexpr int barTop = 138;
inline constexpr QRect accept{16, 148, 180, 32};
inline constexpr QRect cancel{240, 148, 164, 32};
} // namespace EdycjaUcznia

namespace AutorListyKlas {                         // 460 × 300, command bar from y = 248
inline constexpr QRect author{21, 69, 418, 24};    // EAutor, in the field (20, 68)–(439, 94)
inline constexpr QRect remarks{21, 123, 418, 112}; // MUwagi, in the panel (20, 122)–(439, 235)
inline constexpr int barTop = 248;
inline constexpr QRect accept{16, 258, 180, 32};
inline constexpr QRect cancel{280, 258, 164, 32};
} // namespace AutorListyKlas

namespace IniTesty { // 640 × 580, command bar from y = 528; both panels cover the same area
inline constexpr QRect panel{16, 46, 608, 350}; // PIniTesty, PIniNauka
inline constexpr QRect help{16, 404, 608, 114}; // the note where LPodpowiedz / LPodpowiedzNauka stand
inline constexpr int barTop = 528;
inline constexpr QRect save{16, 538, 190, 32};   // LZapiszIni
inline constexpr QRect close{460, 538, 164, 32}; // LCloseIni
} // namespace IniTesty

namespace Wstaw { // 660 × 340, both attachment dialogs, command bar from y = 288
// The four command rows on the left: new file, last-used file, the test's files, remove.
inline constexpr QRect command(int row)
{
    return {16, 52 + row * 46, 200, 36};
}
inline constexpr QRect preview{232, 70, 412, 206}; // the white panel under its heading
inline constexpr QRect list{232, 46, 412, 230};    // the list panel, over heading and preview
// Inside the list panel: the thumbnail strip's view (three cells) and its two arrows.
inline constexpr QRect stripView{21, 62, 370, 120};
inline constexpr QRect previousArrow{0, 62, 20, 120};
inline constexpr QRect nextArrow{392, 62, 20, 120};
inline constexpr int barTop = 288;
inline constexpr QPoint cancel{548, 298}; // picture "anuluj"
} // namespace Wstaw

namespace InfoOPytaniu { // 600 × 500, command bar from y = 446
inline constexpr QRect fileLine{20, 42, 560, 24};
inline constexpr QRect typeLine{20, 68, 300, 20};
inline constexpr QRect countLine{330, 68, 250, 20};
inline constexpr QRect text{20, 112, 560, 54}; // panel
inline constexpr QRect answer(int i)
{
    return {52, 194 + i * 22, 520, 20};
} // 0..4, in the panel (20, 190)–(579, 309)
inline constexpr QRect answerNumber(int i)
{
    return {30, 194 + i * 22, 20, 20};
}
inline constexpr QRect correct{20, 316, 560, 20};
inline constexpr QRect textName{20, 338, 280, 20};
inline constexpr QRect imageName{300, 338, 280, 20};
inline constexpr QRect comment{20, 360, 560, 20};
inline constexpr QRect verdict{20, 384, 560, 50}; // the note
inline constexpr QPoint accept{372, 457};         // picture "wprowadz"
inline constexpr QPoint cancel{480, 457};         // picture "anuluj"
} // namespace InfoOPytaniu

namespace WlasnosciPytania {                  // 680 × 470, command bar from y = 420
inline constexpr QRect text{20, 62, 640, 64}; // panel
inline constexpr QRect answer(int i)
{
    return {48, 156 + i * 23, 366, 20};
} // 0..4, in the panel (20, 152)–(419, 273)
inline constexpr QRect answerNumber(int i)
{
    return {28, 156 + i * 23, 20, 20};
}
inline constexpr QRect correct{20, 280, 400, 20};
inline constexpr QRect comment{20, 324, 400, 84};    // panel
inline constexpr QRect fragment{436, 152, 224, 122}; // panel
inline constexpr QRect picture{436, 302, 224, 106};  // panel PPodMiniature
inline constexpr QPoint close{564, 429};             // picture "zamknij"
} // namespace WlasnosciPytania

} // namespace SkinGeometry
