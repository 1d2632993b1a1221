#!/usr/bin/env bash
# Draws every picture of the program: window skins, menu pictures, message-box icons and buttons,
# the save animation, the desktop icons. Run it from anywhere; it writes into resources/skins,
# resources/anim and resources/icons. Named parts (e.g. desktop_icons) make only those pictures.
#   resources/art/make-art.sh [PART...]
# Needs ImageMagick 6 (convert) and the DejaVu fonts (fonts-dejavu-core).
#
# The places where windows put their controls over a skin are in src/toolkit/SkinGeometry.h; the two
# files must agree, so change them together.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
res=$(cd "$here/.." && pwd)
skins="$res/skins"
anim="$res/anim"
icons_dir="$res/icons/hicolor"
mkdir -p "$skins" "$anim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fonts=/usr/share/fonts/truetype/dejavu
SANS="$fonts/DejaVuSans.ttf"
BOLD="$fonts/DejaVuSans-Bold.ttf"
for f in "$SANS" "$BOLD"; do
  [ -f "$f" ] || { echo "missing font $f (install fonts-dejavu-core)" >&2; exit 1; }
done

# One palette for everything. Command labels are drawn by the program in (46,46,46), white under the
# mouse and (128,128,128) when disabled, so wherever a label stands the picture is a middle tone
# (MID, MIDLIGHT) on which both the dark and the white text read well.
INK='#2e2e2e'
SLATE='#3e5566'     # outlines, headings
DEEP='#4f6878'      # closed menu headers
MID='#6e8898'       # title strips and command bars
MIDLIGHT='#7a93a3'  # open menu group
BODY='#e9edf0'      # window bodies
PANEL='#ffffff'     # text and picture panels
EDGE='#b4c2cc'      # panel borders
GRID='#e3eaf0'      # squared paper
AMBER='#e8a93c'     # the one accent: logo, highlighted buttons, open group
AMBERDARK='#a8741c'
NOTE='#fbf3e2'      # help notes
MUTED='#5f7280'     # small print on the body

jpeg() { # jpeg SRC DEST: crisp edges and flat colours, so that pieces laid over a skin do not show seams
  convert "$1" -strip -sampling-factor 1x1 -quality 93 "$2"
}

text_width() { # text_width FONT SIZE TEXT
  convert -font "$1" -pointsize "$2" label:"$3" -format %w info:
}

logo() { # logo SIZE OUT: the program's mark, a white tick on an amber tile
  local s=$1 r=$(( $1 / 5 ))
  convert -size "${s}x${s}" xc:none \
    -fill "$AMBER" -stroke "$AMBERDARK" -strokewidth 1 \
    -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
    -fill none -stroke white -strokewidth "$(( s / 8 > 2 ? s / 8 : 2 ))" \
    -draw "stroke-linecap round stroke-linejoin round polyline $((s * 24 / 100)),$((s * 52 / 100)) $((s * 42 / 100)),$((s * 70 / 100)) $((s * 76 / 100)),$((s * 30 / 100))" \
    "$2"
}

# frame W H STRIP BAR TITLE OUT: the common window: light body, a title strip with the mark and the
# title, and (when BAR > 0) a command bar at the bottom, all inside a one-pixel outline.
frame() {
  local w=$1 h=$2 strip=$3 bar=$4 title=$5 out=$6
  local ls=$(( strip - 12 ))
  logo "$ls" "$work/logo-frame.png"
  local args=(-size "${w}x${h}" xc:"$BODY"
    -fill "$MID" -stroke none -draw "rectangle 0,0 $((w - 1)),$((strip - 1))"
    -fill '#7f97a6' -draw "rectangle 0,0 $((w - 1)),0"
    -fill "$SLATE" -draw "rectangle 0,$((strip - 1)) $((w - 1)),$((strip - 1))")
  if [ "$bar" -gt 0 ]; then
    args+=(-fill "$MID" -draw "rectangle 0,$((h - bar)) $((w - 1)),$((h - 1))"
      -fill "$EDGE" -draw "rectangle 0,$((h - bar)) $((w - 1)),$((h - bar))")
  fi
  convert "${args[@]}" \
    "$work/logo-frame.png" -geometry "+8+6" -composite \
    -font "$BOLD" -pointsize "$(( strip * 4 / 10 ))" -fill white \
    -gravity NorthWest -annotate "+$((ls + 18))+$(( (strip - strip * 4 / 10) / 2 - 2 ))" "$title" \
    -fill none -stroke "$SLATE" -strokewidth 1 -draw "rectangle 0,0 $((w - 1)),$((h - 1))" \
    "$out"
}

# Drawing commands are gathered in the array A and handed to one convert call:
#   A=(-size 100x100 xc:white); add_text ...; convert "${A[@]}" out.png
add_panel() { # add_panel X0 Y0 X1 Y1 [FILL]: a panel with a thin border
  A+=(-fill "${5:-$PANEL}" -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle $1,$2 $3,$4 4,4")
}
add_rect() { # add_rect X0 Y0 X1 Y1 FILL
  A+=(-fill "$5" -stroke none -draw "rectangle $1,$2 $3,$4")
}
add_text() { # add_text X Y SIZE COLOUR TEXT [FONT]: one line of text, its box's top left at X,Y
  A+=(-font "${6:-$BOLD}" -pointsize "$3" -fill "$4" -stroke none -gravity NorthWest -annotate "+$1+$2" "$5")
}
add_text_centred() { # add_text_centred CX Y SIZE COLOUR TEXT [FONT]: centred on CX
  local tw
  tw=$(text_width "${6:-$BOLD}" "$3" "$5")
  add_text $(($1 - tw / 2)) "$2" "$3" "$4" "$5" "${6:-$BOLD}"
}
add_image() { # add_image FILE X Y
  A+=("$1" -geometry "+$2+$3" -composite)
}

squared() { # squared W H COLOUR LINE STEP OUT: squared paper
  convert -size "${5}x${5}" xc:"$3" -fill "$4" -draw "line 0,$(($5 - 1)) $(($5 - 1)),$(($5 - 1))" \
    -draw "line $(($5 - 1)),0 $(($5 - 1)),$(($5 - 1))" "$work/tile.png"
  convert -size "${1}x${2}" tile:"$work/tile.png" "$6"
}

# ---------------------------------------------------------------------------------------------------
# Main window FGlowny, 788 x 580: menu column on the left (the menu pictures cover it), the description
# panel on squared paper on the right, a footer with the keys worth knowing.
main_window() {
  local w=788 h=580
  frame $w $h 44 0 "Zadanix - Edytor" "$work/glowny.png"
  squared 468 480 "$PANEL" "$GRID" 16 "$work/paper.png"
  convert "$work/paper.png" -fill none -stroke '#f0cfc6' -strokewidth 1 -draw "line 44,0 44,479" \
    "$work/paper.png"
  A=("$work/glowny.png")
  A+=(-fill '#d3dbe1' -stroke none -draw "rectangle 303,63 770,542")
  add_image "$work/paper.png" 300 60
  A+=(-fill none -stroke "$EDGE" -strokewidth 1 -draw "rectangle 300,60 767,539")
  add_text 360 80 14 "$SLATE" "Opis polecenia"
  add_rect 360 102 748 102 "$EDGE"
  add_text 360 510 12 "$MUTED" "Wskaż polecenie myszą, a tu pojawi się jego opis." "$SANS"
  add_text 22 553 12 "$MUTED" "© 2026 Tevrix  ·  wersja 4.0"
  add_text 404 553 12 "$MUTED" "F1 pomoc  ·  Ctrl+F4 wielkość okna  ·  Alt+U dziennik" "$SANS"
  A+=(-fill none -stroke "$SLATE" -strokewidth 1
    -draw "polyline 4,0 783,0 787,4 787,575 783,579 4,579 0,575 0,4 4,0")
  convert "${A[@]}" "$work/glowny.png"
  jpeg "$work/glowny.png" "$skins/FGlowny.jpg"
}

# Menu pictures, 260 x 480, laid at (20, 60) over the main window. Five group headers 44 high on a pitch
# of 50; the open group's header turns amber and its items stand under it, 30 px apart, from 10 px
# below the header. Picture names are those the main window loads.
groups=("Testy" "Pytania" "Listy" "Ustawienia" "Pomoc")
icons=("✎" "?" "☰" "⚙" "ℹ")
counts=(2 4 6 3 3)
menu_picture() { # menu_picture OPEN(0..5) NAME
  local open=$1 name=$2 w=260 h=480 y=0 i k
  A=(-size "${w}x${h}" xc:"$BODY")
  for i in 0 1 2 3 4; do
    local g=$((i + 1))
    if [ "$g" -eq "$open" ]; then
      local items=${counts[$i]}
      local bottom=$((y + 44 + 20 + items * 30))
      A+=(-fill "$MIDLIGHT" -stroke "$SLATE" -strokewidth 1 -draw "roundrectangle 0,$y $((w - 1)),$bottom 7,7"
        -fill "$AMBER" -stroke "$AMBERDARK" -draw "roundrectangle 0,$y $((w - 1)),$((y + 43)) 7,7"
        -fill "$AMBER" -stroke none -draw "rectangle 1,$((y + 30)) $((w - 2)),$((y + 42))"
        -fill "$AMBERDARK" -draw "rectangle 1,$((y + 43)) $((w - 2)),$((y + 43))")
      add_text 14 $((y + 8)) 21 "$INK" "${icons[$i]}" "$SANS"
      add_text 48 $((y + 11)) 17 "$INK" "${groups[$i]}"
      add_text $((w - 30)) $((y + 9)) 18 "$INK" "▾" "$SANS"
      for ((k = 0; k < items; k++)); do
        if [ "$g" -eq 2 ] && [ "$k" -eq 2 ]; then continue; fi # Pytania's separator line
        local cy=$((y + 44 + 10 + k * 30 + 15))
        A+=(-fill "$AMBER" -stroke "$AMBERDARK" -draw "circle 22,$cy 25,$cy")
      done
      y=$((bottom + 6))
    else
      A+=(-fill "$DEEP" -stroke "$SLATE" -strokewidth 1 -draw "roundrectangle 0,$y $((w - 1)),$((y + 43)) 7,7")
      add_text 14 $((y + 8)) 21 white "${icons[$i]}" "$SANS"
      add_text 48 $((y + 11)) 17 white "${groups[$i]}"
      add_text $((w - 28)) $((y + 10)) 17 '#c9d5dd' "▸" "$SANS"
      y=$((y + 50))
    fi
  done
  if [ "$open" -eq 0 ]; then
    logo 64 "$work/logo64.png"
    add_image "$work/logo64.png" 98 302
    add_text_centred 130 386 13 "$MUTED" "Kliknij grupę poleceń," "$SANS"
    add_text_centred 130 406 13 "$MUTED" "aby ją rozwinąć." "$SANS"
  fi
  convert "${A[@]}" "$work/menu.png"
  jpeg "$work/menu.png" "$skins/$name.jpg"
}

# Buttons drawn as pictures, 96 x 32, on the command bar's colour. Normal: a light key; "akt": the
# highlighted one that Enter presses, in the accent colour. The letter key is underlined.
button() { # button NAME CAPTION [yes|no: underline the letter key]
  local name=$1 text=$2 underline=${3:-yes} w=96 h=32
  local tw fw
  tw=$(text_width "$BOLD" 14 "$text")
  fw=$(text_width "$BOLD" 14 "${text:0:1}")
  local x=$(((w - tw) / 2)) y=7
  local state fill stroke
  for state in normal akt; do
    if [ "$state" = normal ]; then fill='#f3f5f6'; stroke="$SLATE"; else fill="$AMBER"; stroke="$AMBERDARK"; fi
    A=(-size "${w}x${h}" xc:"$MID"
      -fill "$fill" -stroke "$stroke" -strokewidth 1 -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 6,6")
    if [ "$state" = normal ]; then
      A+=(-fill none -stroke white -draw "line 4,1 $((w - 5)),1")
    else
      A+=(-fill none -stroke '#f6cf84' -draw "line 4,1 $((w - 5)),1")
    fi
    add_text "$x" "$y" 14 "$INK" "$text"
    if [ "$underline" = yes ]; then
      A+=(-fill "$INK" -stroke none -draw "rectangle $((x + 1)),$((y + 18)) $((x + fw - 2)),$((y + 18))")
    fi
    convert "${A[@]}" "$work/button.png"
    if [ "$state" = normal ]; then jpeg "$work/button.png" "$skins/$name.jpg"
    else jpeg "$work/button.png" "$skins/${name}akt.jpg"; fi
  done
}

# Message-box icons, 64 x 64, on the body colour of the box.
icons() {
  A=(-size 64x64 xc:"$BODY" -fill '#4a7aa6' -stroke '#365d80' -strokewidth 2 -draw "circle 32,32 32,4")
  add_text_centred 32 11 36 white "i"
  convert "${A[@]}" "$work/i.png"; jpeg "$work/i.png" "$skins/ikoinfo.jpg"
  A=(-size 64x64 xc:"$BODY" -fill '#4f8a6e' -stroke '#3a6b53' -strokewidth 2 -draw "circle 32,32 32,4")
  add_text_centred 33 10 36 white "?"
  convert "${A[@]}" "$work/q.png"; jpeg "$work/q.png" "$skins/ikopytanie.jpg"
  A=(-size 64x64 xc:"$BODY" -fill "$AMBER" -stroke "$AMBERDARK" -strokewidth 2
    -draw "path 'M 32,5 Q 35,5 37,8 L 60,50 Q 62,57 55,58 L 9,58 Q 2,57 4,50 L 27,8 Q 29,5 32,5 Z'")
  add_text_centred 32 16 34 "$INK" "!"
  convert "${A[@]}" "$work/w.png"; jpeg "$work/w.png" "$skins/ikouwaga.jpg"
}

# Message box FWarning, 440 x 210: icon at (24, 58), text beside it, buttons on the bar.
message_box() {
  frame 440 210 34 52 "Komunikat" "$work/warning.png"
  jpeg "$work/warning.png" "$skins/FWarning.jpg"
}

# Name-clash dialogs, 600 x 400: the member of the test on the left, the newcomer on the right, the
# new name below, the commands on the bar.
clash_dialog() { # clash_dialog NAME TITLE LEFT RIGHT
  frame 600 400 34 56 "$2" "$work/clash.png"
  A=("$work/clash.png")
  add_text 20 76 13 "$SLATE" "$3"
  add_text 310 76 13 "$SLATE" "$4"
  add_panel 20 96 289 291
  add_panel 310 96 579 291
  add_text 20 308 13 "$SLATE" "Nowa nazwa:"
  add_panel 122 302 410 328
  add_text 420 308 12 "$MUTED" "wpisz, gdy to inny plik" "$SANS"
  convert "${A[@]}" "$work/clash.png"
  jpeg "$work/clash.png" "$skins/$1.jpg"
}

# Event log window FZdarzenia, 588 x 506: level choice at the top, the log below, commands on the bar.
log_window() {
  frame 588 506 34 52 "Dziennik zdarzeń" "$work/log.png"
  A=("$work/log.png")
  add_text 20 51 13 "$SLATE" "Poziom zapisu:"
  add_panel 140 46 300 72
  add_rect 276 47 299 71 "$MID"
  add_text 281 49 15 white "▾" "$SANS"
  add_text 318 53 12 "$MUTED" "0: błędy   3: ustawienia   4, 5: wszystko" "$SANS"
  add_panel 20 84 567 441
  convert "${A[@]}" "$work/log.png"
  jpeg "$work/log.png" "$skins/FZdarzenia.jpg"
}

# Editor settings dialog FIniEdytor, 540 x 530: options, time and scale, a help note, the bar.
settings_dialog() {
  frame 540 530 34 52 "Ustawienia edytora" "$work/ini.png"
  A=("$work/ini.png")
  add_panel 16 46 523 262
  add_panel 16 272 523 370
  A+=(-fill "$NOTE" -stroke '#e6cf9f' -strokewidth 1 -draw "roundrectangle 16,380 523,468 4,4")
  convert "${A[@]}" "$work/ini.png"
  jpeg "$work/ini.png" "$skins/FIniEdytor.jpg"
}

# Print dialog FDrukuj, 420 x 400: the options on a panel, the answer sheets on a second one, a note
# below, the bar. The controls' places are in src/print/TFDrukuj.cpp.
print_dialog() {
  frame 420 400 34 52 "Drukowanie testu" "$work/print.png"
  A=("$work/print.png")
  add_panel 16 46 403 205
  add_rect 30 91 389 91 "$EDGE"
  add_rect 30 159 389 159 "$EDGE"
  add_panel 16 214 403 294
  convert "${A[@]}" "$work/print.png"
  jpeg "$work/print.png" "$skins/FDrukuj.jpg"
}

# Paper grading window FKarty, 800 x 580: the results table on the left, the chosen sheet and the row
# to settle on the right, progress and state below, the bar. The controls' places are in
# src/grading/TFKarty.cpp.
grading_window() {
  frame 800 580 34 52 "Sprawdzanie kart odpowiedzi" "$work/grading.png"
  A=("$work/grading.png")
  add_panel 16 46 464 468
  add_panel 480 46 784 298
  add_panel 480 330 784 404 "$NOTE"
  convert "${A[@]}" "$work/grading.png"
  jpeg "$work/grading.png" "$skins/FKarty.jpg"
}

# About window FWinieta, 366 x 239: the mark, the name and version, the maker and year.
about_window() {
  squared 366 196 "$PANEL" "$GRID" 14 "$work/about-paper.png"
  logo 72 "$work/logo72.png"
  A=(-size 366x239 xc:"$MID")
  add_image "$work/about-paper.png" 0 0
  add_image "$work/logo72.png" 24 44
  add_text 112 42 22 "$SLATE" "Zadanix - Edytor"
  add_text 112 74 15 "$MUTED" "wersja 4.0" "$SANS"
  add_rect 112 104 340 105 "$AMBER"
  add_text 112 114 12 "$MUTED" "Tworzenie testów, pytań i list" "$SANS"
  add_text 112 132 12 "$MUTED" "dla nauczycieli." "$SANS"
  add_rect 0 196 365 196 "$SLATE"
  add_text 16 208 15 white "Tevrix  ·  2026"
  A+=(-fill none -stroke "$SLATE" -strokewidth 1 -draw "rectangle 0,0 365,238")
  convert "${A[@]}" "$work/about.png"
  jpeg "$work/about.png" "$skins/FWinieta.jpg"
}

# Background FTloBig, 1920 x 1200: calm slate with faint squared paper.
background() {
  local x y lines=()
  for ((x = 39; x < 1920; x += 40)); do lines+=(-draw "line $x,0 $x,1199"); done
  for ((y = 39; y < 1200; y += 40)); do lines+=(-draw "line 0,$y 1919,$y"); done
  convert -size 1920x1200 gradient:'#61798a'-'#34495a' -fill 'rgba(255,255,255,0.07)' -stroke none -strokewidth 1 "${lines[@]}" \
    "$work/bg.png"
  jpeg "$work/bg.png" "$skins/FTloBig.jpg"
}

# Clock window FZegar, 44 x 44, and the save animation laid on it at (1, 1): a disk whose label fills
# up in six steps, then shows a tick for two frames; 8 frames of 250 ms, looping.
clock() {
  convert -size 44x44 xc:white -fill none -stroke "$SLATE" -draw "rectangle 0,0 43,43" "$work/zegar.png"
  jpeg "$work/zegar.png" "$skins/FZegar.jpg"
  # Drawn four times larger and scaled down, so that the small icon has smooth edges.
  local f frames=()
  for f in 0 1 2 3 4 5 6 7; do
    A=(-size 168x168 xc:white
      -fill "$DEEP" -stroke "$SLATE" -strokewidth 4 -draw "path 'M 20,20 L 128,20 L 148,40 L 148,148 L 20,148 Z'"
      -fill '#c9d5dd' -stroke none -draw "rectangle 44,24 112,60"
      -fill "$DEEP" -draw "rectangle 88,32 104,52"
      -fill white -stroke none -draw "roundrectangle 36,80 132,136 4,4")
    if [ "$f" -lt 6 ]; then
      local fill=$(((f + 1) * 96 / 6))
      A+=(-fill "$AMBER" -draw "rectangle 36,80 $((36 + fill - 1)),136")
    else
      A+=(-fill "$AMBER" -draw "roundrectangle 36,80 132,136 4,4"
        -fill none -stroke white -strokewidth 12
        -draw "stroke-linecap round stroke-linejoin round polyline 58,108 76,124 110,90")
    fi
    convert "${A[@]}" -resize 42x42 "$work/z$f.png"
    frames+=("$work/z$f.png")
  done
  convert -delay 25 -loop 0 "${frames[@]}" +dither -colors 64 -layers Optimize "$anim/zapis.gif"
}

# Attachment dialogs FWstawTekst / FWstawObraz, 660 x 340, each with a background for a question of a
# test and one for a single question ("Solo": no list of the test's files, so its row is greyed).
# Four command rows on the left (middle tone, where the labels stand), the preview on the right, the
# bar at the bottom from y = 288.
attachment_dialog() { # attachment_dialog NAME TITLE HEADING SOLO(0|1)
  local name=$1 solo=$4 row
  frame 660 340 34 52 "$2" "$work/wstaw.png"
  A=("$work/wstaw.png")
  for row in 0 1 2 3; do
    local y=$((52 + row * 46))
    if [ "$solo" -eq 1 ] && [ "$row" -eq 2 ]; then
      A+=(-fill '#d3dbe1' -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 16,$y 215,$((y + 35)) 6,6")
    else
      A+=(-fill "$MID" -stroke "$SLATE" -strokewidth 1 -draw "roundrectangle 16,$y 215,$((y + 35)) 6,6")
    fi
  done
  add_text 232 48 13 "$SLATE" "$3"
  add_panel 232 70 643 275
  if [ "$solo" -eq 1 ]; then
    add_text 18 244 11 "$MUTED" "Plik zostaje na dysku do zapisu pytania." "$SANS"
  else
    add_text 18 244 11 "$MUTED" "Plik trafia do testu od razu." "$SANS"
  fi
  convert "${A[@]}" "$work/wstaw.png"
  jpeg "$work/wstaw.png" "$skins/$name.jpg"
}

# Question information FInfoOPytaniu, 600 x 500: the file's report, the verdict on a note, the bar. The
# answers' numbers are the window's own labels: a line without an answer shows none.
info_window() {
  frame 600 500 34 54 "Informacja o pytaniu" "$work/info.png"
  A=("$work/info.png")
  add_text 20 94 12 "$SLATE" "Treść pytania"
  add_panel 20 112 579 165
  add_text 20 172 12 "$SLATE" "Odpowiedzi"
  add_panel 20 190 579 309
  A+=(-fill "$NOTE" -stroke '#e6cf9f' -strokewidth 1 -draw "roundrectangle 20,384 579,433 4,4")
  convert "${A[@]}" "$work/info.png"
  jpeg "$work/info.png" "$skins/FInfoOPytaniu.jpg"
}

# Question properties FWlasnosciPytania, 680 x 470: text on top, answers and comment on the left, the
# text fragment and the picture on the right, the bar from y = 420.
properties_window() {
  frame 680 470 34 50 "Właściwości pytania" "$work/wlasnosci.png"
  A=("$work/wlasnosci.png")
  add_text 20 44 12 "$SLATE" "Treść pytania"
  add_panel 20 62 659 125
  add_text 20 134 12 "$SLATE" "Odpowiedzi"
  add_panel 20 152 419 273
  add_text 20 306 12 "$SLATE" "Komentarz"
  add_panel 20 324 419 407
  add_text 436 134 12 "$SLATE" "Fragment tekstu"
  add_panel 436 152 659 273
  add_text 436 284 12 "$SLATE" "Obraz"
  add_panel 436 302 659 407
  convert "${A[@]}" "$work/wlasnosci.png"
  jpeg "$work/wlasnosci.png" "$skins/FWlasnosciPytania.jpg"
}

# Question editor "oknopytanienew<N>", 760 wide, for N = 3, 4, 5 answers: a band of commands under the
# title strip, the question text, one row per answer (the mark and "Nr i" on the left, the field on the
# right), the comment, the command bar. Keep in step with SkinGeometry::Pytanie.
question_editor() { # question_editor N
  local n=$1 w=760 top=238 pitch=40
  local ctop=$((top + n * pitch + 8))
  local h=$((ctop + 30 + 22 + 52))
  local i y
  frame $w $h 34 52 "Pytanie" "$work/pyt.png"
  A=("$work/pyt.png")
  # The type and count stand on a light field, where they also read when they cannot be changed; the
  # attachment commands on the band's middle tone.
  add_rect 0 34 $((w - 1)) 73 "$MID"
  add_rect 1 34 404 72 '#dfe6eb'
  add_rect 405 34 405 72 "$EDGE"
  add_rect 0 73 $((w - 1)) 73 "$SLATE"
  add_text 20 84 13 "$SLATE" "Treść pytania"
  add_panel 20 106 739 205
  add_text 20 216 13 "$SLATE" "Odpowiedzi"
  add_text 112 218 12 "$MUTED" "zaznacz poprawne po lewej stronie" "$SANS"
  for ((i = 0; i < n; i++)); do
    y=$((top + i * pitch))
    A+=(-fill '#dfe6eb' -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 20,$y 94,$((y + 29)) 4,4")
    add_panel 100 "$y" 739 $((y + 29))
  done
  add_text 20 $((ctop + 8)) 11 "$SLATE" "Komentarz"
  add_panel 100 "$ctop" 739 $((ctop + 29)) "$NOTE"
  convert "${A[@]}" "$work/pyt.png"
  jpeg "$work/pyt.png" "$skins/oknopytanienew$n.jpg"
}

# Test list editor FListaTestow, 640 x 540: the outline on the left (white, with room for the scroll
# bar at its right edge), the commands on the right, the author and the remarks below them, the bar.
# Keep in step with SkinGeometry::ListaTestow. The same window serves the lists of question sets.
test_list_editor() { # test_list_editor NAME TITLE
  frame 640 540 34 52 "$2" "$work/lt.png"
  A=("$work/lt.png")
  add_panel 16 46 375 477
  add_rect 392 46 623 290 '#dfe6eb'
  A+=(-fill none -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 392,46 623,290 4,4")
  add_rect 393 226 622 226 "$EDGE"
  add_text 392 300 13 "$SLATE" "Autor listy"
  add_panel 392 320 623 346
  add_text 392 356 13 "$SLATE" "Uwagi"
  add_panel 392 376 623 477 "$NOTE"
  convert "${A[@]}" "$work/lt.png"
  jpeg "$work/lt.png" "$skins/$1.jpg"
}

# Entry window FEdycjaWpisu, 480 x 210: the name, the file or folder with its pick command, the bar.
entry_dialog() {
  frame 480 210 34 52 "Wpis listy" "$work/ew.png"
  A=("$work/ew.png")
  add_text 20 46 13 "$SLATE" "Nazwa wpisu"
  add_text 130 48 12 "$MUTED" "najwyżej 30 znaków" "$SANS"
  add_panel 20 68 459 94
  add_text 20 102 13 "$SLATE" "Plik testu lub folder z pytaniami"
  add_panel 20 122 355 148 '#f4f6f8'
  add_rect 362 120 461 149 "$MID"
  convert "${A[@]}" "$work/ew.png"
  jpeg "$work/ew.png" "$skins/FEdycjaWpisu.jpg"
}

# Expander pictures "Left" (branch open) and "Right" (branch closed), 16 x 16, on the outline's white.
expanders() {
  A=(-size 16x16 xc:white -fill '#dfe6eb' -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 1,1 14,14 3,3"
    -fill "$SLATE" -stroke none -draw "polygon 4,6 12,6 8,11")
  convert "${A[@]}" "$work/left.png"; jpeg "$work/left.png" "$skins/Left.jpg"
  A=(-size 16x16 xc:white -fill '#dfe6eb' -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 1,1 14,14 3,3"
    -fill "$SLATE" -stroke none -draw "polygon 6,4 11,8 6,12")
  convert "${A[@]}" "$work/right.png"; jpeg "$work/right.png" "$skins/Right.jpg"
}

# Student list editor FListaUczniow, 620 x 540: the list box on the left, the commands on the right,
# the list information under them, the bar. Keep in step with SkinGeometry::ListaUczniow.
student_list_editor() {
  frame 620 540 34 52 "Lista uczniów" "$work/lu.png"
  A=("$work/lu.png")
  add_panel 16 70 375 485
  add_rect 392 70 603 250 '#dfe6eb'
  A+=(-fill none -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 392,70 603,250 4,4")
  add_rect 392 396 603 431 '#dfe6eb'
  A+=(-fill none -stroke "$EDGE" -strokewidth 1 -draw "roundrectangle 392,396 603,431 4,4")
  add_text 392 446 12 "$MUTED" "Dwuklik na klasie: jej uczniowie." "$SANS"
  add_text 392 464 12 "$MUTED" "Dwuklik na uczniu: edycja." "$SANS"
  convert "${A[@]}" "$work/lu.png"
  jpeg "$work/lu.png" "$skins/FListaUczniow.jpg"
}

# Class dialog FEdycjaKlasy, 460 x 330: name, time, results folder, the grading scale, the bar.
class_dialog() {
  local i x grades=("cel" "bdb" "db" "dst" "dop")
  frame 460 330 34 52 "Klasa" "$work/ek.png"
  A=("$work/ek.png")
  add_text 20 54 13 "$SLATE" "Nazwa klasy"
  add_panel 140 50 439 76
  add_text 20 92 13 "$SLATE" "Czas (min)"
  add_text 206 94 12 "$MUTED" "strzałkami, co 5 minut (0–300)" "$SANS"
  add_text 20 130 13 "$SLATE" "Folder wyników"
  add_panel 140 126 371 152
  add_rect 376 124 443 153 "$MID"
  add_panel 16 164 443 268
  for ((i = 0; i < 5; i++)); do
    x=$((40 + i * 80))
    add_text_centred $((x + 26)) 208 11 "$MUTED" "${grades[$i]}" "$SANS"
  done
  convert "${A[@]}" "$work/ek.png"
  jpeg "$work/ek.png" "$skins/FEdycjaKlasy.jpg"
}

# Student dialog FEdycjaUcznia, 420 x 190: first name and surname, the bar.
student_dialog() {
  frame 420 190 34 52 "Uczeń" "$work/eu.png"
  A=("$work/eu.png")
  add_text 20 54 13 "$SLATE" "Imię"
  add_panel 120 50 399 76
  add_text 20 94 13 "$SLATE" "Nazwisko"
  add_panel 120 90 399 116
  convert "${A[@]}" "$work/eu.png"
  jpeg "$work/eu.png" "$skins/FEdycjaUcznia.jpg"
}

# List information dialog FAutorListyKlas, 460 x 300: the author and the remarks, the bar.
list_info_dialog() {
  frame 460 300 34 52 "Informacje o liście" "$work/al.png"
  A=("$work/al.png")
  add_text 20 46 13 "$SLATE" "Autor listy"
  add_text 116 48 12 "$MUTED" "wymagany" "$SANS"
  add_panel 20 68 439 94
  add_text 20 102 13 "$SLATE" "Uwagi"
  add_panel 20 122 439 235 "$NOTE"
  convert "${A[@]}" "$work/al.png"
  jpeg "$work/al.png" "$skins/FAutorListyKlas.jpg"
}

# Module settings window FIniTesty, 640 x 580: the panel of the module (both panels stand on the same
# white field), the help note, the bar. Keep in step with SkinGeometry::IniTesty.
module_settings() {
  frame 640 580 34 52 "Ustawienia modułów Test i Nauka" "$work/it.png"
  A=("$work/it.png")
  add_panel 16 46 623 395
  A+=(-fill "$NOTE" -stroke '#e6cf9f' -strokewidth 1 -draw "roundrectangle 16,404 623,517 4,4")
  convert "${A[@]}" "$work/it.png"
  jpeg "$work/it.png" "$skins/FIniTesty.jpg"
}
# Icons for the desktop: the program's mark, and one page per document kind with the kind's letter
# (Test, Pytanie, Lista testów, Zestawy pytań, Uczniowie) and the mark in its corner. Drawn at 256 and
# scaled down, so that small sizes keep smooth edges; PNG, as the icon theme expects.
icon_sizes=(16 22 24 32 48 64 128 256)
write_icon() { # write_icon SRC256 CONTEXT NAME
  local size
  for size in "${icon_sizes[@]}"; do
    mkdir -p "$icons_dir/${size}x${size}/$2"
    convert "$1" -resize "${size}x${size}" -strip -define png:exclude-chunks=date,time \
      "$icons_dir/${size}x${size}/$2/$3.png"
  done
}
desktop_icons() {
  logo 240 "$work/app-logo.png"
  convert -size 256x256 xc:none "$work/app-logo.png" -geometry +8+8 -composite "$work/app.png"
  write_icon "$work/app.png" apps pl.tevrix.zadanix.edytor
  local kinds=(test:T question:P test-list:L set-list:Z student-list:U) k
  logo 84 "$work/doc-logo.png"
  for k in "${kinds[@]}"; do
    A=(-size 256x256 xc:none
      -fill "$PANEL" -stroke "$SLATE" -strokewidth 6
      -draw "path 'M 36,8 L 172,8 L 224,60 L 224,248 L 36,248 Z'"
      -fill "$EDGE" -draw "path 'M 172,8 L 172,60 L 224,60 Z'")
    add_text_centred 112 30 112 "$SLATE" "${k#*:}"
    add_image "$work/doc-logo.png" 128 152
    convert "${A[@]}" "$work/doc.png"
    write_icon "$work/doc.png" mimetypes "application-x-zadanix-${k%%:*}"
  done
}


# Test editor FTest, 640 x 556: the outline on the left (22 rows of 20 px and its scroll bar), the
# commands on a light column on the right (where the disabled grey still reads), the legend of the
# marks under them, the bar. Keep in step with SkinGeometry::Test.
test_editor() {
  frame 640 556 34 52 "Test" "$work/test.png"
  A=("$work/test.png")
  add_panel 16 46 395 491
  add_rect 404 35 639 503 '#dfe6eb'
  add_rect 404 35 404 503 "$EDGE"
  add_panel 412 396 631 472
  convert "${A[@]}" "$work/test.png"
  jpeg "$work/test.png" "$skins/FTest.jpg"
}

# Test information FInfoOTescie, 560 x 530: name, author, comment, time, the two choices, the grading
# scale with its five thresholds, the bar. Keep in step with SkinGeometry::InfoOTescie.
test_info() {
  local i x grades=("celujący" "bardzo dobry" "dobry" "dostateczny" "dopuszczający")
  frame 560 530 34 52 "Dane ogólne testu" "$work/info.png"
  A=("$work/info.png")
  add_text 20 46 13 "$SLATE" "Nazwa testu"
  add_panel 20 66 539 91
  add_text 20 100 13 "$SLATE" "Autor"
  add_panel 20 120 539 145
  add_text 20 154 13 "$SLATE" "Komentarz"
  add_panel 20 174 539 241
  add_text 20 256 13 "$SLATE" "Czas"
  add_panel 20 280 77 305
  add_text 104 284 12 "$MUTED" "min" "$SANS"
  add_text 150 250 13 "$SLATE" "Rodzaj testu"
  add_text 360 250 13 "$SLATE" "Odpowiedzi"
  add_rect 16 334 543 334 "$EDGE"
  for ((i = 0; i < 5; i++)); do
    x=$((20 + i * 104))
    add_text "$x" 374 11 "$MUTED" "${grades[$i]}" "$SANS"
    add_panel "$x" 394 $((x + 47)) 419
  done
  add_text 20 432 11 "$MUTED" "Progi w procentach, od najwyższej oceny do najniższej pozytywnej." "$SANS"
  convert "${A[@]}" "$work/info.png"
  jpeg "$work/info.png" "$skins/FInfoOTescie.jpg"
}

# Set generation FGeneruj, 520 x 310: the test, the folder, the prefix, the save icon's place, the bar.
# Keep in step with SkinGeometry::Generuj.
set_generation() {
  frame 520 310 34 52 "Generuj zestaw pytań" "$work/gen.png"
  A=("$work/gen.png")
  add_rect 16 46 250 75 "$MID"
  add_panel 16 78 503 102
  add_rect 16 110 250 139 "$MID"
  add_panel 16 142 503 166
  add_text 20 178 13 "$SLATE" "Przedrostek nazw plików"
  add_panel 20 200 221 225
  add_text 236 205 11 "$MUTED" "np. alg: alg1.skq, alg2.skq ..." "$SANS"
  convert "${A[@]}" "$work/gen.png"
  jpeg "$work/gen.png" "$skins/FGeneruj.jpg"
}

# Named parts (every function above can be named) make only those pictures; none makes all.
if [ $# -gt 0 ]; then
  for part in "$@"; do "$part"; done
else
  main_window
  question_editor 3
  question_editor 4
  question_editor 5
  menu_picture 0 MStart
  menu_picture 1 MTesty
  menu_picture 2 MPytania
  menu_picture 3 MListy
  menu_picture 4 MUstawienia
  menu_picture 5 MPomoc
  button buttak "Tak"
  button butnie "Nie"
  button butanuluj "Anuluj"
  button butzamknij "Zamknij"
  # Editors' buttons have no letter key.
  button anuluj "Anuluj" no
  button zapisz "Zapisz" no
  button wprowadz "Wprowadź" no
  button drukuj "Drukuj" no
  button zamknij "Zamknij" no
  icons
  message_box
  clash_dialog FZbieznoscTeksty "Taki plik tekstowy już jest w teście" "Tekst w teście" "Nowy tekst"
  clash_dialog FZbieznoscObrazy "Taki obraz już jest w teście" "Obraz w teście" "Nowy obraz"
  log_window
  settings_dialog
  print_dialog
  grading_window
  about_window
  attachment_dialog FWstawTekst "Tekst do pytania w teście" "Ostatnio dołączony tekst" 0
  attachment_dialog FWstawTekstSolo "Tekst do pytania" "Ostatnio wybrany plik tekstowy" 1
  attachment_dialog FWstawObraz "Obraz do pytania w teście" "Ostatnio dołączony obraz" 0
  attachment_dialog FWstawObrazSolo "Obraz do pytania" "Ostatnio wybrany obraz" 1
  info_window
  properties_window
  background
  clock
  test_list_editor FListaTestow "Lista testów"
  test_list_editor FListaZestawow "Lista zestawów pytań"
  entry_dialog
  expanders
  student_list_editor
  class_dialog
  student_dialog
  list_info_dialog
  module_settings
  desktop_icons
  test_editor
  test_info
  set_generation
  button zamknij "Zamknij" no
  button zatwierdz "Zatwierdź" no
  button generuj "Generuj" no
fi
echo "pictures written to $res"
