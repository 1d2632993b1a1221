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

namespace Winieta { // 366 × 239
inline constexpr QRect closeLabel{270, 197, 90, 41}; // on the bar at the bottom right
} // namespace Winieta

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
