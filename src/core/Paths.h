#pragma once

#include <QString>

// The fixed places of one run. Separators are "/"; folders carry no trailing separator except
// programFolder, which is joined with relative names ("Pomoc/index.htm").
struct Paths {
    QString appDataRoot;
    QString editorFolder;       // appDataRoot/Tevrix/Zadanix/Edycja
    QString tempFolder;         // …/Edycja/Temp
    QString iniPath;            // …/Edycja/Edycja.ini
    QString logPath;            // …/Edycja/Dziennik.txt
    QString tempTestPath;       // …/Temp/Test<run>.tmp
    QString tempQuestionPath;   // …/Temp/Pyt<run>.tmp
    QString tempQuestionAsPath; // …/Temp/PytJako.tmp
    QString programFolder;      // the executable's folder, with a trailing "/"
    int runNumber = 0;          // 100..999
};
